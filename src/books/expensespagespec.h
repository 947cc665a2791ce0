#pragma once

#include "data/ui/pagespec.h"

namespace Brelvan {

// The Expenses page as data: the Expense grid, its choosers and tag tools.
const PageSpec &expensesPageSpec();

} // namespace Brelvan
