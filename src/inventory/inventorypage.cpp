#include "inventory/inventorypage.h"

#include "inventory/inventorypagespec.h"
#include "platform/widgets/shapebutton.h"

namespace Brelvan {

InventoryPage *createInventoryPage(MainAccess &main)
{
    return new InventoryPage(main);
}

InventoryPage::InventoryPage(MainAccess &main) : RecordPage(main, inventoryPageSpec())
{
    // the totals are worked out by the Sum of the inventory calculation, not yet here
    sumButton()->setEnabled(false);
}

} // namespace Brelvan
