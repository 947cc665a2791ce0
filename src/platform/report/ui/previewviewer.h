#pragma once

#include "platform/report/reportviewer.h"

namespace Brelvan {

// The program's report viewer: the preview window, modal over the active window.
class PreviewViewer : public ReportViewer
{
public:
    void preview(const QString &formClass, const QString &title, const Document &doc) override;
};

} // namespace Brelvan
