#include "data/schema.h"
#include "data/ui/recordpage.h"
#include "inventory/inventorypagespec.h"
#include "payroll/wagespagespec.h"
#include "platform/table/database.h"
#include "platform/table/dataset.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flashinglabel.h"
#include "platform/widgets/notesmemo.h"
#include "platform/widgets/shapebutton.h"
#include "shell/tmainform.h"
#include "testing/fixture.h"
#include "../storedrecords.h"
#include "trade/jobspage.h"
#include "trade/jobspagespec.h"
#include "trade/paintpagespec.h"
#include "trade/quotespage.h"
#include "trade/quotespagespec.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

using namespace Brelvan;
using Brelvan::Testing::Fixture;
using Brelvan::Testing::storedValues;
using Brelvan::Testing::writeTags;

namespace {

const QDateTime now(QDate(2026, 3, 15), QTime(9, 30));

const PageSpec &specOf(const QString &page)
{
    if (page == QLatin1String("Paint"))
        return paintPageSpec();
    if (page == QLatin1String("Quotes"))
        return quotesPageSpec();
    if (page == QLatin1String("Jobs"))
        return jobsPageSpec();
    if (page == QLatin1String("Inventory"))
        return inventoryPageSpec();
    return wagesPageSpec();
}

// The page of a started fixture, made current.
struct PageUnderTest
{
    PageUnderTest(Fixture &f, const QString &name) : spec(specOf(name))
    {
        page = f.mainForm()->findChild<RecordPage *>(name + QStringLiteral("Page"));
        Q_ASSERT(page);
        f.form()->goToPage(spec.id);
        QCoreApplication::processEvents();
    }
    Table::Dataset &ds() const { return page->dataset(); }
    DataGrid *grid() const { return page->grid(); }
    QString title(int column) const
    {
        return grid()->model()->headerData(column, Qt::Horizontal).toString();
    }
    QStringList shownTags() const
    {
        QStringList t;
        const int f = ds().fieldIndex("Tag");
        for (int r = 0; r < ds().rowCount(); ++r)
            t << ds().valueAt(r, f).toString();
        return t;
    }
    void clickTitle(int visualColumn) const
    {
        QHeaderView *h = grid()->horizontalHeader();
        const int logical = h->logicalIndex(visualColumn);
        grid()->scrollTo(grid()->model()->index(0, logical));
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(logical) + 5, h->height() / 2));
    }

    const PageSpec &spec;
    RecordPage *page = nullptr;
};

void pageRows(std::initializer_list<const char *> names)
{
    QTest::addColumn<QString>("page");
    for (const char *n : names)
        QTest::newRow(n) << QString::fromLatin1(n);
}

QColor red() { return QColor(0xFF, 0, 0); }
QColor white() { return QColor(Qt::white); }

} // namespace

// The frames of the Paint, Quotes, Jobs, Inventory and Wages pages, driven through the
// real main window: what differs between them on the shared record page.
class TestTradePages : public QObject
{
    Q_OBJECT

private slots:
    void showsEveryRecord_data();
    void showsEveryRecord();
    void wagesTitlesFromSettings();
    void paintSelectionFlipsAll();
    void jobsFilterWaitsForNextSelection_data();
    void jobsFilterWaitsForNextSelection();
    void allButtonShowsAll_data();
    void allButtonShowsAll();
    void titleSortWhitensAll_data();
    void titleSortWhitensAll();
    void tagAllReddensAll_data();
    void tagAllReddensAll();
    void enterMovement_data();
    void enterMovement();
    void jobsDateDefaults_data();
    void jobsDateDefaults();
    void clearTagsMovesAndFlips_data();
    void clearTagsMovesAndFlips();
    void reverseDoesNotFlip_data();
    void reverseDoesNotFlip();
    void emptyTables_data();
    void emptyTables();
    void jobsFiguresGrid();
    void quoteMemos();
};

void TestTradePages::showsEveryRecord_data()
{
    pageRows({"Paint", "Quotes", "Jobs", "Inventory", "Wages"});
}

