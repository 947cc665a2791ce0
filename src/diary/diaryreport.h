#pragma once

#include <QString>

namespace Brelvan {

class MainAccess;
namespace Table {
class Dataset;
}

// TDiaryForm over the days of source as they stand (all, tagged or found): each day's date
// and note, "Total Records", previewed until the user closes it.
void previewDiaryReport(MainAccess &main, Table::Dataset &source);
// TPrintToDoForm: every line of the to-do box in one stretching block.
void previewToDoReport(MainAccess &main, const QString &toDoText);

} // namespace Brelvan
