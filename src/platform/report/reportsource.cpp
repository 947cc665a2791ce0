#include "platform/report/reportsource.h"

namespace Brelvan {

ReportSource::~ReportSource() = default;

} // namespace Brelvan