void TestTradePages::showsEveryRecord()
{
    QFETCH(QString, page);
    Fixture f;
    f.setNow(now);
    f.start();
    PageUnderTest p(f, page);
    const PageSpec &s = p.spec;
    QVERIFY(p.grid());
    QCOMPARE(p.grid()->objectName(), s.grid);
    QCOMPARE(p.ds().rowCount(), storedValues(f, s.table, "Tag").size());
    QVERIFY(p.ds().rowCount() > 1);
    // the columns in their standard order, titled as described
    QCOMPARE(p.grid()->model()->columnCount(), s.columns.size());
    for (int c = 0; c < s.columns.size(); ++c) {
        QCOMPARE(p.grid()->datasetModel()->column(c).field, s.columns.at(c).field);
        if (s.columns.at(c).titleSetting.isEmpty())
            QCOMPARE(p.title(c), s.columns.at(c).title.isEmpty() ? s.columns.at(c).field
                                                                  : s.columns.at(c).title);
    }
    // the "All" state: every record in the sort order, filter "y", All caption white
    const QString order = s.startSortText.isEmpty() ? s.sortItems.at(s.startSortItem).orderBy
                                                    : s.startSortText;
    QCOMPARE(p.ds().sql(), QStringList({"SELECT * FROM " + s.table, "ORDER by " + order}));
    QCOMPARE(p.page->sortChooser()->currentText(), order);
    QCOMPARE(p.page->fieldChooser()->currentIndex(), 0);
    QCOMPARE(p.page->fieldChooser()->count(), s.chooserItems.size() + 2);
    QCOMPARE(p.page->filterEdit()->text(), QStringLiteral("y"));
    QCOMPARE(p.page->allButton()->captionColor(), white());
    QVERIFY(p.page->flashLabel()->isHidden());
    QCOMPARE(p.grid()->alternateColor(), p.page->settingColor("Grad4Str"));
    QCOMPARE(p.grid()->backgroundColor(), p.page->settingColor("Grad3Str"));
    // the price list stays at its first paint; the other lists go to their last record
    QCOMPARE(p.ds().row(), page == QLatin1String("Paint") ? 0 : p.ds().rowCount() - 1);
    QCOMPARE(p.page->notesMemo() != nullptr, page != QLatin1String("Paint"));
    if (p.page->notesMemo()) {
        // beside the grid, but under it on the Wages page
        const QPoint memo = p.page->notesMemo()->mapTo(f.mainForm(), QPoint());
        const QPoint grid = p.grid()->mapTo(f.mainForm(), QPoint());
        QCOMPARE(memo.y() >= grid.y() + p.grid()->height(), page == QLatin1String("Wages"));
        QCOMPARE(memo.x() >= grid.x() + p.grid()->width(), page != QLatin1String("Wages"));
    }
}

void TestTradePages::wagesTitlesFromSettings()
{
    Fixture f;
    f.writeIni("Detail", "Health", "MediBank");
    f.writeIni("Detail", "Levy", "SSS");
    f.writeIni("Detail", "Super", "");
    f.writeIni("Detail", "TaxFileNo", "TIN");
    f.writeUserValue("SuperFundStr", "Retirement Fund");
    f.start();
    PageUnderTest p(f, "Wages");
    const auto titleOf = [&p](const QString &field) {
        for (int c = 0; c < p.grid()->model()->columnCount(); ++c) {
            if (p.grid()->datasetModel()->column(c).field == field)
                return p.title(c);
        }
        return QStringLiteral("<none>");
    };
    QCOMPARE(titleOf("Health"), QStringLiteral("MediBank"));
    QCOMPARE(titleOf("Levy"), QStringLiteral("SSS"));
    QCOMPARE(titleOf("TFN"), QStringLiteral("TIN"));
    QCOMPARE(titleOf("SuperFund"), QStringLiteral("Retirement Fund"));
    // an empty title stays empty rather than falling back to the field's name
    QCOMPARE(titleOf("Super").trimmed(), QString());
    QCOMPARE(titleOf("Other1"), QStringLiteral("Details"));
}

