#include "platform/widgets/analogclock.h"

#include "platform/desktop/clock.h"

#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

namespace Brelvan {

AnalogClock::AnalogClock(QWidget *parent)
    : QWidget(parent)
    , m_hourColor(Qt::blue)
    , m_minuteColor(QColor(0x20, 0x20, 0x20))
    , m_secondColor(Qt::red)
    , m_faceColor(Qt::white)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        refresh();
        scheduleNext();
    });
    m_time = clock().now().time();
}

void AnalogClock::setHourHandColor(const QColor &color)
{
    m_hourColor = color;
    update();
}

void AnalogClock::setMinuteHandColor(const QColor &color)
{
    m_minuteColor = color;
    update();
}

void AnalogClock::setSecondHandColor(const QColor &color)
{
    m_secondColor = color;
    update();
}

void AnalogClock::setFaceColor(const QColor &color)
{
    m_faceColor = color;
    update();
}

void AnalogClock::setShowsDigital(bool show)
{
    m_digital = show;
    updateGeometry();
    update();
}

QString AnalogClock::timeText() const
{
    return m_time.toString(QStringLiteral("hh:mm:ss"));
}

void AnalogClock::refresh()
{
    const QTime now = clock().now().time();
    if (now == m_time)
        return;
    m_time = now;
    update();
}

QSize AnalogClock::sizeHint() const
{
    return QSize(110, m_digital ? 130 : 110);
}

QSize AnalogClock::minimumSizeHint() const
{
    return QSize(50, m_digital ? 66 : 50);
}

void AnalogClock::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
    scheduleNext();
}

void AnalogClock::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_timer.stop();
}

// Ticks just after each whole second of the real time, so the hands do not lag.
void AnalogClock::scheduleNext()
{
    const int ms = clock().now().time().msec();
    m_timer.start(1000 - ms + 5);
}

void AnalogClock::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    const QFontMetrics fm(font());
    const int textH = m_digital ? fm.height() + 4 : 0;
    const QRectF area(0, 0, width(), height() - textH);
    const qreal side = qMin(area.width(), area.height()) - 4;
    if (side < 10)
        return;
    const QPointF centre = area.center();
    const qreal r = side / 2;

    // Face with a soft rim.
    QRadialGradient face(centre, r, centre - QPointF(r / 3, r / 3));
    face.setColorAt(0, m_faceColor.lighter(105));
    face.setColorAt(1, m_faceColor.darker(112));
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), qMax(1.5, r / 20)));
    p.setBrush(face);
    p.drawEllipse(centre, r, r);

    p.save();
    p.translate(centre);
    p.scale(r / 100.0, r / 100.0);

    for (int i = 0; i < 60; ++i) {
        if (i % 5 == 0) {
            p.setPen(QPen(QColor(0x30, 0x30, 0x30), 4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(0, -88), QPointF(0, -74));
        } else {
            p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.5));
            p.drawLine(QPointF(0, -88), QPointF(0, -82));
        }
        p.rotate(6);
    }

    const qreal seconds = m_time.second();
    const qreal minutes = m_time.minute() + seconds / 60.0;
    const qreal hours = (m_time.hour() % 12) + minutes / 60.0;

    auto hand = [&p](qreal angle, qreal length, qreal tail, qreal width, const QColor &c) {
        p.save();
        p.rotate(angle);
        const QPointF shape[] = {QPointF(-width / 2, tail), QPointF(-width / 3, -length + width),
                                 QPointF(0, -length), QPointF(width / 3, -length + width),
                                 QPointF(width / 2, tail)};
        p.setPen(QPen(c.darker(140), 1));
        p.setBrush(c);
        p.drawPolygon(shape, 5);
        p.restore();
    };
    hand(30.0 * hours, 52, 12, 11, m_hourColor);
    hand(6.0 * minutes, 78, 12, 7, m_minuteColor);

    p.save();
    p.rotate(6.0 * seconds);
    p.setPen(QPen(m_secondColor, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 18), QPointF(0, -84));
    p.restore();

    p.setPen(Qt::NoPen);
    p.setBrush(m_secondColor);
    p.drawEllipse(QPointF(0, 0), 5, 5);
    p.restore();

    if (m_digital) {
        const QRectF textRect(0, height() - textH, width(), textH);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(textRect, Qt::AlignCenter, timeText());
    }
}

} // namespace Brelvan
