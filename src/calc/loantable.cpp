#include "calc/loantable.h"

#include "calc/calcnumbers.h"
#include "calc/loancalc.h"

#include <array>
#include <vector>

namespace Brelvan {

QString borrowDetailTable(const LoanFigures &loan, const QString &rateText,
                          const QString &termText, const QString &repaymentText,
                          const QString &startDate)
{
    QStringList lines;
    lines << QStringLiteral(" Loan = ") + formatCurrency(loan.principal) + QStringLiteral(" at ")
                 + rateText + QStringLiteral("%  Interest  over ") + termText
                 + QStringLiteral(" Years")
          << QString()
          << QStringLiteral("\tDate\t\t\t\t\t\t\tPrincipal\t  Balance\t\tCumulative")
          << QStringLiteral(" #\tDue\t        Principal\t  + Interest\t - Repayment\tPaid\t"
                            "  Owed\t\tInterest")
          << QString();

    // number, due date, balance, interest, repayment, principal paid, balance after,
    // cumulative interest
    enum { No, Due, Balance, Interest, Repayment, Paid, Owed, Cumulative, Fields };
    using Row = std::array<QString, Fields>;
    const int n = wholeRepayments(loan.repayments);
    const double p = loan.periodicRate;
    const double r = loan.repayment;
    std::vector<Row> rows;
    rows.reserve(size_t(std::max(n, 0)));
    double b = loan.principal;
    double c = b * p;
    for (int k = 1; k <= n; ++k) {
        const double i = b * p;
        const double after = b + i - r;
        rows.push_back({QString::number(k), startDate, formatCurrency(b), formatCurrency(i),
                        repaymentText, formatCurrency(r - i), formatCurrency(after),
                        formatCurrency(c)});
        b = after;
        c += b * p;
    }

    std::array<int, Fields> width = {8, 16, 0, 10, 12, 10, 10, 0};
    for (const Row &row : rows) {
        for (int f = 0; f < Fields; ++f)
            width[f] = std::max(width[f], int(row[f].size()));
    }
    auto field = [&](const Row &row, int f) { return row[f].leftJustified(width[f]); };
    for (const Row &row : rows) {
        lines << field(row, No) + QLatin1Char('\t') + field(row, Due) + row[Balance]
                     + QStringLiteral("\t  + ") + field(row, Interest) + QStringLiteral("\t- $")
                     + field(row, Repayment) + QLatin1Char('\t') + field(row, Paid)
                     + QStringLiteral("  ") + field(row, Owed) + QStringLiteral("   \t")
                     + row[Cumulative];
    }
    return lines.join(QLatin1Char('\n'));
}

QStringList repaymentSchedule(double principal, double averagePrincipal, int repayments)
{
    QStringList lines;
    lines.reserve(std::max(repayments, 0));
    for (int k = 1; k <= repayments; ++k) {
        double owed = principal - k * averagePrincipal;
        // a fractional count of repayments pays the loan off within the last one
        if ((owed < 0) != (principal < 0))
            owed = 0;
        lines << QString::number(k).rightJustified(5) + QString(k == 1 ? 8 : 7, QLatin1Char(' '))
                     + formatFixed(owed, 15, 0).rightJustified(15);
    }
    return lines;
}

} // namespace Brelvan
