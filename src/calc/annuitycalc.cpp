#include "calc/annuitycalc.h"

#include <cmath>

namespace Brelvan {

namespace {

// (1 + r) to the N for the term, or nothing when the term or rate make no sense.
std::optional<double> growth(double ratePercent, double years, int perYear, double *rate)
{
    *rate = ratePercent / (100.0 * perYear);
    if (!(years > 0) || !(*rate > -1))
        return std::nullopt;
    const double g = std::pow(1 + *rate, perYear * years);
    if (!std::isfinite(g))
        return std::nullopt;
    return g;
}

std::optional<double> finite(double value)
{
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// The three inputs read, or the calculation's error.
bool read(Calculation &c, const QStringList &texts, QList<double> *values)
{
    const CalcInputs in = readInputs(texts);
    c.error = in.error;
    *values = in.values;
    return c.error == CalcError::None;
}

bool allFinite(std::initializer_list<double> values)
{
    for (double v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

} // namespace

std::optional<double> compoundValue(double amount, double ratePercent, double years,
                                    int perYear)
{
    double r;
    const auto g = growth(ratePercent, years, perYear, &r);
    return g ? finite(*g * amount) : std::nullopt;
}

std::optional<double> annuityValue(double payment, double ratePercent, double years,
                                   int perYear)
{
    double r;
    const auto g = growth(ratePercent, years, perYear, &r);
    // a zero rate divides nought by nought: there is no interest to speak of
    if (!g || r == 0)
        return std::nullopt;
    return finite((*g - 1) / r * payment);
}

std::optional<double> sinkingPayment(double futureValue, double ratePercent, double years,
                                     int perYear)
{
    double r;
    const auto g = growth(ratePercent, years, perYear, &r);
    if (!g || r == 0)
        return std::nullopt;
    return finite(futureValue * r / (*g - 1));
}

Calculation calculateInvest(const QString &amount, const QString &rate, const QString &term,
                            int frequency)
{
    Calculation c;
    QList<double> in;
    if (!read(c, {amount, rate, term}, &in))
        return c;
    const int m = periodsPerYear(frequency);
    const double n = m * in[2];
    const auto f = compoundValue(in[0], in[1], in[2], m);
    if (!f || !allFinite({(*f - in[0]) / n, *f / n})) {
        c.error = CalcError::Unusable;
        return c;
    }
    const double interest = *f - in[0];
    c.texts = {
        {"EdPays", formatGeneral(n)},
        {"EdAV", formatFixed(*f, 14, 2)},
        {"EdInt", formatFixed(interest, 11, 2)},
        {"EdAI", formatFixed(interest / n, 11, 2)},
        {"EdR", formatFixed(*f / n, 11, 2)},
        {"EdAAI", formatFixed(interest / in[2], 11, 2)},
    };
    return c;
}

Calculation calculateRisingAnnuity(const QString &payment, const QString &rate,
                                   const QString &term, int frequency)
{
    Calculation c;
    QList<double> in;
    if (!read(c, {payment, rate, term}, &in))
        return c;
    const int m = periodsPerYear(frequency);
    const double n = m * in[2];
    const auto fv = annuityValue(in[0], in[1], in[2], m);
    if (!fv) {
        c.error = CalcError::Unusable;
        return c;
    }
    const double inputs = in[0] * n;
    c.texts = {
        {"EdPays", formatGeneral(n)},
        {"EdFV", formatFixed(*fv, 14, 0)},
        {"EdInputs", formatFixed(inputs, 14, 0)},
        {"EdIR", formatFixed(*fv - inputs, 14, 0)},
        {"EdAI", formatFixed(inputs / in[2], 14, 0)},
        {"EdAIR", formatFixed((*fv - inputs) / in[2], 14, 0)},
    };
    return c;
}

Calculation calculateSinkingAnnuity(const QString &futureValue, const QString &rate,
                                    const QString &term, int frequency)
{
    Calculation c;
    QList<double> in;
    if (!read(c, {futureValue, rate, term}, &in))
        return c;
    const int m = periodsPerYear(frequency);
    const double n = m * in[2];
    const auto a = sinkingPayment(in[0], in[1], in[2], m);
    if (!a) {
        c.error = CalcError::Unusable;
        return c;
    }
    const double interest = in[0] - *a * n;
    c.texts = {
        {"EdPays", formatGeneral(n)},
        {"EdPMT", formatFixed(*a, 14, 2)},
        {"EdTI", formatFixed(*a * n, 14, 2)},
        {"EdInt", formatFixed(interest, 11, 2)},
        {"EdAI", formatFixed(interest / n, 11, 2)},
        {"EdAAI", formatFixed(interest / in[2], 11, 2)},
    };
    return c;
}

} // namespace Brelvan
