#include "platform/report/reportviewer.h"

namespace Brelvan {

namespace {

class NoViewer final : public ReportViewer
{
public:
    void preview(const QString &, const QString &, const Document &) override {}
};

NoViewer g_noViewer;
ReportViewer *g_viewer = &g_noViewer;

} // namespace

ReportViewer::~ReportViewer() = default;

ReportViewer &reportViewer()
{
    return *g_viewer;
}

void installReportViewer(ReportViewer *viewer)
{
    g_viewer = viewer ? viewer : &g_noViewer;
}

} // namespace Brelvan
