#pragma once

#include <QObject>
#include <QString>

namespace Brelvan {

class MainAccess;

// A calculator's last inputs: three texts and the frequency item.
struct CalcEntry
{
    QString first; // amount, payment or future value
    QString rate;
    QString term;
    int frequency = 0; // a window's first opening shows "Daily"
};

// What the calculators remember while the program runs, never on disk: each window's last
// inputs, and the last loan worked out, which the loan printouts use.
class CalcMemory : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The memory of this main window's run.
    static CalcMemory &of(MainAccess &main);

    CalcEntry loan; // shared by Borrow and Borrow Detail
    CalcEntry invest;
    CalcEntry rising;
    CalcEntry sinking;

    // the last loan calculated
    double repayment = 0;
    double principal = 0;
    double averagePrincipal = 0;
    QString repayments; // whole number; empty until a loan has been calculated
};

} // namespace Brelvan
