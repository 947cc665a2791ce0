#pragma once

#include "data/ui/recordpage.h"

namespace Brelvan {

// The Inventory page: goods bought, held and sold, on the shared record page.
class InventoryPage : public RecordPage
{
    Q_OBJECT

public:
    explicit InventoryPage(MainAccess &main);
};

InventoryPage *createInventoryPage(MainAccess &main);

} // namespace Brelvan
