#include "calc/loancalc.h"

#include <cmath>

namespace Brelvan {

std::optional<LoanFigures> loanFigures(double principal, double ratePercent, double years,
                                       int perYear)
{
    LoanFigures f;
    f.principal = principal;
    f.years = years;
    f.periodicRate = ratePercent / (100.0 * perYear);
    f.repayments = perYear * years;
    // a term that is not positive has no repayments to spread the loan over, and a rate of
    // -100 % a period or less leaves no balance to charge interest on
    if (!(years > 0) || !(f.periodicRate > -1))
        return std::nullopt;
    const double v = std::pow(1 + f.periodicRate, -f.repayments);
    f.repayment = f.periodicRate / (1 - v) * principal;
    if (!std::isfinite(f.repayment) || !std::isfinite(f.totalRepaid()))
        return std::nullopt;
    return f;
}

int wholeRepayments(double repayments)
{
    return int(roundDecimal(repayments, 0));
}

LoanCalculation calculateLoan(const QString &amount, const QString &rate, const QString &term,
                              int frequency)
{
    LoanCalculation c;
    const CalcInputs in = readInputs({amount, rate, term});
    c.error = in.error;
    if (c.error != CalcError::None)
        return c;
    const auto f = loanFigures(in.values[0], in.values[1], in.values[2],
                               periodsPerYear(frequency));
    if (!f) {
        c.error = CalcError::Unusable;
        return c;
    }
    c.figures = *f;
    const double interest = f->totalInterest();
    c.texts = {
        {"EdPays", formatGeneral(f->repayments)},
        {"EdR", formatFixed(f->repayment, 14, 2)},
        {"EdInt", formatFixed(interest, 11, 2)},
        {"EdAI", formatFixed(interest / f->repayments, 11, 2)},
        {"EdAAI", formatFixed(interest / f->years, 11, 2)},
        {"EdAV", formatFixed(f->totalRepaid(), 14, 2)},
    };
    return c;
}

} // namespace Brelvan
