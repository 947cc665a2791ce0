#include "platform/widgets/flashinglabel.h"

#include <QMouseEvent>

namespace Brelvan {

FlashingLabel::FlashingLabel(QWidget *parent)
    : QLabel(parent)
    , m_textColor(Qt::red)
    , m_flashColor(Qt::white)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
    applyColour();
}

FlashingLabel::FlashingLabel(const QString &text, QWidget *parent)
    : FlashingLabel(parent)
{
    setText(text);
}

void FlashingLabel::setFlashing(bool flashing)
{
    if (flashing == m_flashing)
        return;
    m_flashing = flashing;
    restart();
}

void FlashingLabel::setShownTime(int ms)
{
    m_shownTime = qMax(1, ms);
}

void FlashingLabel::setHiddenTime(int ms)
{
    m_hiddenTime = qMax(1, ms);
}

void FlashingLabel::setTextColor(const QColor &color)
{
    m_textColor = color;
    applyColour();
}

void FlashingLabel::setFlashColor(const QColor &color)
{
    m_flashColor = color;
    applyColour();
}

void FlashingLabel::setFlashColors(const QColor &text, const QColor &flash)
{
    m_textColor = text;
    m_flashColor = flash;
    applyColour();
}

QColor FlashingLabel::currentColor() const
{
    if (m_textShown)
        return m_textColor;
    return m_flashColor.isValid() ? m_flashColor : QColor(Qt::transparent);
}

// The label takes its clicks, so a panel beneath does not see them as its own.
void FlashingLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QLabel::mousePressEvent(event);
    event->accept();
}

void FlashingLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QLabel::mouseReleaseEvent(event);
    event->accept();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void FlashingLabel::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    restart();
}

void FlashingLabel::hideEvent(QHideEvent *event)
{
    QLabel::hideEvent(event);
    m_timer.stop();
}

void FlashingLabel::tick()
{
    m_textShown = !m_textShown;
    applyColour();
    m_timer.start(m_textShown ? m_shownTime : m_hiddenTime);
}

// Every start of flashing begins with the text shown; stopping leaves it shown.
void FlashingLabel::restart()
{
    m_timer.stop();
    m_textShown = true;
    applyColour();
    if (m_flashing && isVisible())
        m_timer.start(m_shownTime);
}

void FlashingLabel::applyColour()
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, currentColor());
    setPalette(pal);
}

} // namespace Brelvan
