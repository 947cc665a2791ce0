#include "calc/calcreports.h"

#include "data/appvalues.h"
#include "data/formats.h"
#include "data/ui/mainaccess.h"
#include "platform/report/memorysource.h"
#include "platform/report/report.h"
#include "reports/reportfurniture.h"
#include "reports/reportlaunch.h"

namespace Brelvan {

namespace {

const QString arial = QStringLiteral("Arial");
constexpr double labelX = 21.2;
constexpr double valueX = 91.0;
constexpr double lineHeight = 8;

// A heading and its box from `top`; returns the box's bottom.
double summaryBox(Band &band, double width, double top, const SummaryBox &box)
{
    band.text(labelX, top, width - labelX, 7, box.heading).font(arial, 14).bold();
    const double boxTop = top + 9;
    const double boxHeight = box.lines.size() * lineHeight + 4;
    band.frame(10, boxTop, width - 20, boxHeight).width(0.4);
    double y = boxTop + 2.5;
    for (const SummaryLine &line : box.lines) {
        band.text(labelX, y, valueX - labelX - 2, 6, line.label).font(arial, 11).bold();
        band.text(valueX, y, width - valueX - 12, 6, line.value).font(arial, 11);
        y += lineHeight;
    }
    return boxTop + boxHeight;
}

} // namespace

void buildCalcSummary(Report &report, const OwnerDetails &owner, const QString &logoFile,
                      const QString &title, const SummaryBox &requirements,
                      const SummaryBox &outcome)
{
    report.setReportTitle(title);
    report.font(QFont(arial, 10));
    report.dateFormat(shortDateFormat());
    report.margins(QMarginsF(10, 20, 10, 10));
    Furniture::titleBand(report, owner, logoFile, OwnerVariant::Standard);

    const double width = report.printWidth();
    Band &body = report.detail();
    const double first = summaryBox(body, width, 8, requirements);
    const double second = summaryBox(body, width, first + 10, outcome);
    body.height(second + 4);

    Band &footer = report.pageFooter().height(10.6);
    const QFont font(arial, 10);
    footer.reportTitle(0, 2, width / 2, 5).font(font).left();
    footer.printDateTime(width / 2, 2, width / 2, 5)
        .prefix(QStringLiteral("Printed "))
        .font(font)
        .right();
}

void previewCalcSummary(MainAccess &main, const QString &formClass, const QString &title,
                        const SummaryBox &requirements, const SummaryBox &outcome)
{
    Report report;
    buildCalcSummary(report, ownerDetails(main),
                     main.values().programFolder + QStringLiteral("Logo.JPG"), title,
                     requirements, outcome);
    launchReport(main, formClass, report);
}

void buildRepaymentSchedule(Report &report, const ScheduleHeading &heading)
{
    report.columns(4);

    const double width = report.printWidth();
    Band &title = report.title();
    const QColor navy(0, 0, 0x80);
    title.text(0, 42, width / 2, 6, heading.loan).font(arial, 11).bold().colour(navy);
    title.text(width / 2, 42, width / 2, 6, heading.repayment)
        .font(arial, 11)
        .bold()
        .colour(navy)
        .right();
    title.height(50);

    // a fixed-pitch face keeps the right-aligned numbers of the lines in line
    const QFont mono(QStringLiteral("Courier New"), 7.5);
    Band &head = report.columnHeader().height(6);
    for (int c = 0; c < 4; ++c) {
        const double x = c * report.columnWidth();
        head.text(x, 1, report.columnWidth(), 4,
                  QStringLiteral("  No.") + QString(11, QLatin1Char(' '))
                      + QStringLiteral("Balance Owed"))
            .font(mono)
            .bold();
    }
    report.detail().height(3.8).field(0, 0, report.columnWidth(), 3.8, QStringLiteral("Line"))
        .font(mono);
}

void previewRepaymentSchedule(MainAccess &main, const ScheduleHeading &heading,
                              const QStringList &lines)
{
    Report report;
    report.setReportTitle(QStringLiteral(" Repayment Schedule."));
    report.margins(QMarginsF(10, 15, 15, 10));
    standardFurniture(report, main, QStringLiteral("TBorrowingForm"));
    buildRepaymentSchedule(report, heading);
    MemorySource rows;
    for (const QString &line : lines)
        rows.append({{QStringLiteral("Line"), line}});
    report.source(&rows);
    launchReport(main, QStringLiteral("TBorrowingForm"), report);
}

} // namespace Brelvan
