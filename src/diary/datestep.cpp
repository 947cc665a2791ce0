#include "diary/datestep.h"

namespace Brelvan::DateStep {

namespace {

// Lands in the neighbouring month by its first or last day, then keeps the day of the
// month it started from as far as the new month allows.
QDate dayInMonthOf(const QDate &landed, int day)
{
    return QDate(landed.year(), landed.month(), qMin(day, landed.daysInMonth()));
}

QDate stepYear(const QDate &date, int years)
{
    if (!date.isValid())
        return {};
    int day = date.day();
    if (date.month() == 2 && day == 29)
        day = 28;
    return QDate(date.year() + years, date.month(), day);
}

} // namespace

QDate monthOn(const QDate &date)
{
    if (!date.isValid())
        return {};
    const QDate last(date.year(), date.month(), date.daysInMonth());
    return dayInMonthOf(last.addDays(1), date.day());
}

QDate monthBack(const QDate &date)
{
    if (!date.isValid())
        return {};
    const QDate first(date.year(), date.month(), 1);
    return dayInMonthOf(first.addDays(-1), date.day());
}

QDate yearOn(const QDate &date)
{
    return stepYear(date, 1);
}

QDate yearBack(const QDate &date)
{
    return stepYear(date, -1);
}

QDate weeks(const QDate &date, int count)
{
    return date.isValid() ? date.addDays(7 * qint64(count)) : QDate();
}

} // namespace Brelvan::DateStep
