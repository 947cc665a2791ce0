#include "inventory/inventorypagespec.h"

namespace Brelvan {

namespace {

PageSpec makeInventorySpec()
{
    PageSpec s;
    s.page = QStringLiteral("Inventory");
    s.id = Page::Inventory;
    s.dataset = QStringLiteral("Invent");
    s.table = QStringLiteral("Inventory");

    s.grid = QStringLiteral("InventGrid");
    s.headPanel = QStringLiteral("InventHeadPanel");
    s.subHeadPanel = QStringLiteral("InventSubHead");
    s.footer = QStringLiteral("InventFooter");
    s.fieldChooser = QStringLiteral("InventSel");
    s.filterEdit = QStringLiteral("InventFilter");
    s.sortChooser = QStringLiteral("InventCombo");
    s.flashLabel = QStringLiteral("FlashInvent");
    s.navigator = QStringLiteral("InventNavigator");
    s.navigatorButtons = {"first", "last", "insert", "delete", "post", "cancel", "refresh"};
    s.notesMemo = QStringLiteral("InventNotes");

    s.tagAllButton = QStringLiteral("TagInventBtn");
    s.clearTagsButton = QStringLiteral("ClrInventTagsBtn");
    s.reverseTagsButton = QStringLiteral("SwapInventBtn");
    s.allButton = QStringLiteral("AllInventBtn");
    s.sumButton = QStringLiteral("TotInventBtn");
    s.clearFlips = false;
    s.reverseFlips = false;
    s.clearGoesToLast = true;
    s.afterTagAll = PageSpec::AfterTagAll::AllCaptionRed;

    // the last five are worked out by the Sum and are not typed
    s.columns = {
        {.field = "Tag", .centred = true},
        {.field = "Bus"},
        {.field = "Code", .width = 64},
        {.field = "Cat"},
        {.field = "DateIn", .title = "Date In"},
        // four figures of a year are wider than four average letters
        {.field = "Year", .width = 46},
        {.field = "Period"},
        {.field = "ID"},
        {.field = "Item"},
        {.field = "Units"},
        {.field = "Quantity"},
        {.field = "Cost"},
        {.field = "TotalCost", .title = "Total Cost", .readOnly = true},
        {.field = "ValueNow", .title = "Value Now"},
        {.field = "NoSold"},
        {.field = "DateOut", .title = "Date Out"},
        {.field = "SoldPrice"},
        {.field = "Redeemed", .readOnly = true},
        {.field = "NoOnHand", .readOnly = true},
        {.field = "ValueOnHand", .readOnly = true},
        {.field = "Loss", .readOnly = true},
    };

    s.chooserItems = {"Bus", "Cat", "Code", "ID", "Item", "Period", "Year"};
    for (const char *e : {"Bus,DateIn", "Cat,DateIn", "Code,DateIn", "Cost,DateIn",
                          "DateIn,Item", "DateOut,Item", "ID,DateIn", "Item,DateIn",
                          "Loss,DateIn", "NoOnHand", "NoSold,DateOut", "Quantity,DateIn",
                          "Redeemed,DateOut", "SoldPrice,DateOut", "TotalCost,DateIn",
                          "Units,DateIn", "ValueNow,DateIn", "ValueOnHand,DateIn",
                          "Year,DateIn"})
        s.sortItems.append({QString::fromLatin1(e), QString::fromLatin1(e)});
    // the start order is the key order, which is none of the list's entries
    s.startSortItem = -1;
    s.startSortText = QStringLiteral("ID,DateIn,DateOut");
    s.defaultOrderBy = s.startSortText;
    s.sortTyped = true;
    s.gridFocusOnShow = true;
    return s;
}

} // namespace

const PageSpec &inventoryPageSpec()
{
    static const PageSpec spec = makeInventorySpec();
    return spec;
}

} // namespace Brelvan
