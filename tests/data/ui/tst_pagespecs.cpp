#include "data/schema.h"
#include "inventory/inventorypagespec.h"
#include "payroll/wagespagespec.h"
#include "platform/table/query.h"
#include "data/appsettings.h"
#include "trade/jobspagespec.h"
#include "trade/paintpagespec.h"
#include "trade/quotespagespec.h"

#include <QTest>

using namespace Brelvan;

Q_DECLARE_METATYPE(const Brelvan::PageSpec *)

namespace {

const PageSpec *specByName(const QString &page)
{
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
    for (const char *p : {"Paint", "Quotes", "Jobs", "Inventory", "Wages"})
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
    for (const QString &item : s.chooserItems)
        QVERIFY2(table->field(item), qPrintable(item));
    QVERIFY(!s.chooserItems.contains(QStringLiteral("All")));
    QVERIFY(!s.chooserItems.contains(QStringLiteral("Tag")));

    // each sort entry is a query the engine runs, as the "All" selection writes it
    QStringList orders;
    for (const SortItem &item : s.sortItems)
        orders << item.orderBy;
    if (!s.startSortText.isEmpty())
        orders << s.startSortText;
    for (const QString &order : orders) {
        const QString sql = QStringLiteral("SELECT * FROM %1\r\nORDER by %2").arg(s.table, order);
        try {
            const Table::ParsedQuery q = Table::parseQuery(sql, brelvanSchema());
            QCOMPARE(q.order.size(), order.count(QLatin1Char(',')) + 1);
        } catch (const std::exception &e) {
            QFAIL(qPrintable(sql + ": " + QString::fromLocal8Bit(e.what())));
        }
    }
    QVERIFY(s.startSortItem < s.sortItems.size());
    QCOMPARE(s.startSortItem < 0, !s.startSortText.isEmpty());
}

void TestPageSpecs::standardPositions_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("title");
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
    QTest::addColumn<bool>("flips");
    QTest::addColumn<bool>("toLast");
    QTest::addColumn<bool>("enterMoves");
    QTest::addColumn<QStringList>("nav");
    const QStringList withMoves = {"first", "prior", "next", "last", "insert", "delete",
                                   "post", "cancel"};
    const QStringList withRefresh = {"first", "last", "insert", "delete", "post", "cancel",
                                     "refresh"};
    QTest::newRow("Paint") << "Paint" << true << false << true << withMoves;
    QTest::newRow("Quotes") << "Quotes" << true << true << false << withMoves;
    QTest::newRow("Jobs") << "Jobs" << true << false << true << withMoves;
    QTest::newRow("Inventory") << "Inventory" << false << true << true << withRefresh;
    QTest::newRow("Wages") << "Wages" << false << true << true << withRefresh;
}

void TestPageSpecs::perPageRules()
{
    QFETCH(QString, page);
    QFETCH(bool, flips);
    QFETCH(bool, toLast);
    QFETCH(bool, enterMoves);
    QFETCH(QStringList, nav);
    const PageSpec &s = *specByName(page);
    QCOMPARE(s.clearFlips, flips);
    QCOMPARE(s.reverseFlips, false);
    QCOMPARE(s.clearGoesToLast, toLast);
    QCOMPARE(s.enterMoves, enterMoves);
    QCOMPARE(s.navigatorButtons, nav);
    QVERIFY(!s.clearTagsButton.isEmpty());
    QVERIFY(!s.allButton.isEmpty());
    // only Inventory and Wages tag, reverse and sum from their tag strip
    const bool full = page == QLatin1String("Inventory") || page == QLatin1String("Wages");
    QCOMPARE(!s.tagAllButton.isEmpty(), full);
    QCOMPARE(!s.reverseTagsButton.isEmpty(), full);
    QCOMPARE(!s.sumButton.isEmpty(), full);
    QVERIFY(s.toggle.isEmpty());
    // date defaults name the field standing at their position, and that field is a date
    for (const auto &d : s.dateDefaults) {
        QCOMPARE(s.columns.at(d.first).field, d.second);
        QCOMPARE(brelvanSchema().table(s.table)->field(d.second)->type, Table::FieldType::Date);
    }
    QCOMPARE(s.dateDefaults.isEmpty(), page != QLatin1String("Jobs"));
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
