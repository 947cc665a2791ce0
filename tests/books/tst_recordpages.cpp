#include "books/expensespage.h"
#include "books/incomepage.h"
#include "clients/clientspage.h"
#include "data/schema.h"
#include "data/ui/recordpage.h"
#include "platform/table/database.h"
#include "platform/table/dataset.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flashinglabel.h"
#include "platform/widgets/notesmemo.h"
#include "platform/widgets/shapebutton.h"
#include "shell/tmainform.h"
#include "testing/fixture.h"
#include "../storedrecords.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace Brelvan;
using Brelvan::Testing::Fixture;
using Brelvan::Testing::storedValues;
using Brelvan::Testing::writeTags;

namespace {

const QString deleteWarning = QStringLiteral(
    "Do NOT completley empty databases (Grids) - the software expects to find a data "
    "record.\r\n\r\nAdd new records first.\r\n\r\nCompletely emptying the database may cause "
    "the program to malfunction !");

struct PageInfo
{
    const char *page;  // object name of the page
    const char *table;
    Brelvan::Page tab;
};

const PageInfo pages[] = {
    {"ClientsPage", "Names", Brelvan::Page::Clients},
    {"ExpensesPage", "Expense", Brelvan::Page::Expenses},
    {"IncomePage", "Income", Brelvan::Page::Income},
};

const PageInfo &info(const QString &page)
{
    for (const PageInfo &p : pages) {
        if (page == QLatin1String(p.page))
            return p;
    }
    qFatal("no such page");
}

struct PageUnderTest
{
    PageUnderTest(Fixture &f, const QString &name) : f(f), pi(info(name))
    {
        page = f.mainForm()->findChild<RecordPage *>(name);
        Q_ASSERT(page);
        f.form()->goToPage(pi.tab);
        QCoreApplication::processEvents();
    }
    Table::Dataset &ds() const { return page->dataset(); }
    DataGrid *grid() const { return page->grid(); }
    QStringList shownTags() const
    {
        QStringList t;
        const int f = ds().fieldIndex("Tag");
        for (int r = 0; r < ds().rowCount(); ++r)
            t << ds().valueAt(r, f).toString();
        return t;
    }

    Fixture &f;
    const PageInfo &pi;
    RecordPage *page = nullptr;
};

void addPageColumn()
{
    QTest::addColumn<QString>("page");
}

void addPageRows()
{
    for (const PageInfo &p : pages)
        QTest::newRow(p.page) << QString::fromLatin1(p.page);
}

} // namespace

class TestRecordPages : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void tagAll_data();
    void tagAll();
    void clearTagsTouchesShownRecordsOnly_data();
    void clearTagsTouchesShownRecordsOnly();
    void reverseWithNothingTagged_data();
    void reverseWithNothingTagged();
    void otherTagCountsForClearAndReverseButNotForTitleSort();
    void titleSortUsesTheCursorColumn();
    void toggle();
    void everyChooserItemQueries_data();
    void everyChooserItemQueries();
    void showAllClientsFindsTheEntryClient();
    void numberFilterThatIsNoNumberKeepsTheRecords_data();
    void numberFilterThatIsNoNumberKeepsTheRecords();
    void numberFilterTypedKeyByKey();
    void dateDefaultFollowsVisualPosition_data();
    void dateDefaultFollowsVisualPosition();
    void deleteWarningAtTwoRecords_data();
    void deleteWarningAtTwoRecords();
    void enterMovement_data();
    void enterMovement();
    void noteStamp_data();
    void noteStamp();
    void postOnLeavingTheGrid();
    void gridMenuWorksOnTheClickedCell_data();
    void gridMenuWorksOnTheClickedCell();
    void editsDisabledWhenNotLive();
    void walkFailureRestoresCursorAndRedrawing();
    void tagAllTimingAtTenThousand();
};

void TestRecordPages::frames_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("sort");
    QTest::addColumn<int>("chooserItems");
    QTest::newRow("Clients") << "ClientsPage" << "NamesGrid" << 43
                             << "Surname,FirstName,Company,EntryDate" << 34;
    QTest::newRow("Expenses") << "ExpensesPage" << "ExpendGrid" << 23
                              << "Date,Bus,Expense,Supplier,Invoice" << 14;
    QTest::newRow("Income") << "IncomePage" << "IncomeGrid" << 23
                            << "Date,Bus,Incom,Sourc,InvoiceNo" << 12;
}

