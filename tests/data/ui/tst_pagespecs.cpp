#include "books/expensespagespec.h"
#include "books/incomepagespec.h"
#include "clients/clientspagespec.h"
#include "data/schema.h"
#include "inventory/inventorypagespec.h"
#include "payroll/wagespagespec.h"
#include "platform/table/query.h"
#include "data/appsettings.h"
#include "trade/jobspagespec.h"
#include "trade/paintpagespec.h"
#include "trade/quotespagespec.h"

#include <QTest>

#include <algorithm>

using namespace Brelvan;

Q_DECLARE_METATYPE(const Brelvan::PageSpec *)

namespace {

const PageSpec *specByName(const QString &page)
{
    if (page == QLatin1String("Clients"))
        return &clientsPageSpec();
    if (page == QLatin1String("Expenses"))
        return &expensesPageSpec();
    if (page == QLatin1String("Income"))
        return &incomePageSpec();
    if (page == QLatin1String("Paint"))
        return &paintPageSpec();
    if (page == QLatin1String("Quotes"))
        return &quotesPageSpec();
    if (page == QLatin1String("Jobs"))
        return &jobsPageSpec();
    if (page == QLatin1String("Inventory"))
        return &inventoryPageSpec();
    return &wagesPageSpec();
}

QStringList fieldsOf(const QList<ColumnSpec> &columns)
{
    QStringList f;
    for (const ColumnSpec &c : columns)
        f << c.field;
    return f;
}

} // namespace

// Every page described as data is checked against the tables it shows, so a misspelt
// field, a sort entry the engine would refuse or a date default on the wrong column shows
// here rather than as an empty column or a failed query on screen.
class TestPageSpecs : public QObject
{
    Q_OBJECT

private slots:
    void columnsAgainstSchema_data();
    void columnsAgainstSchema();
    void choosersAgainstSchema_data();
    void choosersAgainstSchema();
    void standardPositions_data();
    void standardPositions();
    void perPageRules_data();
    void perPageRules();
    void jobsFiguresGrid();
};

static void pages()
{
    QTest::addColumn<QString>("page");
    for (const char *p :
         {"Clients", "Paint", "Quotes", "Jobs", "Expenses", "Income", "Inventory", "Wages"})
        QTest::newRow(p) << QString::fromLatin1(p);
}

void TestPageSpecs::columnsAgainstSchema_data()
{
    pages();
}

void TestPageSpecs::columnsAgainstSchema()
{
    QFETCH(QString, page);
    const PageSpec &s = *specByName(page);
    const Table::TableDef *table = brelvanSchema().table(s.table);
    QVERIFY2(table, qPrintable(s.table));
    QCOMPARE(s.page, page);

    QStringList seen;
    for (const ColumnSpec &c : s.columns) {
        const Table::FieldDef *f = table->field(c.field);
        QVERIFY2(f, qPrintable(s.table + "." + c.field));
        QCOMPARE(f->name, c.field); // spelt as the table spells it
        QVERIFY2(f->type != Table::FieldType::Memo, qPrintable(c.field + " is a memo"));
        QVERIFY2(!seen.contains(c.field), qPrintable(c.field + " shown twice"));
        seen << c.field;
        if (!c.titleSetting.isEmpty()) {
            const bool known = AppSettings::detailKeys().contains(c.titleSetting,
                                                                  Qt::CaseInsensitive)
                               || c.titleSetting == QLatin1String("SuperFundStr");
            QVERIFY2(known, qPrintable(c.titleSetting));
        }
    }
    // every page grid starts with its tag; the memo shows the record's notes
    QCOMPARE(s.columns.first().field, QStringLiteral("Tag"));
    if (!s.notesMemo.isEmpty())
        QVERIFY(table->field(QStringLiteral("Notes")));
}

void TestPageSpecs::choosersAgainstSchema_data()
{
    pages();
}

