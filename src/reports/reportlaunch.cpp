#include "reports/reportlaunch.h"

#include "data/appvalues.h"
#include "data/formats.h"
#include "data/ui/mainaccess.h"
#include "platform/report/report.h"
#include "platform/report/reportviewer.h"
#include "reports/reportfurniture.h"
#include "data/appsettings.h"

#include <QApplication>

namespace Brelvan {

OwnerDetails ownerDetails(MainAccess &main)
{
    OwnerDetails o;
    for (const QString &name : ownerEditNames())
        o.text.insert(name, main.ownerText(name));
    o.companyFont = main.ownerFont(QStringLiteral("Co"));
    o.othersFont = main.ownerFont(QStringLiteral("CoDet"));
    o.taxLabel = main.settings().value(QStringLiteral("TIN/ABN#"));
    return o;
}

void standardFurniture(Report &report, MainAccess &main, const QString &formClass)
{
    report.dateFormat(shortDateFormat());
    Furniture::titleBand(report, ownerDetails(main),
                         main.values().programFolder + QStringLiteral("Logo.JPG"),
                         ownerVariantOf(formClass));
    Furniture::pageFooter(report);
}

void launchReport(MainAccess &, const QString &formClass, Report &report)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Document doc;
    try {
        doc = report.render();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    reportViewer().preview(formClass, report.reportTitle(), doc);
}

} // namespace Brelvan