void TestRecordPages::frames()
{
    QFETCH(QString, page);
    QFETCH(QString, grid);
    QFETCH(int, columns);
    QFETCH(QString, sort);
    QFETCH(int, chooserItems);
    Fixture f;
    f.writeIni("Detail", "E3", "Sixty");
    f.writeIni("Detail", "VAT", "GST");
    f.start();
    PageUnderTest p(f, page);
    auto *g = f.mainForm()->findChild<DataGrid *>(grid);
    QVERIFY(g);
    QCOMPARE(g->model()->columnCount(), columns);
    QCOMPARE(p.page->sortChooser()->currentText(), sort);
    QCOMPARE(p.page->fieldChooser()->count(), chooserItems);
    QCOMPARE(p.page->fieldChooser()->itemText(0), QStringLiteral("All"));
    QCOMPARE(p.page->fieldChooser()->itemText(1), QStringLiteral("Tag"));
    QCOMPARE(p.page->filterEdit()->text(), QStringLiteral("y"));
    QCOMPARE(p.ds().sql().value(0), QStringLiteral("SELECT * FROM ") + p.pi.table);
    QVERIFY(p.page->flashLabel()->isHidden());
    QCOMPARE(g->alternateColor(), p.page->settingColor("Grad4Str"));
    // titles from the settings; Tax by the VAT setting
    const auto title = [g](const QString &field) {
        for (int c = 0; c < g->model()->columnCount(); ++c) {
            if (g->datasetModel()->column(c).field == field)
                return g->model()->headerData(c, Qt::Horizontal).toString();
        }
        return QStringLiteral("<none>");
    };
    QCOMPARE(title("Tax"), QStringLiteral("GST"));
    if (page == QLatin1String("ExpensesPage")) {
        QCOMPARE(title("F3"), QStringLiteral("Sixty"));
        QCOMPARE(title("Bank"), QStringLiteral("Summary"));
        QCOMPARE(g->datasetModel()->column(4).field, QStringLiteral("Date"));
        // the page starts on its last record
        QCOMPARE(p.ds().row(), p.ds().rowCount() - 1);
    }
    if (page == QLatin1String("ClientsPage")) {
        QCOMPARE(g->datasetModel()->column(7).field, QStringLiteral("EntryDate"));
        QCOMPARE(title("Ref"), QStringLiteral("Inv No"));
    }
}

void TestRecordPages::tagAll_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("requeried");
    QTest::newRow("Clients") << "ClientsPage" << false;
    QTest::newRow("Expenses") << "ExpensesPage" << true;
    QTest::newRow("Income") << "IncomePage" << false;
}

void TestRecordPages::tagAll()
{
    QFETCH(QString, page);
    QFETCH(bool, requeried);
    Fixture f;
    writeTags(f, info(page).table, {});
    f.start();
    PageUnderTest p(f, page);
    // a shown subset: the records of one Code
    p.ds().first();
    while (p.ds().text("Code").isEmpty())
        p.ds().next();
    const QString code = p.ds().text("Code");
    p.page->requery({QStringLiteral("SELECT * FROM ") + p.pi.table + " WHERE Code = "
                     + Table::quoteLiteral(code)});
    const int shown = p.ds().rowCount();
    const QStringList before = p.ds().sql();
    QTest::mouseClick(p.page->tagAllButton(), Qt::LeftButton);

    QCOMPARE(p.page->fieldChooser()->currentText(), QStringLiteral("Tag"));
    QCOMPARE(storedValues(f, p.pi.table, "Tag").count(QStringLiteral("y")), shown);
    if (requeried) {
        // the "Tag" selection: every record tagged y, whatever its Code
        QCOMPARE(p.ds().sql().value(0), QStringLiteral("SELECT * FROM ") + p.pi.table
                                            + " WHERE Tag LIKE \"%y%\"");
        QCOMPARE(p.ds().rowCount(), shown);
    } else {
        QCOMPARE(p.ds().sql(), before);
        QCOMPARE(p.ds().rowCount(), shown);
        QCOMPARE(p.ds().row(), 0);
    }
    QVERIFY(p.ds().state() == Table::Dataset::State::Browse);
}

void TestRecordPages::clearTagsTouchesShownRecordsOnly_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("toLast");
    QTest::newRow("Clients") << "ClientsPage" << false;
    QTest::newRow("Expenses") << "ExpensesPage" << true;
    QTest::newRow("Income") << "IncomePage" << true;
}

