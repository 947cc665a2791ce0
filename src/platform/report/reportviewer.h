#pragma once

#include "platform/report/document.h"

namespace Brelvan {

// Where a rendered report goes to be seen: the program installs the preview window,
// tests keep the Document. Until one is installed, previews go nowhere.
class ReportViewer
{
public:
    virtual ~ReportViewer();
    virtual void preview(const QString &formClass, const QString &title, const Document &doc) = 0;
};

ReportViewer &reportViewer();
// Installs `viewer` (not owned); nullptr restores the one that does nothing.
void installReportViewer(ReportViewer *viewer);

} // namespace Brelvan
