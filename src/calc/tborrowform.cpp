#include "calc/tborrowform.h"

#include "calc/calcreports.h"
#include "calc/loantable.h"
#include "platform/desktop/dialogs.h"

namespace Brelvan {

TBorrowForm::TBorrowForm(MainAccess &main, QWidget *parent)
    : LoanWindow(main, QStringLiteral("TBorrowForm"), QStringLiteral("Reducing  Interest"),
                 parent)
{
    addLoanRows();
    addButton("CalcBtn", QStringLiteral("Calculate"), {}, [this] { calculate(); });
    addButton("PrintBtn", QStringLiteral("Print"), QStringLiteral("Print  the current document."),
              [this] { print(); });
    addButton("DetailPrintBtn", QStringLiteral("Detailed Listing"), {},
              [this] { detailedListing(); });
    addCloseButton();
    restore(CalcMemory::of(main).loan, "EdPrinc");
}

void TBorrowForm::detailedListing()
{
    if (!checkCalculated())
        return;
    const CalcMemory &memory = CalcMemory::of(m_main);
    const int n = memory.repayments.toInt();
    if (n > maxListedRepayments) {
        dialogs().error(calcErrorMessage(CalcError::Unusable));
        return;
    }
    const ScheduleHeading heading{
        formatFixed(memory.principal, 15, 2) + QStringLiteral(" at ") + text("EdRate")
            + QStringLiteral("%  interest  over ") + text("EdTime") + QStringLiteral(" Years"),
        QStringLiteral("Repayment   ") + formatFixed(memory.repayment, 15, 2)};
    previewRepaymentSchedule(m_main, heading,
                             repaymentSchedule(memory.principal, memory.averagePrincipal, n));
}

} // namespace Brelvan
