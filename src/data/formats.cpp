#include "data/formats.h"

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Brelvan {

namespace {
QString g_shortDate = QStringLiteral("dd/MM/yyyy");
}

QString shortDateFormat() { return g_shortDate; }

void setShortDateFormat(const QString &qtFormat)
{
    g_shortDate = qtFormat == QLatin1String("MM/dd/yyyy") ? qtFormat : QStringLiteral("dd/MM/yyyy");
}

QString shortDate(const QDate &date)
{
    return date.isValid() ? date.toString(g_shortDate) : QString();
}

QString dateTimeText(const QDateTime &when)
{
    return shortDate(when.date()) + QLatin1Char(' ') + when.time().toString(longTimeFormat());
}

QString noteStamp(const QDateTime &when)
{
    return dateTimeText(when) + QLatin1Char(' ');
}

double roundHalfAway(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    // The figure as shown is decimal: 1.005 is stored as 1.00499999..., which still rounds
    // up. Rounding the scaled figure as 15 significant digits first takes the binary error
    // away at every size, where a fixed nudge would grow past a cent on large figures.
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.15g", value * scale);
    const double x = std::strtod(digits, nullptr);
    const double r = x < 0 ? std::trunc(x - 0.5) : std::trunc(x + 0.5);
    return r / scale + 0.0; // no negative zero
}

QLocale moneyLocale()
{
    const QLocale system;
    if (system.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::Australia);
    return system;
}

QString formatMoney(double value)
{
    return moneyLocale().toCurrencyString(roundHalfAway(value, 2), QString(), 2);
}

} // namespace Brelvan
