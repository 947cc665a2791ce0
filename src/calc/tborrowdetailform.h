#pragma once

#include "calc/loanwindow.h"

class QPlainTextEdit;

namespace Brelvan {

// "Borrow Detail": the loan with its full amortisation table, which can be copied.
class TBorrowDetailForm : public LoanWindow
{
    Q_OBJECT

public:
    explicit TBorrowDetailForm(MainAccess &main, QWidget *parent = nullptr);

private:
    bool acceptLoan(const LoanCalculation &calculation) override;

    QPlainTextEdit *m_table = nullptr;
};

} // namespace Brelvan
