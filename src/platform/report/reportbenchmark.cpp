#include "platform/report/reportbenchmark.h"

#include "platform/report/exporter.h"
#include "platform/report/memorysource.h"
#include "platform/report/report.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

namespace Brelvan {

ReportBenchmark renderListBenchmark(int lines)
{
    QList<QVariantMap> rows;
    rows.reserve(lines);
    const QDate start(2016, 7, 1);
    for (int i = 0; i < lines; ++i) {
        rows.append({{"Date", start.addDays(i / 6)},
                     {"Supplier", QStringLiteral("Supplier %1").arg(i % 173)},
                     {"Cat", QStringLiteral("Cat %1").arg(i % 11)},
                     {"Expense", (i % 997) * 1.37},
                     {"Tax", (i % 997) * 0.137},
                     {"Bank", (i % 997) * 1.507}});
    }
    MemorySource source(rows);

    Report r;
    r.setReportTitle(QStringLiteral("Expense Report")).landscape().source(&source);
    r.now(QDateTime(QDate(2026, 3, 15), QTime(9, 30)));
    Band &title = r.title().height(41);
    title.image(0, 0, 42.3, 31.75);
    title.text(0, 1.3, r.printWidth(), 8, QStringLiteral("Your Company")).centre().size(20).bold();
    Band &header = r.columnHeader().height(7);
    const char *names[] = {"Date", "Supplier", "Cat", "Expense", "Tax", "Bank"};
    const double x[] = {0, 30, 90, 140, 180, 220};
    for (int c = 0; c < 6; ++c) {
        auto &t = header.text(x[c], 1, c < 3 ? 50 : 35, 5, QString::fromLatin1(names[c])).bold();
        if (c >= 3)
            t.right();
    }
    Band &detail = r.detail().height(4.5);
    for (int c = 0; c < 6; ++c) {
        auto &t = detail.field(x[c], 0, c < 3 ? 50 : 35, 4.5, QString::fromLatin1(names[c]));
        if (c >= 3)
            t.right();
    }
    Band &summary = r.summary().height(8);
    summary.text(0, 1, 30, 5, QStringLiteral("Total Records")).bold();
    summary.count(32, 1, 20, 5);
    for (int c = 3; c < 6; ++c)
        summary.sum(x[c], 1, 35, 5, QString::fromLatin1(names[c])).right();
    Band &footer = r.pageFooter().height(10.6);
    footer.reportTitle(0, 3, 60, 5);
    footer.pageNumber(110, 3, 60, 5).prefix(QStringLiteral("Page ")).centre();
    footer.printDateTime(190, 3, 87, 5).prefix(QStringLiteral("Printed ")).right();

    ReportBenchmark result;
    result.lines = lines;
    QElapsedTimer timer;
    timer.start();
    const Document doc = r.render();
    result.renderSeconds = timer.nsecsElapsed() / 1e9;
    result.pages = doc.pageCount();

    QTemporaryDir dir;
    timer.restart();
    exportDocument(doc, ExportFormat::Pdf, dir.filePath(QStringLiteral("bench.pdf")));
    result.pdfSeconds = timer.nsecsElapsed() / 1e9;
    return result;
}

} // namespace Brelvan
