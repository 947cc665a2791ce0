#include "trade/jobspagespec.h"

#include "trade/quotespagespec.h"

namespace Brelvan {

namespace {

PageSpec makeJobsSpec()
{
    PageSpec s;
    s.page = QStringLiteral("Jobs");
    s.id = Page::Jobs;
    s.dataset = QStringLiteral("Jobs");
    s.table = QStringLiteral("Jobs");

    s.grid = QStringLiteral("JobsGrid");
    s.headPanel = QStringLiteral("JobsHead");
    s.subHeadPanel = QStringLiteral("JobsSubHead");
    s.fieldChooser = QStringLiteral("JobSel");
    s.filterEdit = QStringLiteral("JobFilter");
    s.sortChooser = QStringLiteral("JobCombo");
    s.flashLabel = QStringLiteral("FlashJobs");
    s.navigator = QStringLiteral("JobsNavigator");
    s.navigatorButtons = {"first", "prior", "next", "last", "insert", "delete", "post", "cancel"};
    s.notesMemo = QStringLiteral("JobNotes");
    s.notesStamp = false;
    s.filterTextApplies = false;

    s.clearTagsButton = QStringLiteral("ClearJobsTagsBtn");
    s.allButton = QStringLiteral("AllJobsBtn");
    s.clearFlips = true;
    s.clearGoesToLast = false;

    s.columns = {
        {.field = "Tag", .centred = true},
        {.field = "Code"},
        {.field = "Date"},
        {.field = "QuoteNo"},
        {.field = "Title", .width = 48}, // "Mr", "Mrs": the names beside it matter more
        {.field = "FirstName"},
        {.field = "Surname"},
        {.field = "Company"},
        {.field = "JobAddress"},
        {.field = "Awarded"},
        {.field = "OrderNo"},
        {.field = "Started"},
        {.field = "Finished"},
        {.field = "JobHrs"},
        {.field = "Adjust"},
        {.field = "PaidUp"},
        {.field = "Recd"},
        {.field = "FinYr"},
        {.field = "Period"},
        {.field = "ABN"},
    };
    s.dateDefaults = {{2, QStringLiteral("Date")},
                      {9, QStringLiteral("Awarded")},
                      {11, QStringLiteral("Started")},
                      {12, QStringLiteral("Finished")},
                      {15, QStringLiteral("PaidUp")}};
    s.dateDefaultWhenTextEmpty = true;

    s.chooserItems = {"Code", "Company", "FinYr", "FirstName", "Hcity", "Hzip", "Period",
                      "Surname", "Wcity", "Wzip"};
    s.sortItems = quoteSortItems();
    s.startSortItem = 0;
    return s;
}

QList<ColumnSpec> makeFiguresColumns()
{
    QList<ColumnSpec> c;
    for (int n = 1; n <= 4; ++n) {
        c.append({.field = QStringLiteral("Pcost%1").arg(n)});
        c.append({.field = QStringLiteral("Pgst%1").arg(n)});
    }
    // GstPaid stands both beside the paint cost and with the input cost, as the quote
    // figures are read in two places
    c.append({
        {.field = "PaintCost"},
        {.field = "GstPaid"},
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
        {.field = "Quote"},
        {.field = "QuotedProfit"},
    });
    return c;
}

} // namespace

const PageSpec &jobsPageSpec()
{
    static const PageSpec spec = makeJobsSpec();
    return spec;
}

const QList<ColumnSpec> &jobsFiguresColumns()
{
    static const QList<ColumnSpec> columns = makeFiguresColumns();
    return columns;
}

} // namespace Brelvan
