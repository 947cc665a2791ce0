#include "platform/widgets/notesmemo.h"

#include "platform/widgets/editrefusal.h"

#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <QTimer>

#include <exception>

namespace Brelvan {

using Table::Dataset;

NotesMemo::NotesMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(WidgetWidth);
    connect(this, &QPlainTextEdit::textChanged, this, &NotesMemo::onTextChanged);
    reload();
}

void NotesMemo::setDataset(Dataset *ds, const QString &field)
{
    for (const QMetaObject::Connection &c : std::as_const(m_links))
        disconnect(c);
    m_links.clear();
    m_ds = ds;
    m_field = field;
    if (ds) {
        auto follow = [this] { reload(); };
        m_links << connect(ds, &Dataset::currentChanged, this, follow)
                << connect(ds, &Dataset::rowsReset, this, follow)
                << connect(ds, &Dataset::controlsEnabled, this, follow)
                << connect(ds, &Dataset::stateChanged, this, follow)
                << connect(ds, &Dataset::rowChanged, this, [this](int row) {
                       if (!m_writing && m_ds && row == m_ds->row())
                           reload();
                   });
    }
    reload();
}

int NotesMemo::fieldIndex() const
{
    return m_ds && m_ds->isOpen() ? m_ds->fieldIndex(m_field) : -1;
}

bool NotesMemo::canType() const
{
    return fieldIndex() >= 0 && m_ds->isLive();
}

void NotesMemo::reload()
{
    if (m_writing)
        return;
    const int f = fieldIndex();
    const QString text = f >= 0 ? m_ds->value(f).toString() : QString();
    setReadOnly(!canType());
    if (text == toPlainText())
        return;
    QScopedValueRollback loading(m_loading, true);
    setPlainText(text);
}

void NotesMemo::setBackgroundColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

QColor NotesMemo::backgroundColor() const
{
    return palette().color(QPalette::Base);
}

void NotesMemo::ensureEditing()
{
    if (m_ds && !m_ds->isEditing())
        m_ds->edit(); // an empty dataset appends, and the memo then shows the new record
}

void NotesMemo::onTextChanged()
{
    if (m_loading)
        return;
    const int f = fieldIndex();
    if (f < 0)
        return;
    if (!m_ds->isEditing()) {
        try {
            ensureEditing();
        } catch (...) {
            // the record would not go into edit: show it as it is, report from a clean start
            reload();
            const std::exception_ptr error = std::current_exception();
            QTimer::singleShot(0, this, [error] { std::rethrow_exception(error); });
            return;
        }
    }
    QScopedValueRollback writing(m_writing, true);
    m_ds->setValue(f, toPlainText());
}

void NotesMemo::keyPressEvent(QKeyEvent *event)
{
    const bool command = event->modifiers()
                         & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool typing = event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)
                        || event->matches(QKeySequence::Undo)
                        || event->matches(QKeySequence::Redo)
                        || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete
                        || (!command && !event->text().isEmpty());
    // a record that cannot go into edit stops the key before it changes the text
    if (typing && canType() && m_ds && !m_ds->isEditing()) {
        if (EditRefusal::swallowing())
            return event->accept();
        try {
            ensureEditing();
        } catch (const std::exception &refused) {
            event->accept();
            EditRefusal::report(QString::fromUtf8(refused.what()));
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void NotesMemo::insertFromMimeData(const QMimeData *source)
{
    if (canType())
        ensureEditing();
    QPlainTextEdit::insertFromMimeData(source);
}

void NotesMemo::mouseDoubleClickEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void NotesMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit focusLeft();
}

void NotesMemo::appendLine(const QString &line)
{
    if (fieldIndex() >= 0)
        ensureEditing();
    const QString text = toPlainText();
    QTextCursor c = textCursor();
    c.movePosition(QTextCursor::End);
    const bool newLine = !text.isEmpty() && !text.endsWith(QLatin1Char('\n'));
    c.insertText(newLine ? QLatin1Char('\n') + line : line);
    setTextCursor(c);
    ensureCursorVisible();
}

} // namespace Brelvan
