#include "calc/loanwindow.h"

#include "calc/calcreports.h"
#include "calc/loancalc.h"
#include "platform/desktop/dialogs.h"

#include <QLineEdit>

namespace Brelvan {

LoanWindow::LoanWindow(MainAccess &main, const QString &className, const QString &head,
                       QWidget *parent)
    : CalcWindow(main, className, QStringLiteral(" Borrowings"), head, parent)
{
}

void LoanWindow::addLoanRows(const QString &startDate)
{
    addHeading(QStringLiteral("Borrowing  Requirements"));
    addInput("EdPrinc", QStringLiteral("Loan Amount"), QStringLiteral("Principal Borrowed"));
    addInput("EdRate", QStringLiteral("Rate of Interest ( % )"),
             QStringLiteral("Use a number only - NO % sign"));
    addInput("EdTime", QStringLiteral("Term ( Years )"), QStringLiteral("Use a number only."));
    addFrequency(QStringLiteral("Repayments"));
    if (!startDate.isEmpty())
        addOutput("StartDate", QStringLiteral("Start Date"))->setText(startDate);
    addHeading(QStringLiteral("Loan Outcome"));
    addOutput("EdPays", QStringLiteral("Number of Repayments"));
    addOutput("EdR", QStringLiteral("Repayment"));
    addOutput("EdInt", QStringLiteral("Total Interest Paid"));
    addOutput("EdAI", QStringLiteral("Average Interest"));
    addOutput("EdAAI", QStringLiteral("Average Annual Interest"));
    addOutput("EdAV", QStringLiteral("Total Repayment"));
}

void LoanWindow::calculate()
{
    LoanCalculation c = calculateLoan(text("EdPrinc"), text("EdRate"), text("EdTime"),
                                      frequency());
    if (c.error == CalcError::None && !acceptLoan(c))
        c.error = CalcError::Unusable;
    if (!showOutcome(c))
        return;
    CalcMemory &memory = CalcMemory::of(m_main);
    memory.repayment = c.figures.repayment;
    memory.principal = c.figures.principal;
    memory.averagePrincipal = c.figures.averagePrincipal();
    memory.repayments = QString::number(wholeRepayments(c.figures.repayments));
}

bool LoanWindow::checkCalculated()
{
    // a window opened afresh, or inputs changed since, would print figures that are not
    // the ones shown beside them
    if (isCurrent() && !CalcMemory::of(m_main).repayments.isEmpty())
        return true;
    dialogs().error(QStringLiteral("Check your Requirements and Calculate"));
    return false;
}

void LoanWindow::print()
{
    if (!checkCalculated())
        return;
    const SummaryBox requirements{
        QStringLiteral("Borrowing  Requirements"),
        {{QStringLiteral("Loan Amount"), text("EdPrinc")},
         {QStringLiteral("Rate of Interest"), text("EdRate") + QStringLiteral("%")},
         {QStringLiteral("Term ( Years )"), text("EdTime") + QStringLiteral(" Years")},
         {QStringLiteral("Repayments"), frequencyText()}}};
    const SummaryBox outcome{QStringLiteral("Loan Outcome"),
                             {{QStringLiteral("Number of Repayments"), text("EdPays")},
                              {QStringLiteral("Repayment"), text("EdR")},
                              {QStringLiteral("Total Interest Paid"), text("EdInt")},
                              {QStringLiteral("Average Interest"), text("EdAI")},
                              {QStringLiteral("Average Annual Interest"), text("EdAAI")},
                              {QStringLiteral("Total Repayment"), text("EdAV")}}};
    previewCalcSummary(m_main, QStringLiteral("TPrintBorrowForm"), QStringLiteral("Borrowings"),
                       requirements, outcome);
    printed();
}

void LoanWindow::remember()
{
    CalcMemory::of(m_main).loan = entry("EdPrinc");
}

} // namespace Brelvan
