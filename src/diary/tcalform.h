#pragma once

#include <QColor>
#include <QDialog>

class QCalendarWidget;

namespace Brelvan {

class AnalogClock;
class FlashingLabel;
class ShapeButton;

// The stand-alone calendar: a month calendar with the diary's stepping buttons, a clock and
// a heading that flashes while the date shown is not today. It keeps no records.
class TCalForm : public QDialog
{
    Q_OBJECT

public:
    TCalForm(const QColor &grad1, const QColor &grad2, const QColor &grad3,
             QWidget *parent = nullptr);

    QDate date() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void dateChanged();
    void step(ShapeButton *button, QDate (*newDate)(const QDate &), bool highlight);

    QColor m_grad1;
    QColor m_grad2;
    FlashingLabel *m_head = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    AnalogClock *m_clock = nullptr;
    QList<ShapeButton *> m_buttons;
};

} // namespace Brelvan
