#include "calc/tannsform.h"

#include "calc/annuitycalc.h"
#include "calc/calcreports.h"

namespace Brelvan {

TAnnSForm::TAnnSForm(MainAccess &main, QWidget *parent)
    : CalcWindow(main, QStringLiteral("TAnnSForm"), QStringLiteral(" Annuity - Sinking"),
                 QStringLiteral("Reducing  Interest"), parent)
{
    addHeading(QStringLiteral("Sinking Annuity - Requirements"));
    addInput("EdFV", QStringLiteral("Future Value"),
             QStringLiteral("End of Term Value of Annuity Required - Use a number only."));
    addInput("EdRate", QStringLiteral("Rate of Interest ( % )"),
             QStringLiteral("Use a number only - NO % sign"));
    addInput("EdTime", QStringLiteral("Term ( Years )"), QStringLiteral("Use a number only."));
    addFrequency(QStringLiteral("Repayments made"));
    addHeading(QStringLiteral("Annuity Outcome"));
    addOutput("EdPays", QStringLiteral("Number of Repayments"));
    addOutput("EdPMT", QStringLiteral("Required Deposit"),
              QStringLiteral("Payment required per payment."));
    addOutput("EdTI", QStringLiteral("Total Inputs"));
    addOutput("EdInt", QStringLiteral("Total Interest Received"));
    addOutput("EdAI", QStringLiteral("Average Interest"));
    addOutput("EdAAI", QStringLiteral("Average Annual Interest"));
    colourInputs();
    addButton("CalcBtn", QStringLiteral("Calculate"), {}, [this] {
        showOutcome(calculateSinkingAnnuity(text("EdFV"), text("EdRate"), text("EdTime"),
                                            frequency()));
    });
    addButton("PrintBtn", QStringLiteral("Print"), QStringLiteral("Print  the current document."),
              [this] { print(); });
    addCloseButton();
    restore(CalcMemory::of(main).sinking, "EdFV");
}

void TAnnSForm::print()
{
    previewCalcSummary(
        m_main, QStringLiteral("TPrintAnnSForm"), QStringLiteral("Sinking Annuity"),
        {QStringLiteral("Sinking Annuity - Requirements"),
         {{QStringLiteral("Future Value"), text("EdFV")},
          {QStringLiteral("Rate of Interest"), text("EdRate") + QStringLiteral("%")},
          {QStringLiteral("Term ( Years )"), text("EdTime") + QStringLiteral(" Years")},
          {QStringLiteral("Repayments made"), frequencyText()}}},
        {QStringLiteral("Annuity Outcome"),
         {{QStringLiteral("Number of Repayments"), text("EdPays")},
          {QStringLiteral("Required Deposit"), text("EdPMT")},
          {QStringLiteral("Total Inputs"), text("EdTI")},
          {QStringLiteral("Total Interest Received"), text("EdInt")},
          {QStringLiteral("Average Interest"), text("EdAI")},
          {QStringLiteral("Average Annual Interest"), text("EdAAI")}}});
    printed();
}

void TAnnSForm::remember()
{
    CalcMemory::of(m_main).sinking = entry("EdFV");
}

} // namespace Brelvan