void TestTradePages::paintSelectionFlipsAll()
{
    Fixture f;
    f.start();
    PageUnderTest p(f, "Paint");
    ShapeButton *all = p.page->allButton();
    // dressed in the highlight colours at the end of the show sequence
    QCOMPARE(all->startColor(), p.page->settingColor("Grad2Str"));
    QCOMPARE(all->endColor(), p.page->settingColor("Grad1Str"));
    QTest::mouseClick(all, Qt::LeftButton);
    QVERIFY(all->isPlain());
    // any selection flips it, the sort chooser's as well
    p.page->sortChooser()->setCurrentIndex(1);
    emit p.page->sortChooser()->activated(1);
    QCOMPARE(all->startColor(), p.page->settingColor("Grad2Str"));
    QCOMPARE(p.ds().sql().value(1), QStringLiteral("ORDER by ProdNo"));
    // an entry written with semicolons orders by the same fields
    p.page->sortChooser()->setCurrentIndex(2);
    emit p.page->sortChooser()->activated(2);
    QCOMPARE(p.page->sortChooser()->currentText(), QStringLiteral("Code,Maker,Type"));
    QCOMPARE(p.ds().sql().value(1), QStringLiteral("ORDER by Code,Maker,Type"));
    QVERIFY(all->isPlain());
}

void TestTradePages::jobsFilterWaitsForNextSelection_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("applies");
    QTest::newRow("Jobs") << "Jobs" << false;
    QTest::newRow("Quotes") << "Quotes" << true;
}

void TestTradePages::jobsFilterWaitsForNextSelection()
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

void TestTradePages::allButtonShowsAll_data()
{
    pageRows({"Paint", "Quotes", "Jobs", "Inventory", "Wages"});
}

void TestTradePages::allButtonShowsAll()
{
    QFETCH(QString, page);
    Fixture f;
    writeTags(f, specOf(page).table, {"y"});
    f.start();
    PageUnderTest p(f, page);
    const int all = p.ds().rowCount();
    // a narrowed set, as a selection leaves it
    p.page->setChooserItem(1);
    p.page->requery({"SELECT * FROM " + p.spec.table + " WHERE Tag LIKE \"y\""});
    p.page->setAllCaptionRed(true);
    p.grid()->setCurrentVisualColumn(3);
    QCOMPARE(p.ds().rowCount(), 1);

    QTest::mouseClick(p.page->allButton(), Qt::LeftButton);
    QCOMPARE(p.ds().rowCount(), all);
    QCOMPARE(p.ds().sql(), QStringList({"SELECT * FROM " + p.spec.table,
                                        "ORDER by " + p.page->sortChooser()->currentText()}));
    QCOMPARE(p.page->allButton()->captionColor(), white());
    QCOMPARE(p.page->fieldChooser()->currentIndex(), 0);
    QCOMPARE(p.page->filterEdit()->text(), QStringLiteral("y"));
    QCOMPARE(p.grid()->currentVisualColumn(), 0);
}

void TestTradePages::titleSortWhitensAll_data()
{
    pageRows({"Paint", "Quotes", "Jobs", "Inventory", "Wages"});
}

void TestTradePages::titleSortWhitensAll()
{
    QFETCH(QString, page);
    Fixture f;
    // "X" counts as tagged elsewhere, but the sort shows only "y"
    writeTags(f, specOf(page).table, {"y", "X", "y"});
    f.start();
    PageUnderTest p(f, page);
    p.page->setAllCaptionRed(true);
    const QStringList before = p.ds().sql();
    p.grid()->setCurrentVisualColumn(1);
    p.clickTitle(1);

    if (page == QLatin1String("Quotes")) {
        // the quotes list has no title sort
        QCOMPARE(p.ds().sql(), before);
        QVERIFY(f.dialogs().shown().isEmpty());
        QCOMPARE(p.page->allButton()->captionColor(), red());
        return;
    }
    QCOMPARE(f.dialogs().shown(),
             QStringList("Only records with Tag = y will be sorted and shown."));
    QCOMPARE(p.ds().sql(),
             QStringList({"SELECT * FROM " + p.spec.table + " WHERE Tag LIKE \"y\"",
                          "Order by " + p.spec.columns.at(1).field}));
    QCOMPARE(p.shownTags(), QStringList({"y", "y"}));
    QCOMPARE(p.ds().row(), 1);
    QCOMPARE(p.page->allButton()->captionColor(), white());
}

