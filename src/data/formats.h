#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace Brelvan {

// The short date format in force: "dd/MM/yyyy", or "MM/dd/yyyy" by the DateFormat setting.
QString shortDateFormat();
void setShortDateFormat(const QString &qtFormat);
// The long time format, "hh:mm:ss".
inline QString longTimeFormat() { return QStringLiteral("hh:mm:ss"); }

// A date in the short date format; empty for an invalid date.
QString shortDate(const QDate &date);
// Date, a space and the long time: the form of log lines and report footers.
QString dateTimeText(const QDateTime &when);
// The stamp appended to a note: short date, space, long time and one space.
QString noteStamp(const QDateTime &when);

// value rounded to decimals places, halves away from zero (0.125 -> 0.13, -0.125 -> -0.13).
double roundHalfAway(double value, int decimals = 2);

// Money in the system currency format with two decimals; en_AU when the system has none.
QString formatMoney(double value);
// The locale money and numbers are shown in.
QLocale moneyLocale();

} // namespace Brelvan
