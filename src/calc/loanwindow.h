#pragma once

#include "calc/calcwindow.h"

namespace Brelvan {

struct LoanCalculation;

// Borrow and Borrow Detail alike: the loan's inputs and outcome, Calculate, which stores the
// loan for the printouts, and the one-page summary TPrintBorrowForm.
class LoanWindow : public CalcWindow
{
    Q_OBJECT

protected:
    LoanWindow(MainAccess &main, const QString &className, const QString &head,
               QWidget *parent);

    // The inputs (with the start date when given one) and the outcome rows.
    void addLoanRows(const QString &startDate = {});
    void calculate();
    // What Borrow Detail adds to a calculation; false refuses it.
    virtual bool acceptLoan(const LoanCalculation &) { return true; }
    // True when the outputs answer the inputs; otherwise says so.
    bool checkCalculated();
    void print();
    void remember() override;
};

} // namespace Brelvan
