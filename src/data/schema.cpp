#include "data/schema.h"

namespace Brelvan {

using Table::FieldDef;
using Table::FieldType;
using Table::TableDef;

namespace {

FieldDef T(const char *name, int width) { return {QString::fromLatin1(name), FieldType::Text, width}; }
FieldDef D(const char *name) { return {QString::fromLatin1(name), FieldType::Date, 0}; }
FieldDef M(const char *name) { return {QString::fromLatin1(name), FieldType::Memo, 0}; }
FieldDef C(const char *name) { return {QString::fromLatin1(name), FieldType::Money, 0}; }
FieldDef F(const char *name) { return {QString::fromLatin1(name), FieldType::Float, 0}; }
FieldDef S(const char *name) { return {QString::fromLatin1(name), FieldType::SmallInt, 0}; }
FieldDef I(const char *name) { return {QString::fromLatin1(name), FieldType::Integer, 0}; }
FieldDef P(const char *name) { return {QString::fromLatin1(name), FieldType::Picture, 0}; }

// name1 .. name4 of one type
void four(QList<FieldDef> &out, const char *stem, FieldType type, int width)
{
    for (int i = 1; i <= 4; ++i)
        out.append({QString::fromLatin1(stem) + QString::number(i), type, width});
}

QStringList keys(std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *n : names)
        out << QString::fromLatin1(n);
    return out;
}

TableDef diary()
{
    return {QStringLiteral("Diary"), {D("DATE"), M("Day"), T("Tag", 1)}, keys({"DATE"}),
            {{QStringLiteral("Dates"), keys({"DATE"})}}};
}

TableDef names()
{
    return {QStringLiteral("Names"),
            {T("Surname", 30), T("FirstName", 12), T("Company", 40), D("EntryDate"),
             T("ABN", 25), T("AccountNo", 20), T("Cat", 3), T("Children", 50), T("Code", 6),
             D("DOB"), T("Email", 50), C("ExemptSup"), T("Fax", 20), T("Group", 6),
             T("Haddress", 50), T("Hcity", 50), F("Hours"), T("Hphone", 20), T("Hstate", 50),
             T("Hsuburb", 50), T("Hzip", 50), T("ID", 10), T("JobAddress", 60), T("Mobile", 20),
             T("N1", 35), F("N2"), C("N3"), M("Notes"), D("PaidDate"), T("PaidWay", 10),
             C("Pay"), P("Pix"), S("Ref"), T("Service", 200), T("Spouse", 20), T("Tag", 1),
             C("Tax"), T("Title", 30), T("Waddress", 50), T("Wcity", 50), T("Web", 100),
             T("Wphone", 20), T("Wstate", 50), T("Wsuburb", 50), T("Wzip", 50)},
            keys({"Surname", "FirstName", "Company", "EntryDate"}),
            {}};
}

TableDef expense()
{
    QList<FieldDef> f = {D("Date"), T("Bus", 10), T("Expense", 30), T("Supplier", 30),
                         T("Invoice", 20), C("Bank"), T("Cat", 12), T("Code", 12)};
    for (int i = 1; i <= 7; ++i)
        f.append({QStringLiteral("F%1").arg(i), FieldType::Money, 0});
    f << M("Notes") << C("Office") << C("Other") << T("PaidBy", 10) << T("Period", 6)
      << C("Phone") << T("Tag", 1) << C("Tax") << T("Year", 4);
    return {QStringLiteral("Expense"), f,
            keys({"Date", "Bus", "Expense", "Supplier", "Invoice"}), {}};
}

TableDef income()
{
    QList<FieldDef> f = {D("Date"), T("Bus", 10), T("Incom", 30), T("Sourc", 30),
                         F("InvoiceNo"), T("ABN", 25), C("Bank"), T("Cat", 12), T("Code", 12)};
    for (int i = 1; i <= 5; ++i)
        f.append({QStringLiteral("F%1").arg(i), FieldType::Money, 0});
    f << C("Interest") << M("Notes") << D("OrderDate") << T("OrderNo", 15) << T("PaidBy", 10)
      << T("Period", 6) << C("Sales") << T("Tag", 1) << C("Tax") << T("Year", 4);
    return {QStringLiteral("Income"), f, keys({"Date", "Bus", "Incom", "Sourc", "InvoiceNo"}),
            {}};
}

TableDef inventory()
{
    return {QStringLiteral("Inventory"),
            {T("ID", 10), D("DateIn"), D("DateOut"), T("Bus", 10), T("Cat", 3), T("Code", 6),
             C("Cost"), T("Item", 35), M("Notes"), F("Quantity"), C("Redeemed"), T("Tag", 1),
             T("Year", 4), C("TotalCost"), T("Units", 6), C("ValueNow"), F("NoSold"),
             C("SoldPrice"), F("NoOnHand"), C("ValueOnHand"), C("Loss"), T("Period", 4)},
            keys({"ID", "DateIn", "DateOut"}),
            {}};
}

TableDef wages()
{
    return {QStringLiteral("Wages"),
            {D("DatePaid"), T("Surname", 30), T("FirstName", 12), T("TFN", 25), T("PaidBy", 10),
             T("Tag", 1), T("Cat", 3), T("Code", 6), T("Active", 1), T("Period", 6),
             T("Year", 4), F("Hrs"), C("Wage"), C("Bonus"), C("Contract"), C("Gross"), C("Tax"),
             C("Health"), C("Levy"), C("Other"), T("Other1", 50), C("Super"), C("Union"),
             C("Net"), T("Hphone", 14), T("Mobile", 14), T("Haddress", 50), T("Hcity", 50),
             T("Hstate", 50), T("Hzip", 50), D("EntryDate"), T("Title", 30), D("DOB"),
             M("Notes"), T("SuperFund", 50)},
            keys({"DatePaid", "Surname", "FirstName", "TFN"}),
            {}};
}

TableDef paint()
{
    return {QStringLiteral("Paint"),
            {T("Code", 10), T("Maker", 20), T("Paint", 30), T("Type", 30), T("Size", 5),
             T("Colour", 20), F("Cost"), T("Flag", 1), T("GPCNo", 20), F("GST"),
             T("ProdNo", 20), T("Tag", 1), C("TotCost")},
            keys({"Code", "Maker", "Paint", "Type", "Size", "Colour"}),
            {}};
}

TableDef quote()
{
    QList<FieldDef> f = {I("QuoteNo"), T("Surname", 25), T("FirstName", 12), T("Company", 40),
                         T("ABN", 20), T("Code", 6), T("Colour2", 20), T("Colour3", 20),
                         T("Colour4", 20), D("Date"), T("Email", 30), T("Fax", 14)};
    four(f, "GPC", FieldType::Text, 20);
    f << C("GstPaid") << T("Haddress", 35) << T("Hcity", 25) << T("Hphone", 14)
      << T("Hstate", 4) << T("Hzip", 5) << F("InputCost") << T("JobAddress", 60)
      << F("LabHrs") << T("LabMargin", 4) << F("LabRate") << F("LabTot");
    four(f, "Maker", FieldType::Text, 20);
    f << T("Mobile", 14) << M("Notes") << T("OHMargin", 4);
    four(f, "Paint", FieldType::Text, 30);
    f << F("PaintCost");
    four(f, "Pcode", FieldType::Text, 4);
    four(f, "Pcost", FieldType::Float, 0);
    four(f, "Pgst", FieldType::Float, 0);
    four(f, "ProdNo", FieldType::Text, 20);
    f << C("Profit") << T("ProfitMargin", 4);
    four(f, "QP", FieldType::Float, 0);
    f << F("Quote") << M("Spec") << F("SubTotal") << F("SundryCost1") << F("SundryCost2")
      << T("SundryExp1", 25) << T("SundryExp2", 25) << T("Tag", 1) << T("Title", 25);
    four(f, "Type", FieldType::Text, 30);
    f << T("Waddress", 35) << T("Wcity", 25) << T("Wphone", 14) << T("Wstate", 4)
      << T("Wzip", 5);
    return {QStringLiteral("Quote"), f, keys({"QuoteNo", "Surname", "FirstName", "Company"}), {}};
}

TableDef jobs()
{
    QList<FieldDef> f = {F("QuoteNo"), T("Surname", 25), T("FirstName", 12), T("Company", 40),
                         T("ABN", 20), C("Adjust"), D("Awarded"), T("Code", 6),
                         T("Colour2", 20), T("Colour3", 20), T("Colour4", 20), D("Date"),
                         T("Email", 30), T("Fax", 14), D("Finished"), T("FinYr", 4),
                         C("GstPaid"), T("Haddress", 35), T("Hcity", 25), T("Hphone", 14),
                         T("Hstate", 4), T("Hzip", 5), F("InputCost"), T("JobAddress", 60),
                         F("JobHrs"), F("LabHrs"), T("LabMargin", 4), F("LabRate"), F("LabTot")};
    four(f, "Maker", FieldType::Text, 20);
    f << T("Mobile", 14) << M("Notes") << T("OHMargin", 4) << T("OrderNo", 15) << D("PaidUp");
    four(f, "Paint", FieldType::Text, 30);
    f << F("PaintCost");
    four(f, "Pcode", FieldType::Text, 4);
    four(f, "Pcost", FieldType::Float, 0);
    f << T("Period", 4);
    four(f, "Pgst", FieldType::Float, 0);
    f << T("ProfitMargin", 4);
    four(f, "QP", FieldType::Float, 0);
    f << F("Quote") << C("QuotedProfit") << F("Recd") << M("Spec") << D("Started")
      << F("SubTotal") << F("SundryCost1") << F("SundryCost2") << T("SundryExp1", 25)
      << T("SundryExp2", 25) << T("Tag", 1) << T("Title", 25);
    four(f, "Type", FieldType::Text, 30);
    f << T("Waddress", 35) << T("Wcity", 25) << T("Wphone", 14) << T("Wstate", 4)
      << T("Wzip", 5);
    return {QStringLiteral("Jobs"), f, keys({"QuoteNo", "Surname", "FirstName", "Company"}), {}};
}

TableDef lists()
{
    return {QStringLiteral("Lists"), {T("Folder", 240), T("BackUp", 3), T("Always", 3)},
            keys({"Folder"}), {}};
}

} // namespace

const Table::Schema &brelvanSchema()
{
    static const Table::Schema schema{
        1, {diary(), names(), expense(), income(), inventory(), wages(), paint(), quote(), jobs(),
            lists()}};
    return schema;
}

} // namespace Brelvan