void TestRecordPages::clearTagsTouchesShownRecordsOnly()
{
    QFETCH(QString, page);
    QFETCH(bool, toLast);
    Fixture f;
    QStringList all(400, QStringLiteral("y"));
    writeTags(f, info(page).table, all);
    f.start();
    PageUnderTest p(f, page);
    const int total = storedValues(f, p.pi.table, "Tag").size();
    // filter in force: the records of one Code
    p.ds().first();
    while (p.ds().text("Code").isEmpty())
        p.ds().next();
    const QString code = p.ds().text("Code");
    p.page->requery({QStringLiteral("SELECT * FROM ") + p.pi.table + " WHERE Code = "
                     + Table::quoteLiteral(code)});
    const int shown = p.ds().rowCount();
    QVERIFY(shown > 0 && shown < total);
    ShapeButton *b = p.page->clearTagsButton();
    QVERIFY(b->isPlain());
    QTest::mouseClick(b, Qt::LeftButton);

    QCOMPARE(p.shownTags(), QStringList(shown, QString()));
    QCOMPARE(p.ds().rowCount(), shown); // not re-queried
    QCOMPARE(storedValues(f, p.pi.table, "Tag").count(QStringLiteral("y")), total - shown);
    QCOMPARE(p.ds().row(), toLast ? shown - 1 : 0);
    // the button flipped to the highlight colours, and back on the next click
    QCOMPARE(b->startColor(), p.page->settingColor("Grad2Str"));
    QCOMPARE(b->endColor(), p.page->settingColor("Grad1Str"));
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(b->isPlain());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(p.grid()->isAncestorOf(QApplication::focusWidget())
            || QApplication::focusWidget() == p.grid());
}

void TestRecordPages::reverseWithNothingTagged_data()
{
    addPageColumn();
    addPageRows();
}

void TestRecordPages::reverseWithNothingTagged()
{
    QFETCH(QString, page);
    Fixture f;
    writeTags(f, info(page).table, {});
    f.start();
    PageUnderTest p(f, page);
    const int total = storedValues(f, p.pi.table, "Tag").size();
    // a filter in force first: reverse shows every record before it walks
    p.page->requery({QStringLiteral("SELECT * FROM ") + p.pi.table + " WHERE Tag = \"q\""});
    QCOMPARE(p.ds().rowCount(), 0);
    QTest::mouseClick(p.page->reverseTagsButton(), Qt::LeftButton);

    QCOMPARE(storedValues(f, p.pi.table, "Tag"), QStringList(total, QStringLiteral("y")));
    QCOMPARE(p.ds().rowCount(), total);
    QCOMPARE(p.page->fieldChooser()->currentText(), QStringLiteral("Tag"));
    QVERIFY(p.ds().sqlText().contains("WHERE Tag LIKE \"%y%\""));
    QVERIFY(!p.page->reverseTagsButton()->isPlain());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestRecordPages::otherTagCountsForClearAndReverseButNotForTitleSort()
{
    Fixture f;
    writeTags(f, "Income", {"X", "y", "", "X"});
    f.start();
    PageUnderTest p(f, "IncomePage");
    const int total = storedValues(f, "Income", "Tag").size();

    // title sort: only the "y"
    p.page->titleSort();
    QCOMPARE(p.ds().rowCount(), 1);
    QCOMPARE(p.shownTags(), QStringList{"y"});

    // reverse: X and y are tagged and lose it, the rest gain "y"
    QTest::mouseClick(p.page->reverseTagsButton(), Qt::LeftButton);
    QStringList expected(total, QStringLiteral("y"));
    expected[0] = expected[1] = expected[3] = QString();
    QCOMPARE(storedValues(f, "Income", "Tag"), expected);
    QCOMPARE(p.ds().rowCount(), total - 3);

    // clear over all records: the X goes with the y
    writeTags(f, "Income", {"X", "", "y"});
    p.page->showAll();
    QTest::mouseClick(p.page->clearTagsButton(), Qt::LeftButton);
    QCOMPARE(storedValues(f, "Income", "Tag"), QStringList(total, QString()));
}

void TestRecordPages::titleSortUsesTheCursorColumn()
{
    Fixture f;
    writeTags(f, "Expense", QStringList(40, QStringLiteral("y")));
    f.start();
    PageUnderTest p(f, "ExpensesPage");
    p.ds().first(); // tagged: the first in date order is the first in key order
    p.grid()->setCurrentVisualColumn(6); // Supplier
    p.ds().edit();
    p.ds().setValue("Supplier", QStringLiteral("Typed before the click"));
    const int shownBefore = f.dialogs().shown().size();
    // a click on the title of column 1 (Bus)
    QHeaderView *h = p.grid()->horizontalHeader();
    const int x = h->sectionViewportPosition(h->logicalIndex(1)) + 5;
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, h->height() / 2));

    QCOMPARE(f.dialogs().shown().mid(shownBefore),
             QStringList{"Only records with Tag = y will be sorted and shown."});
    QCOMPARE(p.ds().sql(), (QStringList{"SELECT * FROM Expense WHERE Tag LIKE \"y\"",
                                        "Order by Supplier"}));
    QCOMPARE(p.ds().rowCount(), 40);
    QCOMPARE(p.ds().row(), 39);
    const int sup = p.ds().fieldIndex("Supplier");
    for (int r = 1; r < p.ds().rowCount(); ++r)
        QVERIFY(p.ds().valueAt(r - 1, sup).toString() <= p.ds().valueAt(r, sup).toString());
    // the edit in progress was saved, not lost with the closed query
    bool found = false;
    for (int r = 0; r < p.ds().rowCount(); ++r)
        found = found || p.ds().valueAt(r, sup).toString() == QLatin1String("Typed before the click");
    QVERIFY(found);
    QVERIFY(p.page->flashLabel()->isHidden());
}