void TestTradePages::tagAllReddensAll_data()
{
    pageRows({"Inventory", "Wages"});
}

void TestTradePages::tagAllReddensAll()
{
    QFETCH(QString, page);
    Fixture f;
    writeTags(f, specOf(page).table, {});
    f.start();
    PageUnderTest p(f, page);
    const QStringList before = p.ds().sql();
    QTest::mouseClick(p.page->tagAllButton(), Qt::LeftButton);
    QCOMPARE(p.page->allButton()->captionColor(), red());
    QCOMPARE(p.page->fieldChooser()->currentText(), QStringLiteral("Tag"));
    // not re-queried: the same records, every one tagged and stored so
    QCOMPARE(p.ds().sql(), before);
    QCOMPARE(p.ds().row(), 0);
    const QStringList tags = storedValues(f, p.spec.table, "Tag");
    QCOMPARE(tags.count(QStringLiteral("y")), tags.size());
}

void TestTradePages::enterMovement_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("moves");
    QTest::newRow("Quotes") << "Quotes" << false;
    QTest::newRow("Paint") << "Paint" << true;
    QTest::newRow("Wages") << "Wages" << true;
}

void TestTradePages::enterMovement()
{
    QFETCH(QString, page);
    QFETCH(bool, moves);
    Fixture f;
    f.start();
    PageUnderTest p(f, page);
    p.ds().first();
    p.grid()->setCurrentVisualColumn(2);
    p.grid()->setFocus();
    QWidget *target = p.grid()->cellEditor() && p.grid()->cellEditor()->isVisible()
                          ? static_cast<QWidget *>(p.grid()->cellEditor())
                          : p.grid();
    QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(p.grid()->currentVisualColumn(), moves ? 3 : 2);
    QCOMPARE(p.ds().row(), 0);
    QTest::keyClick(target, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(p.grid()->currentVisualColumn(), 2);
}

void TestTradePages::jobsDateDefaults_data()
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

void TestTradePages::jobsDateDefaults()
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

void TestTradePages::clearTagsMovesAndFlips_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("toLast");
    QTest::addColumn<bool>("flips");
    QTest::newRow("Paint") << "Paint" << false << true;
    QTest::newRow("Quotes") << "Quotes" << true << true;
    QTest::newRow("Jobs") << "Jobs" << false << true;
    QTest::newRow("Inventory") << "Inventory" << true << false;
    QTest::newRow("Wages") << "Wages" << true << false;
}

void TestTradePages::clearTagsMovesAndFlips()
{
    QFETCH(QString, page);
    QFETCH(bool, toLast);
    QFETCH(bool, flips);
    Fixture f;
    writeTags(f, specOf(page).table, {"y", "", "X", "y"});
    f.start();
    PageUnderTest p(f, page);
    ShapeButton *clear = p.page->clearTagsButton();
    QVERIFY(clear->isPlain());
    p.grid()->setCurrentCell(2, 0);
    QTest::mouseClick(clear, Qt::LeftButton);

    QCOMPARE(p.shownTags().count(QString()), p.ds().rowCount());
    QCOMPARE(storedValues(f, p.spec.table, "Tag").count(QString()), p.ds().rowCount());
    QCOMPARE(p.ds().row(), toLast ? p.ds().rowCount() - 1 : 0);
    QCOMPARE(!clear->isPlain(), flips);
    if (flips) {
        QCOMPARE(clear->startColor(), p.page->settingColor("Grad2Str"));
        QCOMPARE(clear->endColor(), p.page->settingColor("Grad1Str"));
        QTest::mouseClick(clear, Qt::LeftButton); // and back
        QVERIFY(clear->isPlain());
    }
}

void TestTradePages::reverseDoesNotFlip_data()
{
    pageRows({"Inventory", "Wages"});
}