void TestPageSpecs::choosersAgainstSchema()
{
    QFETCH(QString, page);
    const PageSpec &s = *specByName(page);
    const Table::TableDef *table = brelvanSchema().table(s.table);
    // the items the shared selection runs search their field, and a number field by
    // equality; the cursor goes to a column showing that field
    for (const ChooserField &c : s.chooserFields) {
        QVERIFY2(s.chooserItems.contains(c.item), qPrintable(c.item));
        const Table::FieldDef *f = table->field(c.field);
        QVERIFY2(f, qPrintable(c.field));
        QCOMPARE(c.number, f->isNumber());
        if (c.column >= 0)
            QCOMPARE(s.columns.at(c.column).field, c.field);
    }
    // any other item names a field of the table, or has a selection of its own (the
    // Clients' birthday walk and invoice number)
    const QStringList own = page == QLatin1String("Clients")
                                ? QStringList{"DOB Tool", "InvNo"}
                                : QStringList();
    for (const QString &item : s.chooserItems) {
        const bool run = std::any_of(s.chooserFields.begin(), s.chooserFields.end(),
                                     [&item](const ChooserField &c) { return c.item == item; });
        QVERIFY2(run || table->field(item) || own.contains(item), qPrintable(item));
        QCOMPARE(own.contains(item), !run && !table->field(item));
    }
    QVERIFY(!s.chooserItems.contains(QStringLiteral("All")));
    QVERIFY(!s.chooserItems.contains(QStringLiteral("Tag")));

    // each sort entry is a query the engine runs, as the "All" selection writes it
    QStringList orders;
    for (const SortItem &item : s.sortItems)
        orders << item.orderBy;
    if (!s.startSortText.isEmpty())
        orders << s.startSortText;
    if (!s.defaultOrderBy.isEmpty())
        orders << s.defaultOrderBy;
    for (const QString &order : orders) {
        const QString sql = QStringLiteral("SELECT * FROM %1\r\nORDER by %2").arg(s.table, order);
        try {
            const Table::ParsedQuery q = Table::parseQuery(sql, brelvanSchema());
            QCOMPARE(q.order.size(), order.count(QLatin1Char(',')) + 1);
        } catch (const std::exception &e) {
            QFAIL(qPrintable(sql + ": " + QString::fromLocal8Bit(e.what())));
        }
    }
    // a page that starts on no sort item starts on a list of its own
    QVERIFY(s.startSortItem < s.sortItems.size());
    if (s.startSortItem < 0)
        QVERIFY(!s.startSortText.isEmpty() || !s.defaultOrderBy.isEmpty());
    else
        QVERIFY(s.startSortText.isEmpty());
}

