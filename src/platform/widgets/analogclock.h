#pragma once

#include <QColor>
#include <QTime>
#include <QTimer>
#include <QWidget>

namespace Brelvan {

// An analogue clock face with hour, minute and second hands and the digital time
// "hh:mm:ss" beneath, set from the program's clock and refreshed every second.
class AnalogClock : public QWidget
{
    Q_OBJECT

public:
    explicit AnalogClock(QWidget *parent = nullptr);

    QColor hourHandColor() const { return m_hourColor; }
    void setHourHandColor(const QColor &color);
    QColor minuteHandColor() const { return m_minuteColor; }
    void setMinuteHandColor(const QColor &color);
    QColor secondHandColor() const { return m_secondColor; }
    void setSecondHandColor(const QColor &color);
    QColor faceColor() const { return m_faceColor; }
    void setFaceColor(const QColor &color);

    bool showsDigital() const { return m_digital; }
    void setShowsDigital(bool show);

    // The time shown, and its digital text.
    QTime time() const { return m_time; }
    QString timeText() const;
    // Reads the program's clock again (the timer does this every second).
    void refresh();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void scheduleNext();

    QTimer m_timer;
    QTime m_time;
    QColor m_hourColor;
    QColor m_minuteColor;
    QColor m_secondColor;
    QColor m_faceColor;
    bool m_digital = true;
};

} // namespace Brelvan
