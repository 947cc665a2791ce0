#include "clients/clientspagespec.h"

namespace Brelvan {

namespace {

ColumnSpec col(const char *field, const char *title = nullptr, const char *setting = nullptr)
{
    ColumnSpec c;
    c.field = QString::fromLatin1(field);
    if (title)
        c.title = QString::fromLatin1(title);
    if (setting)
        c.titleSetting = QString::fromLatin1(setting);
    return c;
}

PageSpec makeClientsSpec()
{
    PageSpec s;
    s.page = QStringLiteral("Clients");
    s.id = Page::Clients;
    s.dataset = QStringLiteral("Names");
    s.table = QStringLiteral("Names");
    s.grid = QStringLiteral("NamesGrid");
    s.headPanel = QStringLiteral("ClientHead");
    s.subHeadPanel = QStringLiteral("ClientSubHead");
    s.fieldChooser = QStringLiteral("NamesSel");
    s.filterEdit = QStringLiteral("NamesFilter");
    s.sortChooser = QStringLiteral("NamesCombo");
    s.toggle = QStringLiteral("NamesToggle");
    s.flashLabel = QStringLiteral("FlashNames");
    s.navigator = QStringLiteral("NameNavigator");
    s.navigatorButtons = {"first", "prior", "next", "last", "insert", "delete",
                          "post",  "cancel", "refresh"};
    s.notesMemo = QStringLiteral("ClientNotes");
    s.notesHint = QStringLiteral("Double click to append Date and Time.");
    s.tagAllButton = QStringLiteral("TagNamesBtn");
    s.clearTagsButton = QStringLiteral("ClrNamesTagsBtn");
    s.reverseTagsButton = QStringLiteral("SwapNamesBtn");
    s.clearFlips = true;
    s.reverseFlips = true;
    s.clearGoesToLast = false;
    s.columns = {col("Tag"),      col("Code"),      col("Cat"),       col("Group"),
                 col("FirstName"), col("Surname"),  col("ID"),        col("EntryDate"),
                 col("Company"),  col("ABN", nullptr, "TIN/ABN#"),   col("AccountNo", "Account No"),
                 col("Hphone"),   col("Wphone"),    col("Mobile"),    col("Fax"),
                 col("Email"),    col("Web"),       col("Waddress"),  col("Wsuburb"),
                 col("Wcity", "Wcity / Province"),  col("Wstate", "Wstate / Nation"),
                 col("Wzip"),     col("Title"),     col("JobAddress"), col("Haddress"),
                 col("Hsuburb"),  col("Hcity", "Hcity / Province"),
                 col("Hstate", "Hstate / Nation"), col("Hzip"), col("DOB"), col("Spouse"),
                 col("Children"), col("N1", nullptr, "Alpha"), col("N2", nullptr, "Number"),
                 col("N3", nullptr, "Money"), col("Hours"), col("Pay", "Taxable"),
                 col("Tax", nullptr, "VAT"), col("ExemptSup", "Tax Exempt"), col("PaidDate"),
                 col("PaidWay"), col("Ref", "Inv No"), col("Service", "Service Rendered")};
    s.columns[0].width = 28;
    s.columns[1].width = 50;
    s.columns[2].width = 50;
    s.columns[3].width = 55;
    s.columns[4].width = 100;
    s.columns[5].width = 110;
    s.columns[6].width = 60;
    s.columns[7].width = 80;
    s.columns[8].width = 170;
    s.chooserItems = {"Cat",     "Code",    "Company", "DOB",     "DOB Tool", "Email",
                      "EntryDate", "Fax",   "FirstName", "Group", "Haddress", "Hcity",
                      "Hphone",  "Hstate",  "Hsuburb", "Hzip",    "ID",       "InvNo",
                      "Mobile",  "PaidDate", "PaidWay", "Service", "Spouse",  "Surname",
                      "Title",   "Waddress", "Wcity",  "Web",     "Wphone",   "Wstate",
                      "Wsuburb", "Wzip"};
    // the items that search their own field by containment; DOB, DOB Tool, EntryDate,
    // InvNo and PaidDate have selections of their own
    const QStringList own = {"DOB", "DOB Tool", "EntryDate", "InvNo", "PaidDate"};
    for (const QString &item : s.chooserItems) {
        if (!own.contains(item))
            s.chooserFields.append({item, item});
    }
    const QStringList sorts = {
        "Cat,EntryDate,Surname,FirstName,Company", "Code,EntryDate,Surname,FirstName,Company",
        "Company,EntryDate,Surname,FirstName", "DOB,Surname,FirstName",
        "EntryDate,Surname,FirstName,Company", "Fax,Surname,FirstName,EntryDate",
        "FirstName,Surname,EntryDate", "Group,Surname,FirstName,Company,EntryDate",
        "Hcity,Surname,FirstName,EntryDate", "Hphone,EntryDate",
        "Hstate,Surname,FirstName,EntryDate", "Hsuburb,Surname,FirstName,EntryDate",
        "Hzip,Surname,FirstName,EntryDate", "ID,EntryDate", "InvNo",
        "Mobile,EntryDate", "PaidDate,Company,Surname,FirstName",
        "PaidWay,PaidDate,Company,Surname,FirstName", "Surname,FirstName,Company,EntryDate",
        "Wcity,Company,Surname,FirstName,EntryDate", "Wphone,Company,Surname,FirstName,EntryDate",
        "Wstate,Company,Surname,FirstName,EntryDate",
        "Wsuburb,Company,Surname,FirstName,EntryDate", "Wzip,Company,Surname,FirstName,EntryDate"};
    for (const QString &t : sorts)
        s.sortItems.append({t, t == QLatin1String("InvNo") ? QStringLiteral("Ref") : t});
    s.startSortItem = 18;
    s.dateDefaults = {{7, QStringLiteral("EntryDate")}};
    s.afterTagAll = PageSpec::AfterTagAll::Nothing;
    s.tagAllHourglass = false;
    s.allUnticksToggle = false;
    s.postInsertOnLeave = true;
    s.startAtLast = false;
    s.gridFocusOnShow = true;
    return s;
}

} // namespace

const PageSpec &clientsPageSpec()
{
    static const PageSpec spec = makeClientsSpec();
    return spec;
}

} // namespace Brelvan
