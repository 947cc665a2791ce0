#include "platform/widgets/recordnavigator.h"

#include "platform/desktop/dialogs.h"
#include "platform/widgets/datasetmodel.h"
#include "platform/widgets/hint.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace Brelvan {

using Table::Dataset;

namespace {

struct ButtonInfo
{
    RecordNavigator::Button button;
    const char *name;
    const char *hint;
};

const ButtonInfo buttonInfo[] = {
    {RecordNavigator::First, "First", "First record"},
    {RecordNavigator::Prior, "Prior", "Prior record"},
    {RecordNavigator::Next, "Next", "Next record"},
    {RecordNavigator::Last, "Last", "Last record"},
    {RecordNavigator::Insert, "Insert", "Insert record"},
    {RecordNavigator::Delete, "Delete", "Delete record"},
    {RecordNavigator::Edit, "Edit", "Edit record"},
    {RecordNavigator::Post, "Post", "Post edit"},
    {RecordNavigator::Cancel, "Cancel", "Cancel edit"},
    {RecordNavigator::Refresh, "Refresh", "Refresh data"},
};

// The glyphs are drawn, not loaded: nothing to ship and sharp at any size.
QIcon glyph(RecordNavigator::Button b, const QColor &ink)
{
    const int s = 16;
    QPixmap pm(s, s);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    auto triangle = [&](bool left, qreal x) {
        QPainterPath path;
        if (left) {
            path.moveTo(x + 5, 3);
            path.lineTo(x, 8);
            path.lineTo(x + 5, 13);
        } else {
            path.moveTo(x, 3);
            path.lineTo(x + 5, 8);
            path.lineTo(x, 13);
        }
        path.closeSubpath();
        p.drawPath(path);
    };
    QPen pen(ink, 2);
    switch (b) {
    case RecordNavigator::First:
        p.drawRect(QRectF(3, 3, 2, 10));
        triangle(true, 6);
        break;
    case RecordNavigator::Prior:
        triangle(true, 5);
        break;
    case RecordNavigator::Next:
        triangle(false, 6);
        break;
    case RecordNavigator::Last:
        triangle(false, 5);
        p.drawRect(QRectF(11, 3, 2, 10));
        break;
    case RecordNavigator::Insert:
        p.drawRect(QRectF(7, 3, 2, 10));
        p.drawRect(QRectF(3, 7, 10, 2));
        break;
    case RecordNavigator::Delete:
        p.drawRect(QRectF(3, 7, 10, 2));
        break;
    case RecordNavigator::Edit: {
        QPainterPath path;
        path.moveTo(8, 3);
        path.lineTo(13, 12);
        path.lineTo(3, 12);
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case RecordNavigator::Post:
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(7, 12), QPointF(13, 4)}));
        break;
    case RecordNavigator::Cancel:
        p.setPen(pen);
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case RecordNavigator::Refresh: {
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        QPainterPath head;
        head.moveTo(8, 0.5);
        head.lineTo(11.5, 3);
        head.lineTo(8, 5.5);
        head.closeSubpath();
        p.drawPath(head);
        break;
    }
    }
    p.end();
    return QIcon(pm);
}

} // namespace

RecordNavigator::RecordNavigator(Buttons buttons, QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const QColor ink = palette().color(QPalette::ButtonText);
    for (const ButtonInfo &info : buttonInfo) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(info.name));
        b->setIcon(glyph(info.button, ink));
        b->setIconSize(QSize(16, 16));
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::NoFocus); // the grid keeps the focus, as with the old navigator
        Brelvan::setHint(b, QString::fromLatin1(info.hint));
        row->addWidget(b);
        m_buttons.insert(info.button, b);
        const Button which = info.button;
        connect(b, &QToolButton::clicked, this, [this, which] { trigger(which); });
    }
    row->addStretch();
    setVisibleButtons(buttons);
}

void RecordNavigator::setDataset(Dataset *ds)
{
    for (const QMetaObject::Connection &c : std::as_const(m_links))
        disconnect(c);
    m_links.clear();
    m_ds = ds;
    if (ds) {
        auto update = [this] { updateButtons(); };
        m_links << connect(ds, &Dataset::rowsReset, this, update)
                << connect(ds, &Dataset::currentChanged, this, update)
                << connect(ds, &Dataset::stateChanged, this, update)
                << connect(ds, &Dataset::rowInserted, this, update)
                << connect(ds, &Dataset::rowRemoved, this, update)
                << connect(ds, &Dataset::controlsEnabled, this, update)
                << connect(ds, &QObject::destroyed, this, update);
    }
    updateButtons();
}

void RecordNavigator::setVisibleButtons(Buttons buttons)
{
    m_visible = buttons;
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it)
        it.value()->setVisible(buttons.testFlag(Button(it.key())));
    updateButtons();
}

void RecordNavigator::setHint(Button which, const QString &hint)
{
    Brelvan::setHint(button(which), hint);
}

bool RecordNavigator::canTrigger(Button which) const
{
    const Dataset *ds = m_ds;
    if (!ds || !ds->isOpen())
        return false;
    const bool editing = ds->isEditing();
    const bool live = ds->isLive();
    const int row = ds->row();
    const int rows = ds->rowCount();
    switch (which) {
    case First:
    case Prior:
        return row > 0;
    case Next:
    case Last:
        return row >= 0 && row < rows - 1;
    case Insert:
        return live;
    case Delete:
        return live && row >= 0;
    case Edit:
        return live && !editing;
    case Post:
    case Cancel:
        return live && editing;
    case Refresh:
        return true;
    }
    return false;
}

void RecordNavigator::updateButtons()
{
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it)
        it.value()->setEnabled(canTrigger(Button(it.key())));
}

void RecordNavigator::trigger(Button which)
{
    Dataset *ds = m_ds;
    if (!canTrigger(which))
        return;
    // text typed into a grid cell goes into the record before the record is left or posted
    if (which != Delete && which != Cancel && which != Edit)
        writePendingEdits(ds);
    switch (which) {
    case First:
        ds->first();
        break;
    case Prior:
        ds->prior();
        break;
    case Next:
        ds->next();
        break;
    case Last:
        ds->last();
        break;
    case Insert:
        ds->insert();
        break;
    case Delete:
        if (!dialogs().confirm(QStringLiteral("Delete record?")))
            return;
        ds->remove();
        break;
    case Edit:
        ds->edit();
        break;
    case Post:
        ds->post();
        break;
    case Cancel:
        ds->cancel();
        break;
    case Refresh:
        ds->refresh();
        break;
    }
    updateButtons();
    emit clicked(which);
}

} // namespace Brelvan
