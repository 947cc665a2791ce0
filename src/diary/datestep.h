#pragma once

#include <QDate>

namespace Brelvan::DateStep {

// The same day of the next month; that month's last day when it is shorter.
QDate monthOn(const QDate &date);
// The same day of the previous month; that month's last day when it is shorter.
QDate monthBack(const QDate &date);
// The same day and month of the next year; 29 February becomes 28 February first.
QDate yearOn(const QDate &date);
// The same day and month of the previous year; 29 February becomes 28 February first.
QDate yearBack(const QDate &date);
// The date moved by whole weeks (negative: back).
QDate weeks(const QDate &date, int count);

} // namespace Brelvan::DateStep
