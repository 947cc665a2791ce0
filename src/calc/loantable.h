#pragma once

#include <QString>
#include <QStringList>

namespace Brelvan {

struct LoanFigures;

// The most repayments a schedule or table lists: beyond it (over a century of daily
// repayments) a listing would run to hundreds of pages and stall the program.
constexpr int maxListedRepayments = 50000;

// The Borrow Detail table: the loan's heading, the column heads and one line a repayment,
// with interest on the reducing balance. Its fixed-width fields are as wide as their widest
// value, so a large figure never runs into the next field.
QString borrowDetailTable(const LoanFigures &loan, const QString &rateText,
                          const QString &termText, const QString &repaymentText,
                          const QString &startDate);

// The repayment schedule's lines: the repayment number and the balance owed after it, the
// balance falling by `averagePrincipal` each time and never past nought.
QStringList repaymentSchedule(double principal, double averagePrincipal, int repayments);

} // namespace Brelvan
