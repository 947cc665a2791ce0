#include "trade/paintpagespec.h"

namespace Brelvan {

namespace {

PageSpec makePaintSpec()
{
    PageSpec s;
    s.page = QStringLiteral("Paint");
    s.id = Page::Paint;
    s.dataset = QStringLiteral("Paint");
    s.table = QStringLiteral("Paint");

    s.grid = QStringLiteral("PaintGrid");
    s.headPanel = QStringLiteral("PaintHead");
    s.subHeadPanel = QStringLiteral("PaintSubHead");
    s.fieldChooser = QStringLiteral("PaintSel");
    s.filterEdit = QStringLiteral("PaintFilter");
    s.sortChooser = QStringLiteral("PaintCombo");
    s.flashLabel = QStringLiteral("FlashPaint");
    s.navigator = QStringLiteral("PaintNavigator");
    s.navigatorButtons = {"first", "prior", "next", "last", "insert", "delete", "post", "cancel"};

    s.clearTagsButton = QStringLiteral("ClrPaintTagsBtn");
    s.allButton = QStringLiteral("AllPaintBtn");
    s.clearFlips = true;
    s.clearGoesToLast = false;

    s.columns = {
        {.field = "Tag", .centred = true},
        {.field = "Code"},
        {.field = "Maker"},
        {.field = "Paint"},
        {.field = "ProdNo", .title = "Product No"},
        {.field = "GPCNo", .title = "GPC No"},
        {.field = "Type"},
        {.field = "Colour"},
        {.field = "Size"},
        {.field = "Flag", .centred = true},
        {.field = "Cost"},
        {.field = "GST"},
        {.field = "TotCost", .title = "TotalCost"},
    };
    s.chooserItems = {"Code", "Colour", "GPCNo", "Maker", "Paint", "ProdNo", "Size", "Type"};
    // The list shows its entries as the price list always has; the engine takes commas
    // only, so the semicolon entries order by the same fields written with commas.
    const QStringList entries = {"Code,Maker,Paint,Type,Size,Colour", "ProdNo",
                                 "Code;Maker;Type", "Maker;Type", "Type;Maker",
                                 "Cost;Size;Type;Maker", "Size;Cost;Type;Maker",
                                 "Paint;Maker;Size", "GPCNo"};
    for (const QString &e : entries)
        s.sortItems.append({e, QString(e).replace(QLatin1Char(';'), QLatin1Char(','))});
    s.startSortItem = 0;
    // the price list keeps its place after start-up; the other lists go to their end
    s.startAtLast = false;
    s.gridFocusOnShow = true;
    return s;
}

} // namespace

const PageSpec &paintPageSpec()
{
    static const PageSpec spec = makePaintSpec();
    return spec;
}

} // namespace Brelvan
