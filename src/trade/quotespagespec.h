#pragma once

#include "data/ui/pagespec.h"

namespace Brelvan {

// The Quotes page as data: the quotes grid, its choosers, its tag tools and the pricing
// notes memo.
const PageSpec &quotesPageSpec();

// The sort entries of the Quotes and Jobs pages, which list quotes and jobs alike.
QList<SortItem> quoteSortItems();

} // namespace Brelvan
