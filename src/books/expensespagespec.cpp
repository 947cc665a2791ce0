#include "books/expensespagespec.h"

#include "books/bookscolumns.h"

namespace Brelvan {

namespace {

using Books::column;
using Books::titled;
using Tint = ColumnSpec::Tint;

PageSpec makeExpensesSpec()
{
    PageSpec s;
    s.page = QStringLiteral("Expenses");
    s.id = Page::Expenses;
    s.dataset = QStringLiteral("Expend");
    s.table = QStringLiteral("Expense");
    s.grid = QStringLiteral("ExpendGrid");
    s.headPanel = QStringLiteral("ExpHeadPanel");
    s.subHeadPanel = QStringLiteral("ExpSubHead");
    s.footer = QStringLiteral("ExpendFooter");
    s.fieldChooser = QStringLiteral("ExpendSel");
    s.filterEdit = QStringLiteral("ExpendFilter");
    s.sortChooser = QStringLiteral("ExpendCombo");
    s.toggle = QStringLiteral("ExpendToggle");
    s.flashLabel = QStringLiteral("FlashExp");
    s.navigator = QStringLiteral("ExpNavigator");
    s.navigatorButtons = {"first", "last", "insert", "delete", "post", "cancel", "refresh"};
    s.notesMemo = QStringLiteral("NoteExp");
    s.notesHint = QStringLiteral("Double click to append Date and Time.");
    s.tagAllButton = QStringLiteral("TagExpendBtn");
    s.clearTagsButton = QStringLiteral("ClrExpendTagsBtn");
    s.reverseTagsButton = QStringLiteral("SwapExpBtn");
    s.sumButton = QStringLiteral("TotExpBtn");
    s.clearFlips = true;
    s.reverseFlips = true;
    s.clearGoesToLast = true;

    ColumnSpec tax = titled("Tax", "VAT", Tint::Tinted);
    tax.navyText = true;
    s.columns = {column("Tag"),    column("Bus"),      column("Code"),
                 column("Cat"),    column("Date"),     column("Expense"),
                 column("Supplier"), column("Year", nullptr, Tint::Grey),
                 column("Period", nullptr, Tint::Grey), column("Invoice"),
                 column("PaidBy"), column("Bank", "Summary", Tint::Tinted), tax,
                 column("Office"), column("Other"),    column("Phone"),
                 titled("F1", "E1"), titled("F2", "E2"), titled("F3", "E3"),
                 titled("F4", "E4"), titled("F5", "E5"), titled("F6", "E6"),
                 column("F7", "Tax Free", Tint::Navy)};
    s.columns[0].width = 28;
    s.columns[1].width = 60;
    s.columns[2].width = 75;
    s.columns[3].width = 75;
    s.columns[4].width = 80;
    s.columns[5].width = 160;
    s.columns[6].width = 150;
    s.columns[7].width = 42;
    s.columns[8].width = 45;
    s.columns[9].width = 80;
    s.columns[10].width = 70;
    s.columns[11].width = 75;
    s.columns[12].width = 65;
    s.columns[13].width = 65;
    s.columns[14].width = 65;
    s.columns[15].width = 65;
    s.columns[16].width = 65;
    s.columns[17].width = 65;
    s.columns[18].width = 65;
    s.columns[19].width = 65;
    s.columns[20].width = 65;
    s.columns[21].width = 65;
    s.columns[22].width = 65;

    s.chooserItems = {"Bus",    "Cat",    "Code",  "Expense", "Office",   "Other",
                      "PaidBy", "Period", "Phone", "Summary", "Supplier", "Year"};
    s.chooserFields = {{"Bus", "Bus"},
                       {"Cat", "Cat"},
                       {"Code", "Code"},
                       {"Expense", "Expense"},
                       {"Office", "Office", true, 13},
                       {"Other", "Other", true, 14},
                       {"PaidBy", "PaidBy"},
                       {"Period", "Period"},
                       {"Phone", "Phone", true, 15},
                       {"Summary", "Bank", true, 11},
                       {"Supplier", "Supplier"},
                       {"Year", "Year"}};
    s.sortItems = {{"Accounting", "Bus,Code,Cat,Date"},
                   {"Bus,Date", "Bus,Date"},
                   {"Cat,Date", "Cat,Date"},
                   {"Code,Date", "Code,Date"},
                   {"Date,Bus,Expense,Supplier,Invoice", "Date,Bus,Expense,Supplier,Invoice"},
                   {"Expense,Date", "Expense,Date"},
                   {"Invoice", "Invoice"},
                   {"PaidBy,Date", "PaidBy,Date"},
                   {"Summary,Date", "Bank,Date"},
                   {"Supplier,Date", "Supplier,Date"}};
    s.startSortItem = -1;
    s.defaultOrderBy = QStringLiteral("Date,Bus,Expense,Supplier,Invoice");
    s.dateDefaults = {{4, QStringLiteral("Date")}};
    s.afterTagAll = PageSpec::AfterTagAll::ApplySelection;
    return s;
}

} // namespace

const PageSpec &expensesPageSpec()
{
    static const PageSpec spec = makeExpensesSpec();
    return spec;
}

} // namespace Brelvan
