#include "calc/tannrform.h"

#include "calc/annuitycalc.h"
#include "calc/calcreports.h"

namespace Brelvan {

TAnnRForm::TAnnRForm(MainAccess &main, QWidget *parent)
    : CalcWindow(main, QStringLiteral("TAnnRForm"), QStringLiteral(" Annuity - Rising"),
                 QStringLiteral("Rising  Annuity"), parent)
{
    addHeading(QStringLiteral("Rising Annuity Requirements"));
    addInput("EdRate", QStringLiteral("Rate of Interest ( % )"),
             QStringLiteral("Annual Interest Rate - Use a number only - NO % sign"));
    addInput("EdTime", QStringLiteral("Term ( Years )"), QStringLiteral("Use a number only."));
    addFrequency(QStringLiteral("Repayments made"));
    addInput("EdPMT", QStringLiteral("Payment made"),
             QStringLiteral("Amount of regular payment made."));
    addHeading(QStringLiteral("Investment  Outcome"));
    addOutput("EdPays", QStringLiteral("Number of Repayments"));
    addOutput("EdFV", QStringLiteral("Future Value"));
    addOutput("EdInputs", QStringLiteral("Total Inputs"));
    addOutput("EdIR", QStringLiteral("Interest Received"));
    addOutput("EdAI", QStringLiteral("Annual Inputs"));
    addOutput("EdAIR", QStringLiteral("Annual Interest Received"));
    colourInputs();
    addButton("CalcBtn", QStringLiteral("Calculate"), {}, [this] {
        showOutcome(calculateRisingAnnuity(text("EdPMT"), text("EdRate"), text("EdTime"),
                                           frequency()));
    });
    addButton("PrintBtn", QStringLiteral("Print"), QStringLiteral("Print  the current document."),
              [this] { print(); });
    addCloseButton();
    restore(CalcMemory::of(main).rising, "EdPMT");
}

void TAnnRForm::print()
{
    previewCalcSummary(
        m_main, QStringLiteral("TPrintAnnRForm"), QStringLiteral("Rising Annuity"),
        {QStringLiteral("Rising Annuity Requirements"),
         {{QStringLiteral("Rate of Interest ( % )"), text("EdRate") + QStringLiteral("%")},
          {QStringLiteral("Term ( Years )"), text("EdTime") + QStringLiteral(" Years")},
          {QStringLiteral("Repayments made"), frequencyText()},
          {QStringLiteral("Payment made"), text("EdPMT")}}},
        {QStringLiteral("Investment  Outcome"),
         {{QStringLiteral("Number of Repayments"), text("EdPays")},
          {QStringLiteral("Future Value"), text("EdFV")},
          {QStringLiteral("Total Inputs"), text("EdInputs")},
          {QStringLiteral("Interest Received"), text("EdIR")},
          {QStringLiteral("Annual Inputs"), text("EdAI")},
          {QStringLiteral("Annual Interest Received"), text("EdAIR")}}});
    printed();
}

void TAnnRForm::remember()
{
    CalcMemory::of(m_main).rising = entry("EdPMT");
}

} // namespace Brelvan
