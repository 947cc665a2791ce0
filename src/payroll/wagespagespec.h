#pragma once

#include "data/ui/pagespec.h"

namespace Brelvan {

// The Wages page as data: the pays grid, its choosers, tag tools, notes and totals footer.
const PageSpec &wagesPageSpec();

} // namespace Brelvan
