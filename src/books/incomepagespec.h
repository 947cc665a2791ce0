#pragma once

#include "data/ui/pagespec.h"

namespace Brelvan {

// The Income page as data: the Income grid, its choosers and tag tools.
const PageSpec &incomePageSpec();

} // namespace Brelvan