void TestPageSpecs::standardPositions_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("title");
    QTest::newRow("clients entry date") << "Clients" << 7 << "EntryDate" << "";
    QTest::newRow("clients account no") << "Clients" << 10 << "AccountNo" << "Account No";
    QTest::newRow("clients inv no") << "Clients" << 41 << "Ref" << "Inv No";
    QTest::newRow("clients last") << "Clients" << 42 << "Service" << "Service Rendered";
    QTest::newRow("expenses date") << "Expenses" << 4 << "Date" << "";
    QTest::newRow("expenses summary") << "Expenses" << 11 << "Bank" << "Summary";
    QTest::newRow("expenses last") << "Expenses" << 22 << "F7" << "Tax Free";
    QTest::newRow("income date") << "Income" << 4 << "Date" << "";
    QTest::newRow("income ref no") << "Income" << 7 << "InvoiceNo" << "Ref No";
    QTest::newRow("income summary") << "Income" << 14 << "Bank" << "Summary";
    QTest::newRow("income last") << "Income" << 22 << "F5" << "Tax Free";
    QTest::newRow("paint product no") << "Paint" << 4 << "ProdNo" << "Product No";
    QTest::newRow("paint total") << "Paint" << 12 << "TotCost" << "TotalCost";
    QTest::newRow("quote date") << "Quotes" << 2 << "Date" << "";
    QTest::newRow("quote number") << "Quotes" << 3 << "QuoteNo" << "";
    QTest::newRow("quote paint 2 colour") << "Quotes" << 41 << "Colour2" << "";
    QTest::newRow("quote labour gst") << "Quotes" << 67 << "LabMargin" << "LabGST%";
    QTest::newRow("quote last") << "Quotes" << 77 << "ProfitMargin" << "ProfitMargin %";
    QTest::newRow("jobs date") << "Jobs" << 2 << "Date" << "";
    QTest::newRow("jobs awarded") << "Jobs" << 9 << "Awarded" << "";
    QTest::newRow("jobs started") << "Jobs" << 11 << "Started" << "";
    QTest::newRow("jobs finished") << "Jobs" << 12 << "Finished" << "";
    QTest::newRow("jobs paid up") << "Jobs" << 15 << "PaidUp" << "";
    QTest::newRow("jobs last") << "Jobs" << 19 << "ABN" << "";
    QTest::newRow("inventory date in") << "Inventory" << 4 << "DateIn" << "Date In";
    QTest::newRow("inventory total cost") << "Inventory" << 12 << "TotalCost" << "Total Cost";
    QTest::newRow("inventory last") << "Inventory" << 20 << "Loss" << "";
    QTest::newRow("wages date paid") << "Wages" << 4 << "DatePaid" << "";
    QTest::newRow("wages details") << "Wages" << 22 << "Other1" << "Details";
    QTest::newRow("wages last") << "Wages" << 33 << "TFN" << "";
}

void TestPageSpecs::standardPositions()
{
    QFETCH(QString, page);
    QFETCH(int, position);
    QFETCH(QString, field);
    QFETCH(QString, title);
    const PageSpec &s = *specByName(page);
    QVERIFY(position < s.columns.size());
    QCOMPARE(s.columns.at(position).field, field);
    QCOMPARE(s.columns.at(position).title, title);
    if (field == s.columns.last().field)
        QCOMPARE(s.columns.size(), position + 1);
}

void TestPageSpecs::perPageRules_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("clearFlips");
    QTest::addColumn<bool>("reverseFlips");
    QTest::addColumn<bool>("toLast");
    QTest::addColumn<bool>("enterMoves");
    QTest::addColumn<QStringList>("nav");
    QTest::addColumn<QStringList>("tools"); // the tag strip's tools and the Toggle
    QTest::addColumn<QString>("startOrder");
    QTest::addColumn<int>("chooserItems"); // with "All" and "Tag"
    QTest::addColumn<bool>("dated");
    const QStringList withMoves = {"first", "prior", "next", "last", "insert", "delete",
                                   "post", "cancel"};
    const QStringList withRefresh = {"first", "last", "insert", "delete", "post", "cancel",
                                     "refresh"};
    const QStringList clients = withMoves + QStringList{"refresh"};
    const QStringList books = {"tag all", "clear", "reverse", "sum", "toggle"};
    const QStringList trade = {"clear", "all"};
    const QStringList full = {"tag all", "clear", "reverse", "all", "sum"};
    QTest::newRow("Clients") << "Clients" << true << true << false << true << clients
                             << QStringList{"tag all", "clear", "reverse", "toggle"}
                             << "Surname,FirstName,Company,EntryDate" << 34 << true;
    QTest::newRow("Paint") << "Paint" << true << false << false << true << withMoves << trade
                           << "Code,Maker,Paint,Type,Size,Colour" << 10 << false;
    QTest::newRow("Quotes") << "Quotes" << true << false << true << false << withMoves << trade
                            << "QuoteNo,Surname,FirstName,Company" << 10 << false;
    QTest::newRow("Jobs") << "Jobs" << true << false << false << true << withMoves << trade
                          << "QuoteNo,Surname,FirstName,Company" << 12 << true;
    QTest::newRow("Expenses") << "Expenses" << true << true << true << true << withRefresh
                              << books << "Date,Bus,Expense,Supplier,Invoice" << 14 << true;
    QTest::newRow("Income") << "Income" << true << true << true << true << withRefresh << books
                            << "Date,Bus,Incom,Sourc,InvoiceNo" << 12 << true;
    QTest::newRow("Inventory") << "Inventory" << false << false << true << true << withRefresh
                               << full << "ID,DateIn,DateOut" << 9 << false;
    QTest::newRow("Wages") << "Wages" << false << false << true << true << withRefresh << full
                           << "DatePaid,Surname,Firstname,TFN" << 10 << false;
}

