#pragma once

#include "calc/loanwindow.h"

namespace Brelvan {

// "Borrow": the loan's repayment, its one-page summary and the repayment schedule.
class TBorrowForm : public LoanWindow
{
    Q_OBJECT

public:
    explicit TBorrowForm(MainAccess &main, QWidget *parent = nullptr);

private:
    void detailedListing();
};

} // namespace Brelvan
