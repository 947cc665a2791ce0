#include "payroll/wagespagespec.h"

namespace Brelvan {

namespace {

PageSpec makeWagesSpec()
{
    PageSpec s;
    s.page = QStringLiteral("Wages");
    s.id = Page::Wages;
    s.dataset = QStringLiteral("Wages");
    s.table = QStringLiteral("Wages");

    s.grid = QStringLiteral("WagesGrid");
    s.headPanel = QStringLiteral("WageHeadPanel");
    s.subHeadPanel = QStringLiteral("WageSubHead");
    s.footer = QStringLiteral("WageFooter");
    s.fieldChooser = QStringLiteral("WagesSel");
    s.filterEdit = QStringLiteral("WagesFilter");
    s.sortChooser = QStringLiteral("WagesCombo");
    s.flashLabel = QStringLiteral("FlashWages");
    s.navigator = QStringLiteral("WagesNavigator");
    s.navigatorButtons = {"first", "last", "insert", "delete", "post", "cancel", "refresh"};
    s.notesMemo = QStringLiteral("WageNote");

    s.tagAllButton = QStringLiteral("TagWagesBtn");
    s.clearTagsButton = QStringLiteral("ClrWagesTagsBtn");
    s.reverseTagsButton = QStringLiteral("SwapWagesBtn");
    s.allButton = QStringLiteral("AllWagesBtn");
    s.sumButton = QStringLiteral("TotWagesBtn");
    s.clearFlips = false;
    s.reverseFlips = false;
    s.clearGoesToLast = true;
    s.afterTagAll = PageSpec::AfterTagAll::AllCaptionRed;
    s.reverseShowsAllBeforePost = true;

    using Tint = ColumnSpec::Tint;
    s.columns = {
        {.field = "Tag", .centred = true},
        {.field = "Code"},
        {.field = "Cat"},
        {.field = "Active", .centred = true},
        {.field = "DatePaid"},
        // stamped from the pay date when the record is left
        {.field = "Year", .tint = Tint::Grey, .readOnly = true, .width = 46},
        {.field = "Period", .tint = Tint::Grey, .readOnly = true},
        {.field = "PaidBy"},
        {.field = "FirstName"},
        {.field = "Surname"},
        {.field = "Hrs"},
        {.field = "Wage"},
        {.field = "Bonus"},
        {.field = "Contract"},
        {.field = "Gross"},
        {.field = "Net"},
        {.field = "Tax"},
        {.field = "Health", .titleSetting = "Health"},
        {.field = "Levy", .titleSetting = "Levy"},
        {.field = "Super", .titleSetting = "Super"},
        {.field = "SuperFund", .titleSetting = "SuperFundStr"},
        {.field = "Other"},
        {.field = "Other1", .title = "Details"},
        {.field = "Union"},
        {.field = "Hphone"},
        {.field = "Mobile"},
        {.field = "Haddress"},
        {.field = "Hcity"},
        {.field = "Hstate"},
        {.field = "Hzip"},
        {.field = "EntryDate"},
        {.field = "Title"},
        {.field = "DOB"},
        {.field = "TFN", .titleSetting = "TaxFileNo"},
    };

    s.chooserItems = {"Active", "Cat", "Code", "FirstName", "PaidBy", "Period", "Surname",
                      "Year"};
    for (const char *e : {"Active,DatePaid,Surname,FirstName", "Cat,DatePaid", "Code,DatePaid",
                          "FirstName,Surname,DatePaid", "DatePaid,Surname,Firstname,TFN",
                          "EntryDate,Surname,FirstName", "FirstName,Surname,DatePaid",
                          "Gross,DatePaid", "Hcity,Surname,FirstName,EntryDate",
                          "Hrs,DatePaid", "Net,DatePaid", "PaidBy,DatePaid",
                          "Surname,FirstName,DatePaid"})
        s.sortItems.append({QString::fromLatin1(e), QString::fromLatin1(e)});
    s.startSortItem = 4; // "DatePaid,Surname,Firstname,TFN", also the default for typed text
    s.defaultOrderBy = QStringLiteral("DatePaid,Surname,Firstname,TFN");
    s.sortTyped = true;
    return s;
}

} // namespace

const PageSpec &wagesPageSpec()
{
    static const PageSpec spec = makeWagesSpec();
    return spec;
}

} // namespace Brelvan