void TestRecordPages::toggle()
{
    Fixture f;
    f.start();
    PageUnderTest p(f, "ExpensesPage");
    QCheckBox *t = p.page->toggle();
    QVERIFY(!t->isChecked());
    QVERIFY(t->styleSheet().contains("#00ff00"));
    // with "All" chosen a tick bounces back: the "All" selection unticks it
    t->click();
    QVERIFY(!t->isChecked());
    QCOMPARE(p.ds().sql(), QStringList{"SELECT * FROM Expense"});
    p.page->setChooserItem("Tag");
    t->click();
    QVERIFY(t->isChecked());
    QVERIFY(t->styleSheet().contains("#ff0000"));
    QCOMPARE(p.ds().sql().value(0), QStringLiteral("SELECT * FROM Expense WHERE Tag LIKE \"%y%\""));
    t->click();
    QVERIFY(t->styleSheet().contains("#00ff00"));
    QCOMPARE(p.ds().sql(), QStringList{"SELECT * FROM Expense"});

    // a selection other than "All" ticks it; "All" unticks it (not on Clients)
    p.page->setChooserItem("Tag");
    p.page->applySelection();
    QVERIFY(t->isChecked());
    p.page->showAll();
    QVERIFY(!t->isChecked());

    PageUnderTest c(f, "ClientsPage");
    c.page->setChooserItem("Tag");
    c.page->applySelection();
    QVERIFY(c.page->toggle()->isChecked());
    c.page->showAll();
    QVERIFY(c.page->toggle()->isChecked());
}

void TestRecordPages::everyChooserItemQueries_data()
{
    addPageColumn();
    addPageRows();
}

// every item of the field chooser gives a query the engine takes (reserved-looking field
// names such as Group included), numbers with "1" for the filter
void TestRecordPages::everyChooserItemQueries()
{
    QFETCH(QString, page);
    Fixture f;
    f.start();
    PageUnderTest p(f, page);
    QComboBox *sel = p.page->fieldChooser();
    for (int i = 0; i < sel->count(); ++i) {
        const QString item = sel->itemText(i);
        if (item == QLatin1String("DOB Tool"))
            continue; // a walk of its own, not a query
        p.page->setChooserItem(i);
        p.page->filterEdit()->setText(QStringLiteral("y"));
        p.page->applySelection();
        QVERIFY2(p.ds().isOpen(), qPrintable(item));
        QVERIFY2(p.page->flashLabel()->isHidden(), qPrintable(item));
    }
}

namespace {

// Before start: the Office amount of the first records in key order.
void writeOffice(const Fixture &f, const QList<double> &amounts)
{
    auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
    Table::Dataset ds(QStringLiteral("Fill"));
    ds.setDatabase(db.get());
    ds.setTableName(QStringLiteral("Expense"));
    ds.open();
    Table::Dataset::Walk walk(ds);
    ds.first();
    for (double a : amounts) {
        ds.edit();
        ds.setValue("Office", a);
        ds.post();
        ds.next();
    }
    walk.commit();
    ds.close();
}

// Office chosen in the field chooser as a user chooses it; the filter has the focus after.
QLineEdit *chooseOffice(Page &p)
{
    QComboBox *sel = p.page->fieldChooser();
    const int office = sel->findText("Office");
    sel->setCurrentIndex(office);
    emit sel->activated(office);
    QLineEdit *filter = p.page->filterEdit();
    filter->setFocus();
    filter->selectAll();
    return filter;
}

} // namespace

void TestRecordPages::numberFilterThatIsNoNumberKeepsTheRecords_data()
{
    // typed into the Office filter after its text is selected: the part before the last key
    // selects as usual; the last key's text is what must leave the records alone
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("warned");
    QTest::newRow("lone minus waits") << "-" << false;
    QTest::newRow("lone point waits") << "." << false;
    QTest::newRow("minus and point wait") << "-." << false;
    QTest::newRow("letters after digits") << "12a" << true;
    QTest::newRow("a condition") << "1 OR 1" << true;
    QTest::newRow("two points") << "1.2." << true;
}

