#pragma once

#include "reports/ownerblock.h"

namespace Brelvan {

class MainAccess;
class Report;

// The owner details of the Office page as they stand now.
OwnerDetails ownerDetails(MainAccess &main);

// The standard letterhead of a report form (title band by its variant) and page footer.
void standardFurniture(Report &report, MainAccess &main, const QString &formClass);

// Renders the report and shows its preview; returns when the preview is closed.
void launchReport(MainAccess &main, const QString &formClass, Report &report);

} // namespace Brelvan
