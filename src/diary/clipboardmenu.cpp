#include "diary/clipboardmenu.h"

#include "platform/table/dataset.h"
#include "platform/widgets/datagrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace Brelvan {

ClipboardMenu::ClipboardMenu(QWidget *parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("PopupMenu1"));
    QAction *c = addAction(QStringLiteral("Copy"), this, &ClipboardMenu::copy);
    c->setObjectName(QStringLiteral("PopUpCopy"));
    QAction *x = addAction(QStringLiteral("Cut"), this, &ClipboardMenu::cut);
    x->setObjectName(QStringLiteral("PopUpCut"));
    QAction *p = addAction(QStringLiteral("Paste"), this, &ClipboardMenu::paste);
    p->setObjectName(QStringLiteral("PopUpPaste"));
}

void ClipboardMenu::attach(QWidget *control, std::function<bool()> allowed)
{
    if (!control)
        return;
    if (allowed)
        m_allowed.insert(control, std::move(allowed));
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(control, &QWidget::customContextMenuRequested, this, [this, control](QPoint at) {
        m_target = control;
        auto *area = qobject_cast<QAbstractScrollArea *>(control);
        popup((area ? area->viewport() : control)->mapToGlobal(at));
    });
}

void ClipboardMenu::writeCell(QAbstractItemView *view, const QModelIndex &index,
                              const QVariant &value)
{
    if (auto *grid = qobject_cast<DataGrid *>(view))
        grid->writeCell(value);
    else
        view->model()->setData(index, value, Qt::EditRole);
}

bool ClipboardMenu::allowed() const
{
    const auto f = m_allowed.value(m_target.data());
    return !f || f();
}

void ClipboardMenu::copy()
{
    QClipboard *clip = QApplication::clipboard();
    if (auto *e = qobject_cast<QPlainTextEdit *>(m_target)) {
        e->copy();
    } else if (auto *t = qobject_cast<QTextEdit *>(m_target)) {
        t->copy();
    } else if (auto *l = qobject_cast<QLineEdit *>(m_target)) {
        l->copy();
    } else if (auto *v = qobject_cast<QAbstractItemView *>(m_target)) {
        // the cell's text as the grid shows it
        if (allowed() && v->currentIndex().isValid())
            clip->setText(v->currentIndex().data(Qt::DisplayRole).toString());
    } else if (auto *pix = qobject_cast<QLabel *>(m_target)) {
        if (!pix->pixmap().isNull())
            clip->setPixmap(pix->pixmap());
    }
}

void ClipboardMenu::cut()
{
    if (auto *e = qobject_cast<QPlainTextEdit *>(m_target)) {
        e->cut();
    } else if (auto *t = qobject_cast<QTextEdit *>(m_target)) {
        t->cut();
    } else if (auto *l = qobject_cast<QLineEdit *>(m_target)) {
        l->cut();
    } else if (auto *v = qobject_cast<QAbstractItemView *>(m_target)) {
        const QModelIndex i = v->currentIndex();
        if (!allowed() || !i.isValid())
            return;
        QApplication::clipboard()->setText(i.data(Qt::DisplayRole).toString());
        writeCell(v, i, QVariant());
    } else if (auto *pix = qobject_cast<QLabel *>(m_target)) {
        copy();
        pix->clear();
    }
}

void ClipboardMenu::paste()
{
    QClipboard *clip = QApplication::clipboard();
    if (auto *e = qobject_cast<QPlainTextEdit *>(m_target)) {
        e->paste();
    } else if (auto *t = qobject_cast<QTextEdit *>(m_target)) {
        t->paste();
    } else if (auto *l = qobject_cast<QLineEdit *>(m_target)) {
        l->paste();
    } else if (auto *v = qobject_cast<QAbstractItemView *>(m_target)) {
        const QModelIndex i = v->currentIndex();
        // the field converts the text, raising the conversion error when it cannot
        if (allowed() && i.isValid())
            writeCell(v, i, clip->text());
    } else if (auto *pix = qobject_cast<QLabel *>(m_target)) {
        if (!clip->pixmap().isNull())
            pix->setPixmap(clip->pixmap());
    }
}

} // namespace Brelvan