void TestRecordPages::numberFilterThatIsNoNumberKeepsTheRecords()
{
    QFETCH(QString, typed);
    QFETCH(bool, warned);
    Fixture f;
    f.start();
    PageUnderTest p(f, "ExpensesPage");
    QLineEdit *filter = chooseOffice(p);
    QCOMPARE(filter->text(), QStringLiteral("1"));
    QCOMPARE(QApplication::focusWidget(), filter);
    QTest::keyClicks(filter, typed.chopped(1));
    const QStringList sql = p.ds().sql();
    const int rows = p.ds().rowCount();
    QVERIFY(p.ds().isOpen());
    f.dialogs().clearShown();
    QTest::keyClicks(QApplication::focusWidget(), typed.right(1));
    QCOMPARE(filter->text(), typed);
    QVERIFY(p.ds().isOpen());
    QCOMPARE(p.ds().sql(), sql);
    QCOMPARE(p.ds().rowCount(), rows);
    QCOMPARE(p.grid()->model()->rowCount(), rows);
    const QStringList shown = f.dialogs().shown();
    if (warned)
        QCOMPARE(shown, QStringList{"\"" + typed + "\" is not a number.\r\n\r\nOffice holds "
                                    "numbers: type one, such as 120 or -12.50, to show the "
                                    "records holding it."});
    else
        QVERIFY(shown.isEmpty());
    QVERIFY(f.dialogs().shown(Dialogs::Kind::Error).isEmpty());
}

void TestRecordPages::numberFilterTypedKeyByKey()
{
    Fixture f;
    writeOffice(f, {-12.5, 0.5, -12.5});
    f.start();
    PageUnderTest p(f, "ExpensesPage");
    QLineEdit *filter = chooseOffice(p);
    QTest::keyClicks(QApplication::focusWidget(), "-12.5");
    QCOMPARE(p.ds().sql().value(1), QStringLiteral("-12.5"));
    const auto stored = [&f](double amount) {
        int n = 0;
        for (const QString &v : storedValues(f, "Expense", "Office"))
            n += !v.isEmpty() && v.toDouble() == amount;
        return n;
    };
    QVERIFY(stored(-12.5) >= 2);
    QCOMPARE(p.ds().rowCount(), stored(-12.5));
    QCOMPARE(p.grid()->currentFieldName(), QStringLiteral("Office"));
    filter->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), ".5");
    QCOMPARE(p.ds().rowCount(), stored(0.5));
    QCOMPARE(p.ds().number("Office"), 0.5);
    QVERIFY(f.dialogs().shown().isEmpty());
    // a word still becomes the first number, as choosing the item does
    filter->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "x");
    QCOMPARE(filter->text(), QStringLiteral("1"));
    QVERIFY(p.ds().isOpen());
}

void TestRecordPages::showAllClientsFindsTheEntryClient()
{
    Fixture f;
    f.start();
    PageUnderTest p(f, "ClientsPage");
    auto *clients = static_cast<ClientsPage *>(p.page);
    p.ds().moveTo(5);
    const QString id = p.ds().text("ID");
    f.form()->settings().setValue("EntryStr", id);
    p.page->setChooserItem("Tag");
    p.page->applySelection();
    clients->showAllClients();
    QCOMPARE(p.page->fieldChooser()->currentIndex(), 0);
    QCOMPARE(p.ds().sql(), (QStringList{"SELECT * FROM Names",
                                        "ORDER by Surname,FirstName,Company,EntryDate"}));
    QCOMPARE(p.ds().text("ID"), id);
    // no such client: the first record, and nothing said
    const int shown = f.dialogs().shown().size();
    f.form()->settings().setValue("EntryStr", "nobody");
    clients->showAllClients();
    QCOMPARE(p.ds().row(), 0);
    QCOMPARE(f.dialogs().shown().size(), shown);
}

void TestRecordPages::dateDefaultFollowsVisualPosition_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("dateField");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("moveIt");
    QTest::newRow("Expenses") << "ExpensesPage" << "Date" << 4 << false;
    QTest::newRow("Expenses moved") << "ExpensesPage" << "Date" << 4 << true;
    QTest::newRow("Income") << "IncomePage" << "Date" << 4 << false;
    QTest::newRow("Clients") << "ClientsPage" << "EntryDate" << 7 << false;
}

void TestRecordPages::dateDefaultFollowsVisualPosition()
{
    QFETCH(QString, page);
    QFETCH(QString, dateField);
    QFETCH(int, position);
    QFETCH(bool, moveIt);
    Fixture f;
    f.setNow(QDateTime(QDate(2026, 3, 15), QTime(9, 30)));
    f.start();
    PageUnderTest p(f, page);
    QHeaderView *h = p.grid()->horizontalHeader();
    if (moveIt)
        h->moveSection(position, position + 4); // the date column moves right
    p.grid()->setCurrentVisualColumn(0);
    p.ds().append();
    QVERIFY(p.ds().isNull(dateField));
    // the column where the date now stands does nothing when moved away
    if (moveIt) {
        p.grid()->setCurrentVisualColumn(position + 4);
        QVERIFY(p.ds().isNull(dateField));
        QCOMPARE(p.grid()->currentFieldName(), dateField);
    }
    p.grid()->setCurrentVisualColumn(position);
    QCOMPARE(p.ds().date(dateField), QDate(2026, 3, 15));
    QVERIFY(p.ds().state() == Table::Dataset::State::Insert); // not posted
    if (moveIt)
        QVERIFY(p.grid()->currentFieldName() != dateField);

    // a record with a date keeps it
    p.ds().cancel();
    p.ds().first();
    const QDate had = p.ds().date(dateField);
    if (had.isValid()) {
        p.grid()->setCurrentVisualColumn(0);
        p.grid()->setCurrentVisualColumn(position);
        QCOMPARE(p.ds().date(dateField), had);
    }
}