void TestTradePages::reverseDoesNotFlip()
{
    QFETCH(QString, page);
    Fixture f;
    writeTags(f, specOf(page).table, {"y", "", "X"});
    f.start();
    PageUnderTest p(f, page);
    const int all = p.ds().rowCount();
    ShapeButton *reverse = p.page->reverseTagsButton();
    QTest::mouseClick(reverse, Qt::LeftButton);
    QVERIFY(reverse->isPlain());
    // the two tagged lose their tag, every other record is tagged and only those show
    QCOMPARE(p.ds().rowCount(), all - 2);
    QCOMPARE(p.page->fieldChooser()->currentText(), QStringLiteral("Tag"));
    QCOMPARE(p.page->allButton()->captionColor(), red());
}

void TestTradePages::emptyTables_data()
{
    pageRows({"Paint", "Quotes", "Jobs", "Inventory", "Wages"});
}

// A new installation: every tool of the frame works on a table with no records.
void TestTradePages::emptyTables()
{
    QFETCH(QString, page);
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    PageUnderTest p(f, page);
    QCOMPARE(p.ds().rowCount(), 0);
    QCOMPARE(p.page->allButton()->captionColor(), white());
    QTest::mouseClick(p.page->allButton(), Qt::LeftButton);
    QTest::mouseClick(p.page->clearTagsButton(), Qt::LeftButton);
    if (p.page->tagAllButton()) {
        QTest::mouseClick(p.page->tagAllButton(), Qt::LeftButton);
        QTest::mouseClick(p.page->reverseTagsButton(), Qt::LeftButton);
    }
    for (const auto &d : p.spec.dateDefaults)
        p.grid()->setCurrentVisualColumn(d.first);
    QVERIFY2(f.dialogs().shown().isEmpty(), qPrintable(f.dialogs().shown().join('|')));
    QCOMPARE(p.ds().rowCount(), 0);
    QCOMPARE(p.ds().state(), Table::Dataset::State::Browse);
}

void TestTradePages::jobsFiguresGrid()
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
    QHeaderView *h = figures->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(h->logicalIndex(3)) + 5,
                             h->height() / 2));
    QVERIFY(f.dialogs().shown().isEmpty());
    QCOMPARE(p.ds().sql(), QStringList({"SELECT * FROM Jobs", "Order by PaintCost"}));
    QCOMPARE(p.ds().rowCount(), storedValues(f, "Jobs", "Tag").size());
    QCOMPARE(p.ds().row(), p.ds().rowCount() - 1);
    QCOMPARE(p.page->allButton()->captionColor(), white());
}

void TestTradePages::quoteMemos()
{
    Fixture f;
    f.setNow(now);
    f.start();
    PageUnderTest p(f, "Quotes");
    auto *notes = f.mainForm()->findChild<NotesMemo *>("QuoteNote");
    auto *specs = f.mainForm()->findChild<NotesMemo *>("QuoteSpecs");
    QVERIFY(notes && specs);
    QCOMPARE(notes->fieldName(), QStringLiteral("Notes"));
    QCOMPARE(specs->fieldName(), QStringLiteral("Spec"));
    // typing into the pricing notes changes nothing
    p.ds().last();
    const QString typedOver = p.ds().text("Notes");
    notes->setFocus();
    QTest::keyClicks(notes, "abc");
    QTest::keyClick(notes, Qt::Key_Backspace);
    QCOMPARE(p.ds().text("Notes"), typedOver);
    QVERIFY(notes->isReadOnly());
    QCOMPARE(specs->backgroundColor(), p.page->settingColor("Grad3Str"));
    QCOMPARE(specs->toPlainText(), p.ds().text("Spec"));
    // the generated pricing notes take no time stamp
    const QString before = p.ds().text("Notes");
    QTest::mouseDClick(notes->viewport(), Qt::LeftButton);
    QCOMPARE(p.ds().text("Notes"), before);
    QCOMPARE(p.ds().state(), Table::Dataset::State::Browse);
}

BRELVAN_TEST_MAIN(TestTradePages)
#include "tst_tradepages.moc"
