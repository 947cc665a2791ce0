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
#include "../../storedrecords.h"

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

} // namespace

class TestRecordPageInput : public QObject
{
    Q_OBJECT

private slots:
    void numberFilterThatIsNoNumberKeepsTheRecords_data();
    void numberFilterThatIsNoNumberKeepsTheRecords();
    void numberFilterTypedKeyByKey();
    void gridMenuWorksOnTheClickedCell_data();
    void gridMenuWorksOnTheClickedCell();
};

// every item of the field chooser gives a query the engine takes (reserved-looking field
// names such as Group included), numbers with "1" for the filter
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
QLineEdit *chooseOffice(PageUnderTest &p)
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

void TestRecordPageInput::numberFilterThatIsNoNumberKeepsTheRecords_data()
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

void TestRecordPageInput::numberFilterThatIsNoNumberKeepsTheRecords()
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

void TestRecordPageInput::numberFilterTypedKeyByKey()
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

void TestRecordPageInput::gridMenuWorksOnTheClickedCell_data()
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

void TestRecordPageInput::gridMenuWorksOnTheClickedCell()
{
    QFETCH(QString, gridName);
    QFETCH(QString, table);
    QFETCH(int, tab);
    QFETCH(QString, readOnlyField);
    Fixture f;
    writeTags(f, table, {"y"});
    f.start();
    f.form()->goToPage(Brelvan::Page(tab));
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

BRELVAN_TEST_MAIN(TestRecordPageInput)
#include "tst_recordpageinput.moc"