void TestRecordPages::deleteWarningAtTwoRecords_data()
{
    addPageColumn();
    addPageRows();
}

void TestRecordPages::deleteWarningAtTwoRecords()
{
    QFETCH(QString, page);
    Fixture f;
    writeTags(f, info(page).table, {"y", "y", "y"});
    f.start();
    PageUnderTest p(f, page);
    p.page->titleSort(); // shows the three tagged records
    QCOMPARE(p.ds().rowCount(), 3);
    auto warnings = [&f] { return f.dialogs().shown().count(deleteWarning); };
    p.ds().remove();
    QCOMPARE(warnings(), 0);
    p.ds().remove(); // the second-last
    QCOMPARE(warnings(), 1);
    p.ds().remove(); // the last
    QCOMPARE(warnings(), 1);
    QCOMPARE(p.ds().rowCount(), 0);
}

void TestRecordPages::enterMovement_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<int>("fromRow"); // -1: the last record
    QTest::addColumn<int>("fromColumn"); // -1: the last column
    QTest::addColumn<int>("toRow");
    QTest::addColumn<int>("toColumn");
    QTest::newRow("right") << "ExpensesPage" << false << 2 << 3 << 2 << 4;
    QTest::newRow("last column: next record") << "IncomePage" << false << 2 << -1 << 3 << 0;
    QTest::newRow("last of the last record") << "ExpensesPage" << false << -1 << -1 << -1 << 0;
    QTest::newRow("shift left") << "ClientsPage" << true << 2 << 3 << 2 << 2;
    QTest::newRow("shift on column 0") << "ClientsPage" << true << 2 << 0 << 1 << -1;
}