void TestPageSpecs::perPageRules()
{
    QFETCH(QString, page);
    QFETCH(bool, clearFlips);
    QFETCH(bool, reverseFlips);
    QFETCH(bool, toLast);
    QFETCH(bool, enterMoves);
    QFETCH(QStringList, nav);
    QFETCH(QStringList, tools);
    QFETCH(QString, startOrder);
    QFETCH(int, chooserItems);
    QFETCH(bool, dated);
    const PageSpec &s = *specByName(page);
    QCOMPARE(s.clearFlips, clearFlips);
    QCOMPARE(s.reverseFlips, reverseFlips);
    QCOMPARE(s.clearGoesToLast, toLast);
    QCOMPARE(s.enterMoves, enterMoves);
    QCOMPARE(s.navigatorButtons, nav);
    QVERIFY(!s.clearTagsButton.isEmpty());
    QCOMPARE(!s.tagAllButton.isEmpty(), tools.contains("tag all"));
    QCOMPARE(!s.clearTagsButton.isEmpty(), tools.contains("clear"));
    QCOMPARE(!s.reverseTagsButton.isEmpty(), tools.contains("reverse"));
    QCOMPARE(!s.allButton.isEmpty(), tools.contains("all"));
    QCOMPARE(!s.sumButton.isEmpty(), tools.contains("sum"));
    QCOMPARE(!s.toggle.isEmpty(), tools.contains("toggle"));
    const QString order = !s.startSortText.isEmpty() ? s.startSortText
                          : s.startSortItem >= 0     ? s.sortItems.at(s.startSortItem).orderBy
                                                     : s.defaultOrderBy;
    QCOMPARE(order, startOrder);
    QCOMPARE(s.chooserItems.size() + 2, chooserItems);
    // date defaults name the field standing at their position, and that field is a date
    for (const auto &d : s.dateDefaults) {
        QCOMPARE(s.columns.at(d.first).field, d.second);
        QCOMPARE(brelvanSchema().table(s.table)->field(d.second)->type, Table::FieldType::Date);
    }
    QCOMPARE(!s.dateDefaults.isEmpty(), dated);
}

void TestPageSpecs::jobsFiguresGrid()
{
    const QStringList f = fieldsOf(jobsFiguresColumns());
    const Table::TableDef *jobs = brelvanSchema().table(QStringLiteral("Jobs"));
    for (const QString &field : f)
        QVERIFY2(jobs->field(field), qPrintable(field));
    QCOMPARE(f.size(), 25);
    QCOMPARE(f.mid(0, 4), QStringList({"Pcost1", "Pgst1", "Pcost2", "Pgst2"}));
    // GstPaid is read beside the paint cost and again with the input cost
    QCOMPARE(f.count(QStringLiteral("GstPaid")), 2);
    QCOMPARE(f.indexOf(QStringLiteral("GstPaid")), 9);
    QCOMPARE(f.lastIndexOf(QStringLiteral("GstPaid")), 19);
    QCOMPARE(f.last(), QStringLiteral("QuotedProfit"));
    QCOMPARE(jobsFiguresColumns().at(12).title, QStringLiteral("LabGST%"));
    // the two grids share no figure the user could edit in two places at once
    for (const QString &field : fieldsOf(jobsPageSpec().columns))
        QVERIFY2(!f.contains(field), qPrintable(field));
}

QTEST_GUILESS_MAIN(TestPageSpecs)
#include "tst_pagespecs.moc"
