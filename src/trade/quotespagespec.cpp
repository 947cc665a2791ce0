#include "trade/quotespagespec.h"

namespace Brelvan {

namespace {

PageSpec makeQuotesSpec()
{
    PageSpec s;
    s.page = QStringLiteral("Quotes");
    s.id = Page::Quotes;
    s.dataset = QStringLiteral("Quote");
    s.table = QStringLiteral("Quote");

    s.grid = QStringLiteral("QuoteGrid");
    s.headPanel = QStringLiteral("QuoteHead");
    s.subHeadPanel = QStringLiteral("QuoteSubHead");
    s.fieldChooser = QStringLiteral("QuoteSel");
    s.filterEdit = QStringLiteral("QuoteFilter");
    s.sortChooser = QStringLiteral("QuoteCombo");
    s.flashLabel = QStringLiteral("FlashQuote");
    s.navigator = QStringLiteral("QuoteNavigator");
    s.navigatorButtons = {"first", "prior", "next", "last", "insert", "delete", "post", "cancel"};
    s.notesMemo = QStringLiteral("QuoteNote");
    s.notesStamp = false;
    s.notesReadOnly = true;

    s.clearTagsButton = QStringLiteral("ClearQuoteTagsBtn");
    s.allButton = QStringLiteral("AllQuoteBtn");
    s.clearFlips = true;
    s.clearGoesToLast = true;
    s.enterMoves = false;
    s.titleSort = false;

    s.columns = {
        {.field = "Tag", .centred = true},
        {.field = "Code"},
        {.field = "Date"},
        {.field = "QuoteNo"},
        {.field = "FirstName"},
        {.field = "Surname"},
        {.field = "JobAddress"},
        {.field = "Quote"},
        {.field = "Profit"},
    };
    // the client's contact and address fields, as the quote copies them
    for (const char *f : {"Company", "ABN", "Hphone", "Wphone", "Mobile", "Fax", "Email",
                          "Waddress", "Wcity", "Wstate", "Wzip", "Haddress", "Hcity", "Hstate",
                          "Hzip", "Title"})
        s.columns.append({.field = f});
    for (int n = 1; n <= 4; ++n) {
        for (const char *f : {"QP", "Pcode", "Maker", "Paint", "ProdNo", "GPC", "Type"})
            s.columns.append({.field = QLatin1String(f) + QString::number(n)});
        if (n >= 2) // there is no colour of paint 1
            s.columns.append({.field = QStringLiteral("Colour%1").arg(n)});
        s.columns.append({.field = QStringLiteral("Pcost%1").arg(n)});
        s.columns.append({.field = QStringLiteral("Pgst%1").arg(n)});
    }
    s.columns.append({
        {.field = "PaintCost"},
        {.field = "LabHrs"},
        {.field = "LabRate"},
        {.field = "LabMargin", .title = "LabGST%"},
        {.field = "LabTot"},
        {.field = "SundryExp1"},
        {.field = "SundryCost1"},
        {.field = "SundryExp2"},
        {.field = "SundryCost2"},
        {.field = "InputCost"},
        {.field = "GstPaid"},
        {.field = "OHMargin", .title = "OHMargin %"},
        {.field = "SubTotal"},
        {.field = "ProfitMargin", .title = "ProfitMargin %"},
    });

    s.chooserItems = {"Code", "Company", "FirstName", "Hcity", "Hzip", "Surname", "Wcity",
                      "Wzip"};
    s.sortItems = quoteSortItems();
    s.startSortItem = 0;
    return s;
}

} // namespace

QList<SortItem> quoteSortItems()
{
    QList<SortItem> items;
    for (const char *e : {"QuoteNo,Surname,FirstName,Company", "Company", "QuoteNo,Date",
                          "Surname,FirstName", "Date,QuoteNo"})
        items.append({QString::fromLatin1(e), QString::fromLatin1(e)});
    return items;
}

const PageSpec &quotesPageSpec()
{
    static const PageSpec spec = makeQuotesSpec();
    return spec;
}

} // namespace Brelvan