void TestRecordPages::enterMovement()
{
    QFETCH(QString, page);
    QFETCH(bool, shift);
    QFETCH(int, fromRow);
    QFETCH(int, fromColumn);
    QFETCH(int, toRow);
    QFETCH(int, toColumn);
    Fixture f;
    f.start();
    PageUnderTest p(f, page);
    const int lastRow = p.ds().rowCount() - 1;
    const int lastCol = p.grid()->lastVisualColumn();
    auto row = [lastRow](int r) { return r < 0 ? lastRow : r; };
    auto col = [lastCol](int c) { return c < 0 ? lastCol : c; };
    p.grid()->setCurrentCell(row(fromRow), col(fromColumn));
    p.grid()->setFocus();
    QWidget *target = p.grid()->cellEditor() && p.grid()->cellEditor()->isVisible()
                          ? static_cast<QWidget *>(p.grid()->cellEditor())
                          : p.grid();
    QTest::keyClick(target, Qt::Key_Return, shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(p.ds().row(), row(toRow));
    QCOMPARE(p.grid()->currentVisualColumn(), col(toColumn));
    QCOMPARE(p.ds().rowCount(), lastRow + 1); // no record appended
}

void TestRecordPages::noteStamp_data()
{
    addPageColumn();
    addPageRows();
}

void TestRecordPages::noteStamp()
{
    QFETCH(QString, page);
    Fixture f;
    f.setNow(QDateTime(QDate(2026, 3, 15), QTime(9, 30, 5)));
    f.start();
    PageUnderTest p(f, page);
    p.ds().first();
    NotesMemo *memo = p.page->notesMemo();
    QVERIFY(memo);
    const QString before = p.ds().text("Notes");
    QTest::mouseDClick(memo->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    const QString after = p.ds().text("Notes");
    const QString stamp = QStringLiteral("15/03/2026 09:30:05 ");
    QVERIFY2(after.endsWith(stamp), qPrintable(after));
    if (!before.isEmpty())
        QCOMPARE(after.left(after.size() - stamp.size()).trimmed(), before.trimmed());
    const QString head = after.left(after.size() - stamp.size());
    QVERIFY(head.isEmpty() || head.endsWith('\n'));
    QVERIFY(p.ds().state() == Table::Dataset::State::Browse); // posted
}

namespace {

int columnOf(const DataGrid *grid, const QString &field)
{
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        if (grid->datasetModel()->column(c).field == field)
            return c;
    }
    return -1;
}

// A right click on a cell as the window system delivers it; the menu that opened, if any.
QMenu *rightClick(Fixture &f, DataGrid *grid, int row, int column)
{
    const QModelIndex idx = grid->model()->index(row, column);
    grid->scrollTo(idx);
    const QPoint at = grid->viewport()->mapTo(f.mainForm(), grid->visualRect(idx).center());
    QTest::mouseClick(f.mainForm()->windowHandle(), Qt::RightButton, {}, at);
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

void clickItem(QMenu *menu, const char *name)
{
    QAction *a = menu->findChild<QAction *>(name);
    QVERIFY2(a, name);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
}

} // namespace

void TestRecordPages::gridMenuWorksOnTheClickedCell_data()
{
    QTest::addColumn<QString>("gridName");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("readOnlyField"); // a column the menu must not write
    QTest::newRow("Clients") << "NamesGrid" << "Names" << 1 << QString();
    QTest::newRow("Paint") << "PaintGrid" << "Paint" << 2 << QString();
    QTest::newRow("Expenses") << "ExpendGrid" << "Expense" << 5 << QString();
    QTest::newRow("Wages") << "WagesGrid" << "Wages" << 8 << "Year";
}

void TestRecordPages::gridMenuWorksOnTheClickedCell()
{
    QFETCH(QString, gridName);
    QFETCH(QString, table);
    QFETCH(int, tab);
    QFETCH(QString, readOnlyField);
    Fixture f;
    writeTags(f, table, {"y"});
    f.start();
    f.form()->goToPage(tab);
    QCoreApplication::processEvents();
    auto *grid = f.mainForm()->findChild<DataGrid *>(gridName);
    QVERIFY(grid);
    Table::Dataset &ds = *grid->dataset();
    const int tagColumn = columnOf(grid, "Tag");
    QVERIFY(tagColumn >= 0);
    int from = -1;
    int to = -1;
    for (int r = 0; r < ds.rowCount(); ++r) {
        const bool tagged = ds.valueAt(r, ds.fieldIndex("Tag")).toString() == "y";
        if (tagged && from < 0)
            from = r;
        else if (!tagged && to < 0 && r > 0)
            to = r;
    }
    QVERIFY(from >= 0 && to >= 0);
    const auto storedTags = [&] { return storedValues(f, table, "Tag").count("y"); };

    QMenu *menu = rightClick(f, grid, from, tagColumn);
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QStringLiteral("PopupMenu1"));
    QCOMPARE(ds.row(), from);
    QCOMPARE(grid->currentFieldName(), QStringLiteral("Tag"));
    QApplication::clipboard()->clear();
    clickItem(menu, "PopUpCopy");
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("y"));

    // another record's cell: the cursor goes there first and the paste is posted
    menu = rightClick(f, grid, to, tagColumn);
    QVERIFY(menu);
    QCOMPARE(ds.row(), to);
    clickItem(menu, "PopUpPaste");
    QCOMPARE(ds.text("Tag"), QStringLiteral("y"));
    QCOMPARE(ds.state(), Table::Dataset::State::Browse);
    QCOMPARE(storedTags(), 2);

    // the cell being edited opens the same menu, not its editor's own
    QCOMPARE(QApplication::focusWidget(), grid->cellEditor());
    menu = rightClick(f, grid, to, tagColumn);
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QStringLiteral("PopupMenu1"));
    clickItem(menu, "PopUpCut");
    QCOMPARE(ds.text("Tag"), QString());
    QCOMPARE(storedTags(), 1);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("y"));

    if (!readOnlyField.isEmpty()) {
        const int c = columnOf(grid, readOnlyField);
        const QString before = ds.valueAt(to, ds.fieldIndex(readOnlyField)).toString();
        QApplication::clipboard()->setText("1999");
        menu = rightClick(f, grid, to, c);
        QVERIFY(menu);
        clickItem(menu, "PopUpPaste");
        QCOMPARE(ds.valueAt(to, ds.fieldIndex(readOnlyField)).toString(), before);
        QVERIFY(!ds.isEditing());
    }
    QVERIFY(f.dialogs().shown(Dialogs::Kind::Error).isEmpty());
}

void TestRecordPages::postOnLeavingTheGrid()
{
    Fixture f;
    f.start();
    PageUnderTest p(f, "IncomePage");
    p.grid()->setFocus();
    p.ds().first();
    p.ds().edit();
    p.ds().setValue("Sourc", QStringLiteral("Left behind"));
    p.page->filterEdit()->setFocus();
    QCoreApplication::processEvents();
    QVERIFY(p.ds().state() == Table::Dataset::State::Browse);

    // leaving the page posts an edit; an insert stays pending except on Clients
    p.ds().append();
    p.ds().setValue("Sourc", QStringLiteral("New"));
    p.grid()->setFocus();
    f.form()->goToPage(Brelvan::Page::Diary);
    QCoreApplication::processEvents();
    QVERIFY(p.ds().state() == Table::Dataset::State::Insert);
    p.ds().cancel();

    PageUnderTest c(f, "ClientsPage");
    c.grid()->setFocus();
    c.ds().append();
    c.ds().setValue("Surname", QStringLiteral("Leaver"));
    f.form()->goToPage(Brelvan::Page::Diary);
    QCoreApplication::processEvents();
    QVERIFY(c.ds().state() == Table::Dataset::State::Browse);
}

