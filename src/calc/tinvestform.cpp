#include "calc/tinvestform.h"

#include "calc/annuitycalc.h"
#include "calc/calcreports.h"
#include "platform/desktop/dialogs.h"

#include <exception>

namespace Brelvan {

TInvestForm::TInvestForm(MainAccess &main, QWidget *parent)
    : CalcWindow(main, QStringLiteral("TInvestForm"), QStringLiteral(" Investments"),
                 QStringLiteral("Compound  Interest"), parent)
{
    // the window keeps the loan calculator's wording; its printout speaks of investing
    addHeading(QStringLiteral("Borrowing  Requirements"));
    addInput("EdPrinc", QStringLiteral("Loan Amount"), QStringLiteral("Principal Borrowed"));
    addInput("EdRate", QStringLiteral("Rate of Interest ( % )"),
             QStringLiteral("Use a number only - NO % sign"));
    addInput("EdTime", QStringLiteral("Term ( Years )"), QStringLiteral("Use a number only."));
    addFrequency(QStringLiteral("Repayments"));
    addHeading(QStringLiteral("Loan Outcome"));
    addOutput("EdPays", QStringLiteral("Number of Repayments"));
    addOutput("EdR", QStringLiteral("Repayment"), QStringLiteral("Repayment received."));
    addOutput("EdInt", QStringLiteral("Total Interest Paid"));
    addOutput("EdAI", QStringLiteral("Average Interest"));
    addOutput("EdAAI", QStringLiteral("Average Annual Interest"));
    addOutput("EdAV", QStringLiteral("Accumulated Value"));
    colourInputs();
    addButton("CalcBtn", QStringLiteral("Calculate"), {}, [this] {
        showOutcome(calculateInvest(text("EdPrinc"), text("EdRate"), text("EdTime"),
                                    frequency()));
    });
    addButton("PrintBtn", QStringLiteral("Print"), QStringLiteral("Print  the current document."),
              [this] { print(); });
    addCloseButton();
    restore(CalcMemory::of(main).invest, "EdPrinc");
}

void TInvestForm::print()
{
    try {
        previewCalcSummary(
            m_main, QStringLiteral("TPrintInvestForm"), QStringLiteral("Investments"),
            {QStringLiteral("Investment  Requirements"),
             {{QStringLiteral("Investment Amount"), text("EdPrinc")},
              {QStringLiteral("Rate of Interest"), text("EdRate") + QStringLiteral("%")},
              {QStringLiteral("Term ( Years )"), text("EdTime") + QStringLiteral(" Years")},
              {QStringLiteral("Payments Received"), frequencyText()}}},
            {QStringLiteral("Investment  Outcome"),
             {{QStringLiteral("Number of Payments"), text("EdPays")},
              {QStringLiteral("Average Payment Received"), text("EdR")},
              {QStringLiteral("Total Interest Received"), text("EdInt")},
              {QStringLiteral("Average Interest Received"), text("EdAI")},
              {QStringLiteral("Average Annual Interest"), text("EdAAI")},
              {QStringLiteral("Accumulated Value"), text("EdAV")}}});
    } catch (const std::exception &) {
        dialogs().error(calcErrorMessage(CalcError::Unusable));
        return;
    }
    printed();
}

void TInvestForm::remember()
{
    CalcMemory::of(m_main).invest = entry("EdPrinc");
}

} // namespace Brelvan
