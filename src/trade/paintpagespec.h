#pragma once

#include "data/ui/pagespec.h"

namespace Brelvan {

// The Paint page as data: the price list grid, its choosers and its tag tools.
const PageSpec &paintPageSpec();

} // namespace Brelvan
