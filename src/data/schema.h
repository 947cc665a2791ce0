#pragma once

#include "platform/table/tabledef.h"

namespace Brelvan {

// The program's nine record tables and the backup list table, with their keys: the one
// definition used to check a data folder, to make one, and by the grids.
const Table::Schema &brelvanSchema();

} // namespace Brelvan
