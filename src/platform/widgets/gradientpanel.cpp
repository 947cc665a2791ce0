#include "platform/widgets/gradientpanel.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace Brelvan {

GradientPanel::GradientPanel(QWidget *parent)
    : QFrame(parent)
    , m_start(0x00, 0x80, 0x80)
    , m_end(0xC0, 0xC0, 0xC0)
    , m_captionColor(Qt::black)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setContentsMargins(4, 2, 4, 2);
}

void GradientPanel::setStartColor(const QColor &color)
{
    m_start = color;
    update();
}

void GradientPanel::setEndColor(const QColor &color)
{
    m_end = color;
    update();
}

void GradientPanel::setGradient(const QColor &start, const QColor &end)
{
    m_start = start;
    m_end = end;
    update();
}

void GradientPanel::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    updateGeometry();
    update();
}

void GradientPanel::setCaptionAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void GradientPanel::setCaptionColor(const QColor &color)
{
    m_captionColor = color;
    update();
}

QSize GradientPanel::sizeHint() const
{
    const QFontMetrics fm(font());
    const QMargins m = contentsMargins();
    const int w = fm.horizontalAdvance(m_caption) + m.left() + m.right() + 2 * frameWidth() + 8;
    const int h = fm.height() + m.top() + m.bottom() + 2 * frameWidth() + 6;
    return QSize(qMax(w, 40), qMax(h, 20)).expandedTo(QFrame::sizeHint());
}

void GradientPanel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}

void GradientPanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    QFrame::mouseDoubleClickEvent(event);
}

void GradientPanel::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        QLinearGradient gradient(rect().topLeft(), rect().topRight());
        gradient.setColorAt(0, m_start);
        gradient.setColorAt(1, m_end);
        p.fillRect(rect(), gradient);
        if (!m_caption.isEmpty()) {
            p.setPen(m_captionColor);
            p.setFont(font());
            p.drawText(contentsRect().adjusted(4, 0, -4, 0), int(m_alignment), m_caption);
        }
    }
    QFrame::paintEvent(event); // the bevel on top
}

} // namespace Brelvan
