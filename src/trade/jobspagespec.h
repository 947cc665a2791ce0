#pragma once

#include "data/ui/pagespec.h"

namespace Brelvan {

// The Jobs page as data: the jobs grid, its choosers, tag tools, date defaults and notes.
const PageSpec &jobsPageSpec();

// The figures grid beside the jobs grid, over the same query.
inline constexpr const char *jobsFiguresGridName = "JobsGrid2";
const QList<ColumnSpec> &jobsFiguresColumns();

} // namespace Brelvan
