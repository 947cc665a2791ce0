#include "diary/diaryreport.h"

#include "platform/report/report.h"
#include "platform/table/dataset.h"
#include "reports/datasetsource.h"
#include "reports/reportfurniture.h"
#include "reports/reportlaunch.h"

namespace Brelvan {

void previewDiaryReport(MainAccess &main, Table::Dataset &source)
{
    Report report;
    report.setReportTitle(QStringLiteral("Diary Report"));
    standardFurniture(report, main, QStringLiteral("TDiaryForm"));
    Band &detail = report.detail().height(6);
    detail.field(0, 0.5, 28, 5, QStringLiteral("DATE")).bold();
    detail.field(30, 0.5, report.printWidth() - 30, 5, QStringLiteral("Day"))
        .wrap()
        .format([](const QVariant &v) {
            QString note = v.toString();
            return note.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        });
    Furniture::totalRecords(report);
    DatasetSource rows(source);
    report.source(&rows);
    launchReport(main, QStringLiteral("TDiaryForm"), report);
}

void previewToDoReport(MainAccess &main, const QString &toDoText)
{
    Report report;
    report.setReportTitle(QStringLiteral("ToDo Report"));
    report.font(QFont(QStringLiteral("Arial"), 10));
    standardFurniture(report, main, QStringLiteral("TPrintToDoForm"));
    report.setValue(QStringLiteral("ToDo"), toDoText);
    report.detail().height(6).field(0, 0.5, report.printWidth(), 5, QStringLiteral("ToDo")).wrap();
    launchReport(main, QStringLiteral("TPrintToDoForm"), report);
}

} // namespace Brelvan
