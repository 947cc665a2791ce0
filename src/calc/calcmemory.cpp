#include "calc/calcmemory.h"

#include "data/ui/mainaccess.h"

#include <QWidget>

namespace Brelvan {

CalcMemory &CalcMemory::of(MainAccess &main)
{
    // held by the main window, so it lasts as long as the run and a new run starts afresh
    QWidget *window = main.window();
    auto *memory = window->findChild<CalcMemory *>(QStringLiteral("CalcMemory"),
                                                   Qt::FindDirectChildrenOnly);
    if (!memory) {
        memory = new CalcMemory(window);
        memory->setObjectName(QStringLiteral("CalcMemory"));
    }
    return *memory;
}

} // namespace Brelvan
