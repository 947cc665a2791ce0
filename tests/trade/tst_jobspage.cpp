#include "../recordpagetest.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/shapebutton.h"
#include "testing/fixture.h"
#include "trade/jobspagespec.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

using namespace Brelvan;
using Brelvan::Testing::Fixture;
using Brelvan::Testing::PageUnderTest;
using Brelvan::Testing::storedValues;
using Brelvan::Testing::writeTags;

namespace {

const QDateTime now(QDate(2026, 3, 15), QTime(9, 30));

QColor white() { return QColor(Qt::white); }

} // namespace

// What the Jobs page does beyond the shared record page: its typed filter, its five date
// defaults and the figures grid beside the jobs.
class TestJobsPage : public QObject
{
    Q_OBJECT

private slots:
    void filterWaitsForNextSelection_data();
    void filterWaitsForNextSelection();
    void dateDefaults_data();
    void dateDefaults();
    void figuresGrid();
};

void TestJobsPage::filterWaitsForNextSelection_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("applies");
    QTest::newRow("Jobs") << "Jobs" << false;
    QTest::newRow("Quotes") << "Quotes" << true; // beside it, typed text applies at once
}

void TestJobsPage::filterWaitsForNextSelection()
{
    QFETCH(QString, page);
    QFETCH(bool, applies);
    Fixture f;
    f.start();
    PageUnderTest p(f, page);
    const int last = p.ds().rowCount() - 1;
    QCOMPARE(p.ds().row(), last);
    p.grid()->setCurrentVisualColumn(3);
    QTest::keyClicks(p.page->filterEdit(), "Sm");
    // a selection re-queries and goes to the first column; the Jobs filter waits
    QCOMPARE(p.grid()->currentVisualColumn(), applies ? 0 : 3);
    QCOMPARE(p.ds().row() == last, !applies);
}

void TestJobsPage::dateDefaults_data()
{
    QTest::addColumn<QString>("moveToNine"); // a field moved to position 9 first
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("emptyDates");
    QTest::addColumn<QString>("expectSet"); // the field given today, or empty for none
    QTest::newRow("date") << "" << 2 << true << "Date";
    QTest::newRow("awarded") << "" << 9 << true << "Awarded";
    QTest::newRow("started") << "" << 11 << true << "Started";
    QTest::newRow("finished") << "" << 12 << true << "Finished";
    QTest::newRow("paid up") << "" << 15 << true << "PaidUp";
    QTest::newRow("order no") << "" << 10 << true << "";
    QTest::newRow("dates set") << "" << 9 << false << "";
    // the position counts, whatever column the user has moved there
    QTest::newRow("moved") << "OrderNo" << 9 << true << "Awarded";
}

void TestJobsPage::dateDefaults()
{
    QFETCH(QString, moveToNine);
    QFETCH(int, position);
    QFETCH(bool, emptyDates);
    QFETCH(QString, expectSet);
    const QStringList dates = {"Date", "Awarded", "Started", "Finished", "PaidUp"};
    Fixture f;
    f.setNow(now);
    f.start();
    PageUnderTest p(f, "Jobs");
    Table::Dataset &ds = p.ds();
    ds.last();
    ds.edit();
    for (const QString &d : dates)
        ds.setValue(d, emptyDates ? QVariant() : QVariant(QDate(2025, 1, 2)));
    ds.post();
    const int row = ds.row();
    if (!moveToNine.isEmpty()) {
        int logical = 0;
        while (p.spec.columns.at(logical).field != moveToNine)
            ++logical;
        QHeaderView *h = p.grid()->horizontalHeader();
        h->moveSection(h->visualIndex(logical), 9);
    }
    p.grid()->setCurrentCell(row, 0);
    p.grid()->setCurrentVisualColumn(position);

    for (const QString &d : dates) {
        QDate expected = emptyDates ? QDate() : QDate(2025, 1, 2);
        if (d == expectSet)
            expected = now.date();
        QCOMPARE(ds.date(d), expected);
    }
    // put into edit, not posted
    QCOMPARE(ds.state() == Table::Dataset::State::Edit, !expectSet.isEmpty());
    if (!expectSet.isEmpty())
        QVERIFY(storedValues(f, "Jobs", expectSet).contains(QString()));
}

void TestJobsPage::figuresGrid()
{
    Fixture f;
    f.start();
    PageUnderTest p(f, "Jobs");
    auto *figures = f.mainForm()->findChild<DataGrid *>("JobsGrid2");
    QVERIFY(figures);
    QCOMPARE(figures->dataset(), &p.ds());
    QCOMPARE(figures->model()->columnCount(), jobsFiguresColumns().size());
    QCOMPARE(figures->model()->headerData(12, Qt::Horizontal).toString(),
             QStringLiteral("LabGST%"));
    QCOMPARE(figures->alternateColor(), p.page->settingColor("Grad4Str"));
    // side by side: the figures grid stands to the right of the jobs grid
    QVERIFY(figures->isVisible());
    QVERIFY(figures->mapTo(f.mainForm(), QPoint()).x()
            > p.grid()->mapTo(f.mainForm(), QPoint()).x());
    // one record under both grids
    p.grid()->setCurrentCell(1, 0);
    QCOMPARE(figures->currentIndex().row(), 1);
    // no date default from the figures grid's positions
    figures->setCurrentVisualColumn(9);
    QCOMPARE(p.ds().state(), Table::Dataset::State::Browse);

    // its title sort: every job by the figures column under the cursor, no message
    writeTags(f, "Jobs", {});
    p.page->setAllCaptionRed(true);
    figures->setCurrentVisualColumn(8); // PaintCost
    PageUnderTest::clickTitle(figures, 3);
    QVERIFY(f.dialogs().shown().isEmpty());
    QCOMPARE(p.ds().sql(), QStringList({"SELECT * FROM Jobs", "Order by PaintCost"}));
    QCOMPARE(p.ds().rowCount(), storedValues(f, "Jobs", "Tag").size());
    QCOMPARE(p.ds().row(), p.ds().rowCount() - 1);
    QCOMPARE(p.page->allButton()->captionColor(), white());
}

BRELVAN_TEST_MAIN(TestJobsPage)
#include "tst_jobspage.moc"
