#pragma once

#include "calc/calcnumbers.h"

#include <optional>

namespace Brelvan {

// A loan repaid by level repayments on the reducing balance.
struct LoanFigures
{
    double principal = 0;
    double years = 0;
    double periodicRate = 0; // the yearly rate over the periods a year
    double repayments = 0;   // may be fractional: 1.3 years weekly is 67.6
    double repayment = 0;

    double totalRepaid() const { return repayments * repayment; }
    double totalInterest() const { return totalRepaid() - principal; }
    // The principal share of an average repayment: the straight-line step of the schedule.
    double averagePrincipal() const { return repayment - totalInterest() / repayments; }
};

// The figures of the loan; nothing when they cannot be computed (a zero rate, a term that is
// not positive, a rate that wipes out the balance, a result out of range).
std::optional<LoanFigures> loanFigures(double principal, double ratePercent, double years,
                                       int perYear);

// The number of repayments the schedules list: n rounded, halves up.
int wholeRepayments(double repayments);

// Calculate of the loan windows from the typed texts and the frequency item: EdPays, EdR,
// EdInt, EdAI, EdAAI and EdAV.
struct LoanCalculation : Calculation
{
    LoanFigures figures;
};
LoanCalculation calculateLoan(const QString &amount, const QString &rate, const QString &term,
                              int frequency);

} // namespace Brelvan