void TestRecordPages::editsDisabledWhenNotLive()
{
    Fixture f;
    f.start();
    PageUnderTest p(f, "ExpensesPage");
    QVERIFY(p.page->flashLabel()->isHidden());
    // a query the engine refuses leaves the page closed: edits would not be saved
    QVERIFY_THROWS_EXCEPTION(std::exception,
                             p.page->requery({"SELECT * FROM Expense WHERE Nope = 1"}));
    QVERIFY(!p.page->flashLabel()->isHidden());
    QVERIFY(p.page->flashLabel()->isFlashing());
    p.page->showAll();
    QVERIFY(p.page->flashLabel()->isHidden());
}

void TestRecordPages::walkFailureRestoresCursorAndRedrawing()
{
    Fixture f;
    f.start();
    PageUnderTest p(f, "IncomePage");
    // a post that fails during the walk: a before-post that refuses the third record
    int posts = 0;
    p.ds().setBeforePost([&posts](Table::Dataset &) {
        if (++posts == 3)
            throw std::runtime_error("refused");
    });
    QVERIFY_THROWS_EXCEPTION(std::exception, p.page->tagAll());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(!p.ds().controlsDisabled());
    QCOMPARE(storedValues(f, "Income", "Tag").count("y") >= 2, true);

    // the walk's first step, posting the record being edited, fails: the guard that has
    // just taken the cursor and the redrawing gives them back though its constructor threw
    p.page->filterEdit()->setFocus();
    QCoreApplication::processEvents();
    p.ds().setBeforePost([](Table::Dataset &) { throw std::runtime_error("refused"); });
    p.ds().first();
    p.ds().edit();
    p.ds().setValue("Sourc", QStringLiteral("Kept"));
    QVERIFY_THROWS_EXCEPTION(std::exception, p.page->tagAll());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(!p.ds().controlsDisabled());
    QVERIFY(p.grid()->hasFocus() || QApplication::focusWidget() == p.grid()->focusProxy());
    QCOMPARE(p.ds().text("Sourc"), QStringLiteral("Kept"));
    p.ds().setBeforePost({});
    p.ds().cancel();
}

void TestRecordPages::tagAllTimingAtTenThousand()
{
    Fixture f(Fixture::EmptyTables);
    {
        auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
        Table::Dataset ds(QStringLiteral("Fill"));
        ds.setDatabase(db.get());
        ds.setTableName(QStringLiteral("Income"));
        ds.open();
        Table::Dataset::Walk walk(ds);
        for (int i = 0; i < 10000; ++i) {
            ds.append();
            ds.setValue("Date", QDate(2020, 1, 1).addDays(i % 2000));
            ds.setValue("Incom", QStringLiteral("Sale %1").arg(i));
            ds.setValue("InvoiceNo", double(i + 1));
            ds.setValue("Sales", 100.0);
            ds.setValue("Bank", 110.0);
            ds.setValue("Tax", 10.0);
            ds.post();
        }
        walk.commit();
    }
    f.start();
    PageUnderTest p(f, "IncomePage");
    QCOMPARE(p.ds().rowCount(), 10000);
    bool progressSeen = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (f.mainForm()->findChild<QProgressDialog *>("WalkProgress"))
            progressSeen = true;
    });
    probe.start(1);
    QElapsedTimer t;
    t.start();
    QTest::mouseClick(p.page->tagAllButton(), Qt::LeftButton);
    const qint64 ms = t.elapsed();
    probe.stop();
    qInfo("tag all over 10,000 Income records with progress shown: %lld ms", ms);
    QVERIFY(progressSeen);
    QCOMPARE(storedValues(f, "Income", "Tag").count("y"), 10000);

    // the same edits by the dataset alone, for comparison with the engine's own cost
    t.restart();
    {
        Table::Dataset &ds = p.ds();
        ds.disableControls();
        Table::Dataset::Walk walk(ds);
        for (ds.first(); !ds.eof(); ds.next()) {
            ds.edit();
            ds.setValue("Tag", QStringLiteral("y"));
            ds.post();
        }
        walk.commit();
        ds.enableControls();
    }
    qInfo("the same walk by the dataset alone: %lld ms", t.elapsed());
}

BRELVAN_TEST_MAIN(TestRecordPages)
#include "tst_recordpages.moc"
