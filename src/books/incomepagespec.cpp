#include "books/incomepagespec.h"

#include "books/bookscolumns.h"

namespace Brelvan {

namespace {

using Books::column;
using Books::titled;
using Tint = ColumnSpec::Tint;

PageSpec makeIncomeSpec()
{
    PageSpec s;
    s.page = QStringLiteral("Income");
    s.id = Page::Income;
    s.dataset = QStringLiteral("Income");
    s.table = QStringLiteral("Income");
    s.grid = QStringLiteral("IncomeGrid");
    s.headPanel = QStringLiteral("IncHeadPanel");
    s.subHeadPanel = QStringLiteral("IncSubHead");
    s.footer = QStringLiteral("IncomeFooter");
    s.fieldChooser = QStringLiteral("IncomeSel");
    s.filterEdit = QStringLiteral("IncomeFilter");
    s.sortChooser = QStringLiteral("IncomeCombo");
    s.toggle = QStringLiteral("IncomeToggle");
    s.flashLabel = QStringLiteral("FlashInc");
    s.navigator = QStringLiteral("IncNavigator");
    s.navigatorButtons = {"first", "last", "insert", "delete", "post", "cancel", "refresh"};
    s.notesMemo = QStringLiteral("NoteInc");
    s.notesHint = QStringLiteral("Double click to append Date and Time.");
    s.tagAllButton = QStringLiteral("TagIncomeBtn");
    s.clearTagsButton = QStringLiteral("ClrIncomeTagsBtn");
    s.reverseTagsButton = QStringLiteral("SwapIncBtn");
    s.sumButton = QStringLiteral("TotIncBtn");
    s.clearFlips = true;
    s.reverseFlips = true;
    s.clearGoesToLast = true;

    ColumnSpec tax = titled("Tax", "VAT", Tint::Tinted);
    tax.navyText = true;
    s.columns = {column("Tag"),       column("Bus"),     column("Code"),
                 column("Cat"),       column("Date"),    column("Year", nullptr, Tint::Grey),
                 column("Period", nullptr, Tint::Grey),  column("InvoiceNo", "Ref No"),
                 column("OrderNo"),   column("OrderDate"), column("Incom", "Income"),
                 column("Sourc", "Source"), column("ABN"), column("PaidBy"),
                 column("Bank", "Summary", Tint::Tinted), tax,
                 column("Interest"),  column("Sales"),
                 titled("F1", "I1"), titled("F2", "I2"), titled("F3", "I3"), titled("F4", "I4"),
                 column("F5", "Tax Free", Tint::Navy)};
    s.columns[0].width = 28;
    s.columns[1].width = 60;
    s.columns[2].width = 75;
    s.columns[3].width = 75;
    s.columns[4].width = 80;
    s.columns[5].width = 42;
    s.columns[6].width = 45;
    s.columns[7].width = 60;
    s.columns[8].width = 75;
    s.columns[9].width = 80;
    s.columns[10].width = 160;
    s.columns[11].width = 150;
    s.columns[12].width = 90;
    s.columns[13].width = 70;
    s.columns[14].width = 75;
    s.columns[15].width = 65;
    s.columns[16].width = 65;
    s.columns[17].width = 65;
    s.columns[18].width = 65;
    s.columns[19].width = 65;
    s.columns[20].width = 65;
    s.columns[21].width = 65;
    s.columns[22].width = 65;

    s.chooserItems = {"Bus",    "Cat",   "Code",   "Income",  "PaidBy",
                      "Period", "Sales", "Source", "Summary", "Year"};
    s.chooserFields = {{"Bus", "Bus"},
                       {"Cat", "Cat"},
                       {"Code", "Code"},
                       {"Income", "Incom"},
                       {"PaidBy", "PaidBy"},
                       {"Period", "Period"},
                       {"Sales", "Sales", true, 17},
                       {"Source", "Sourc"},
                       {"Summary", "Bank", true, 14},
                       {"Year", "Year"}};
    s.sortItems = {{"Accounting", "Bus,Code,Cat,Date"},
                   {"Bus,Date", "Bus,Date"},
                   {"Cat,Date", "Cat,Date"},
                   {"Code,Date", "Code,Date"},
                   {"Date", "Date,Bus,Incom,Sourc,InvoiceNo"},
                   {"Income,Date", "Incom,Date"},
                   {"RefNo", "InvoiceNo"},
                   {"OrderDate", "OrderDate"},
                   {"OrderNo", "OrderNo"},
                   {"PaidBy,Date", "PaidBy,Date"},
                   {"Source,Date", "Sourc,Date"},
                   {"Summary,Date", "Bank,Date"}};
    s.startSortItem = -1;
    s.defaultOrderBy = QStringLiteral("Date,Bus,Incom,Sourc,InvoiceNo");
    s.dateDefaults = {{4, QStringLiteral("Date")}};
    s.afterTagAll = PageSpec::AfterTagAll::Nothing;
    return s;
}

} // namespace

const PageSpec &incomePageSpec()
{
    static const PageSpec spec = makeIncomeSpec();
    return spec;
}

} // namespace Brelvan
