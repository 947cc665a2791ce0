#pragma once

#include "data/ui/pagespec.h"

namespace Brelvan {

// The Clients page as data: the Names grid, its choosers and tag tools.
const PageSpec &clientsPageSpec();

} // namespace Brelvan
