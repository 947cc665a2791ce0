#pragma once

#include "data/ui/pagespec.h"

namespace Brelvan {

// The Inventory page as data: the goods grid with its computed columns, the choosers,
// the tag tools, the notes memo and the totals footer.
const PageSpec &inventoryPageSpec();

} // namespace Brelvan
