#include "calc/calcnumbers.h"

#include "data/formats.h"

#include <QLocale>

#include <cmath>

namespace Brelvan {

const QStringList &frequencyNames()
{
    static const QStringList names = {"Daily",     "Weekly",      "Monthly",
                                      "Quarterly", "Half Yearly", "Yearly"};
    return names;
}

int periodsPerYear(int item)
{
    static const int perYear[] = {365, 52, 12, 4, 2, 1};
    return item >= 0 && item < 6 ? perYear[item] : 12;
}

std::optional<double> readNumber(const QString &text)
{
    bool ok = false;
    const double value = moneyLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double roundDecimal(double value, int places)
{
    if (!std::isfinite(value) || value == 0)
        return value;
    // the fifteen significant digits and the power of ten of the first
    const QString e = QString::number(std::abs(value), 'e', 14);
    const QString digits = e.left(1) + e.mid(2, 14);
    const int exponent = e.mid(e.indexOf(QLatin1Char('e')) + 1).toInt();
    const int keep = exponent + places + 1;
    if (keep >= 15)
        return value;
    if (keep < 0)
        return 0;
    qint64 kept = keep > 0 ? digits.left(keep).toLongLong() : 0;
    if (digits.at(keep) >= QLatin1Char('5'))
        ++kept;
    const double rounded = QStringLiteral("%1e%2").arg(kept).arg(exponent - keep + 1).toDouble();
    return (value < 0 ? -rounded : rounded) + 0.0; // no negative zero
}

QString formatCurrency(double value)
{
    return moneyLocale().toCurrencyString(roundDecimal(value, 2), QString(), 2);
}

QString formatFixed(double value, int precision, int decimals)
{
    QLocale locale = moneyLocale();
    const double size = std::abs(value);
    const int whole = size < 1 ? 0 : int(std::floor(std::log10(size))) + 1;
    if (whole > precision) {
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        return locale.toString(value, 'E', precision - 1);
    }
    const double rounded = roundDecimal(value, std::min(decimals, precision - whole));
    return locale.toString(rounded, 'f', decimals);
}

QString formatGeneral(double value)
{
    QLocale locale = moneyLocale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

QString calcErrorMessage(CalcError error)
{
    switch (error) {
    case CalcError::Missing:
        return QStringLiteral("Data is Missing");
    case CalcError::Unusable:
        return QStringLiteral("ERROR : Check your Requirements");
    case CalcError::None:
        break;
    }
    return {};
}

CalcInputs readInputs(const QStringList &texts)
{
    CalcInputs in;
    for (const QString &t : texts) {
        if (t.trimmed().isEmpty()) {
            in.error = CalcError::Missing;
            return in;
        }
    }
    for (const QString &t : texts) {
        const auto v = readNumber(t);
        if (!v) {
            in.error = CalcError::Unusable;
            in.values.clear();
            return in;
        }
        in.values << *v;
    }
    return in;
}

} // namespace Brelvan
