#include "../../recordpagetest.h"
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

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressDialog>
#include <QSignalBlocker>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Brelvan;
using Brelvan::Testing::Fixture;
using Brelvan::Testing::PageUnderTest;
using Brelvan::Testing::recordPageSpecs;
using Brelvan::Testing::storedValues;
using Brelvan::Testing::writeTags;

namespace {

const QDateTime now(QDate(2026, 3, 15), QTime(9, 30, 5));

const QString deleteWarning = QStringLiteral(
    "Do NOT completley empty databases (Grids) - the software expects to find a data "
    "record.\r\n\r\nAdd new records first.\r\n\r\nCompletely emptying the database may cause "
    "the program to malfunction !");

QColor red() { return QColor(0xFF, 0, 0); }
QColor white() { return QColor(Qt::white); }

// A row for each page where the rule applies, named by the page; add fills the row's
// other columns from the page's description.
void pageRows(const std::function<bool(const PageSpec &)> &applies,
              const std::function<void(QTestData &, const PageSpec &)> &add = {})
{
    for (const PageSpec *s : recordPageSpecs()) {
        if (!applies(*s))
            continue;
        QTestData &row = QTest::newRow(qPrintable(s->page)) << s->page;
        if (add)
            add(row, *s);
    }
}

bool every(const PageSpec &) { return true; }

// A plain text column of each page the tests type into: no key, no title sort of its own.
int textColumn(const QString &page)
{
    static const QHash<QString, int> columns = {
        {"Clients", 8}, {"Paint", 4},    {"Quotes", 6},    {"Jobs", 8},
        {"Expenses", 6}, {"Income", 11}, {"Inventory", 8}, {"Wages", 7}};
    return columns.value(page);
}

// The ORDER BY list a page starts with: its typed start text, its start item's list, or
// the default list when it starts on none.
QString startOrder(const PageSpec &s)
{
    if (!s.startSortText.isEmpty())
        return s.startSortText;
    return s.startSortItem >= 0 ? s.sortItems.at(s.startSortItem).orderBy : s.defaultOrderBy;
}

// The shown records narrowed to those of one Code, as a selection leaves them.
QString showOneCode(PageUnderTest &p)
{
    p.ds().first();
    while (p.ds().text("Code").isEmpty())
        p.ds().next();
    const QString code = p.ds().text("Code");
    p.page->requery({QStringLiteral("SELECT * FROM ") + p.spec.table + " WHERE Code = "
                     + Table::quoteLiteral(code)});
    return code;
}

bool gridHasFocus(const PageUnderTest &p)
{
    QWidget *w = QApplication::focusWidget();
    return w && (w == p.grid() || p.grid()->isAncestorOf(w));
}

// An Enter key as the user gives it: to the control with the focus, the cell editor when
// one is open.
void pressEnter(const PageUnderTest &p, bool shift)
{
    QWidget *target = QApplication::focusWidget();
    if (!target)
        target = p.grid();
    QTest::keyClick(target, Qt::Key_Return, shift ? Qt::ShiftModifier : Qt::NoModifier);
}

} // namespace

// The rules every record page shares, driven through the real main window on each page
// where they apply; the differences between pages come from the pages' descriptions.
class TestRecordPage : public QObject
{
    Q_OBJECT

private slots:
    void startsShowingEveryRecord_data();
    void startsShowingEveryRecord();
    void tagAll_data();
    void tagAll();
    void clearTags_data();
    void clearTags();
    void reverseTags_data();
    void reverseTags();
    void allButtonShowsAll_data();
    void allButtonShowsAll();
    void titleSortUsesTheCursorColumn_data();
    void titleSortUsesTheCursorColumn();
    void toggle_data();
    void toggle();
    void enterMovement_data();
    void enterMovement();
    void dateDefaultFollowsVisualPosition_data();
    void dateDefaultFollowsVisualPosition();
    void noteStamp_data();
    void noteStamp();
    void deleteWarningAtTwoRecords_data();
    void deleteWarningAtTwoRecords();
    void postOnLeavingTheGrid_data();
    void postOnLeavingTheGrid();
    void editsDisabledWhenNotLive_data();
    void editsDisabledWhenNotLive();
    void walkFailureRestoresCursorAndRedrawing_data();
    void walkFailureRestoresCursorAndRedrawing();
    void emptyTables_data();
    void emptyTables();
    void everyChooserItemQueries_data();
    void everyChooserItemQueries();
    void longWalkShowsProgress();
};

void TestRecordPage::startsShowingEveryRecord_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("order");
    QTest::addColumn<bool>("atLast");
    QTest::addColumn<bool>("memoUnder"); // the notes under the grid rather than beside it
    pageRows(every, [](QTestData &row, const PageSpec &s) {
        row << startOrder(s) << s.startAtLast << (s.page == QLatin1String("Wages"));
    });
}

void TestRecordPage::startsShowingEveryRecord()
{
    QFETCH(QString, page);
    QFETCH(QString, order);
    QFETCH(bool, atLast);
    QFETCH(bool, memoUnder);
    Fixture f;
    f.setNow(now);
    f.writeIni("Detail", "E3", "Sixty");
    f.writeIni("Detail", "VAT", "GST");
    f.start();
    PageUnderTest p(f, page);
    const PageSpec &s = p.spec;
    QVERIFY(p.grid());
    QCOMPARE(p.grid()->objectName(), s.grid);
    QCOMPARE(p.ds().rowCount(), storedValues(f, s.table, "Tag").size());
    QVERIFY(p.ds().rowCount() > 1);

    // the columns in their standard order, titled as described or by the settings
    QCOMPARE(p.grid()->model()->columnCount(), s.columns.size());
    for (int c = 0; c < s.columns.size(); ++c) {
        const ColumnSpec &col = s.columns.at(c);
        QCOMPARE(p.grid()->datasetModel()->column(c).field, col.field);
        if (col.titleSetting.isEmpty()) {
            QCOMPARE(p.title(c), col.title.isEmpty() ? col.field : col.title);
        } else {
            const QString t = p.page->main().settings().value(col.titleSetting);
            QCOMPARE(p.title(c), t.isEmpty() ? QStringLiteral(" ") : t);
        }
    }
    for (const ColumnSpec &col : s.columns) {
        if (col.titleSetting == QLatin1String("VAT"))
            QCOMPARE(p.titleOf(col.field), QStringLiteral("GST"));
        if (col.titleSetting == QLatin1String("E3"))
            QCOMPARE(p.titleOf(col.field), QStringLiteral("Sixty"));
    }

    // the "All" state: every record in the sort order, filter "y", All caption white
    QCOMPARE(p.ds().sql(), QStringList({"SELECT * FROM " + s.table, "ORDER by " + order}));
    QCOMPARE(p.page->sortChooser()->currentText(), order);
    QCOMPARE(p.page->fieldChooser()->currentIndex(), 0);
    QCOMPARE(p.page->fieldChooser()->count(), s.chooserItems.size() + 2);
    QCOMPARE(p.page->fieldChooser()->itemText(0), QStringLiteral("All"));
    QCOMPARE(p.page->fieldChooser()->itemText(1), QStringLiteral("Tag"));
    QCOMPARE(p.page->filterEdit()->text(), QStringLiteral("y"));
    QCOMPARE(p.page->allButton() != nullptr, !s.allButton.isEmpty());
    if (p.page->allButton())
        QCOMPARE(p.page->allButton()->captionColor(), white());
    QVERIFY(p.page->flashLabel()->isHidden());
    QCOMPARE(p.grid()->alternateColor(), p.page->settingColor("Grad4Str"));
    QCOMPARE(p.grid()->backgroundColor(), p.page->settingColor("Grad3Str"));
    if (atLast)
        QCOMPARE(p.ds().row(), p.ds().rowCount() - 1);
    else if (page == QLatin1String("Paint"))
        QCOMPARE(p.ds().row(), 0); // the price list stays at its first paint

    QCOMPARE(p.page->notesMemo() != nullptr, !s.notesMemo.isEmpty());
    if (p.page->notesMemo()) {
        const QPoint memo = p.page->notesMemo()->mapTo(f.mainForm(), QPoint());
        const QPoint grid = p.grid()->mapTo(f.mainForm(), QPoint());
        QCOMPARE(memo.y() >= grid.y() + p.grid()->height(), memoUnder);
        QCOMPARE(memo.x() >= grid.x() + p.grid()->width(), !memoUnder);
    }
}

void TestRecordPage::tagAll_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("after"); // PageSpec::AfterTagAll
    pageRows([](const PageSpec &s) { return !s.tagAllButton.isEmpty(); },
             [](QTestData &row, const PageSpec &s) { row << int(s.afterTagAll); });
}

void TestRecordPage::tagAll()
{
    QFETCH(QString, page);
    QFETCH(int, after);
    Fixture f;
    writeTags(f, Testing::recordPageSpec(page).table, {});
    f.start();
    PageUnderTest p(f, page);
    const QString code = showOneCode(p);
    const int shown = p.ds().rowCount();
    QVERIFY(shown > 0);
    const QStringList before = p.ds().sql();
    QTest::mouseClick(p.page->tagAllButton(), Qt::LeftButton);

    QCOMPARE(p.page->fieldChooser()->currentText(), QStringLiteral("Tag"));
    // the shown records tagged and stored so, and no other
    const QStringList codes = storedValues(f, p.spec.table, "Code");
    const QStringList tags = storedValues(f, p.spec.table, "Tag");
    QCOMPARE(tags.count(QStringLiteral("y")), shown);
    for (int i = 0; i < tags.size(); ++i)
        QCOMPARE(tags.at(i), codes.at(i) == code ? QStringLiteral("y") : QString());
    switch (PageSpec::AfterTagAll(after)) {
    case PageSpec::AfterTagAll::ApplySelection:
        // the "Tag" selection: every record tagged y, whatever its Code
        QCOMPARE(p.ds().sql().value(0), QStringLiteral("SELECT * FROM ") + p.spec.table
                                            + " WHERE Tag LIKE \"%y%\"");
        QCOMPARE(p.ds().rowCount(), shown);
        break;
    case PageSpec::AfterTagAll::AllCaptionRed:
        QCOMPARE(p.page->allButton()->captionColor(), red());
        [[fallthrough]];
    case PageSpec::AfterTagAll::Nothing:
        // not re-queried: the same records, the cursor on the first
        QCOMPARE(p.ds().sql(), before);
        QCOMPARE(p.ds().rowCount(), shown);
        QCOMPARE(p.ds().row(), 0);
        break;
    }
    QVERIFY(p.ds().state() == Table::Dataset::State::Browse);
}

void TestRecordPage::clearTags_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("flips");
    QTest::addColumn<bool>("toLast");
    pageRows(every, [](QTestData &row, const PageSpec &s) {
        row << s.clearFlips << s.clearGoesToLast;
    });
}

// Clear tags touches the shown records only, the "X" of another tool with the "y".
void TestRecordPage::clearTags()
{
    QFETCH(QString, page);
    QFETCH(bool, flips);
    QFETCH(bool, toLast);
    Fixture f;
    const QString table = Testing::recordPageSpec(page).table;
    QStringList pattern;
    for (int i = 0; i < 100; ++i)
        pattern << QStringList{"y", "", "X", "y"};
    writeTags(f, table, pattern);
    f.start();
    PageUnderTest p(f, page);
    const QStringList tagsBefore = storedValues(f, table, "Tag");
    const QString code = showOneCode(p);
    const int shown = p.ds().rowCount();
    QVERIFY(shown > 0 && shown < tagsBefore.size());
    ShapeButton *b = p.page->clearTagsButton();
    QVERIFY(b->isPlain());
    p.grid()->setCurrentCell(qMin(2, shown - 1), 0);
    QTest::mouseClick(b, Qt::LeftButton);

    QCOMPARE(p.shownTags(), QStringList(shown, QString()));
    QCOMPARE(p.ds().rowCount(), shown); // not re-queried
    const QStringList codes = storedValues(f, table, "Code");
    const QStringList tags = storedValues(f, table, "Tag");
    for (int i = 0; i < tags.size(); ++i)
        QCOMPARE(tags.at(i), codes.at(i) == code ? QString() : tagsBefore.at(i));
    QCOMPARE(p.ds().row(), toLast ? shown - 1 : 0);
    // the highlight flip where the page has it, and back on the next click
    QCOMPARE(!b->isPlain(), flips);
    if (flips) {
        QCOMPARE(b->startColor(), p.page->settingColor("Grad2Str"));
        QCOMPARE(b->endColor(), p.page->settingColor("Grad1Str"));
    }
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(b->isPlain());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(gridHasFocus(p));
}

void TestRecordPage::reverseTags_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("flips");
    pageRows([](const PageSpec &s) { return !s.reverseTagsButton.isEmpty(); },
             [](QTestData &row, const PageSpec &s) { row << s.reverseFlips; });
}

// Reverse shows every record, then the tagged ("y" or "X") lose their tag and the rest
// gain "y"; the newly tagged are shown.
void TestRecordPage::reverseTags()
{
    QFETCH(QString, page);
    QFETCH(bool, flips);
    Fixture f;
    const QString table = Testing::recordPageSpec(page).table;
    writeTags(f, table, {"y", "", "X"});
    f.start();
    PageUnderTest p(f, page);
    const int total = storedValues(f, table, "Tag").size();
    // a filter in force first
    p.page->requery({QStringLiteral("SELECT * FROM ") + table + " WHERE Tag = \"q\""});
    QCOMPARE(p.ds().rowCount(), 0);
    ShapeButton *reverse = p.page->reverseTagsButton();
    QTest::mouseClick(reverse, Qt::LeftButton);

    QStringList expected(total, QStringLiteral("y"));
    expected[0] = expected[2] = QString();
    QCOMPARE(storedValues(f, table, "Tag"), expected);
    QCOMPARE(p.ds().rowCount(), total - 2);
    QCOMPARE(p.page->fieldChooser()->currentText(), QStringLiteral("Tag"));
    QVERIFY(p.ds().sqlText().contains("WHERE Tag LIKE \"%y%\""));
    QCOMPARE(!reverse->isPlain(), flips);
    if (p.page->allButton())
        QCOMPARE(p.page->allButton()->captionColor(), red());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestRecordPage::allButtonShowsAll_data()
{
    QTest::addColumn<QString>("page");
    pageRows([](const PageSpec &s) { return !s.allButton.isEmpty(); });
}

void TestRecordPage::allButtonShowsAll()
{
    QFETCH(QString, page);
    Fixture f;
    writeTags(f, Testing::recordPageSpec(page).table, {"y"});
    f.start();
    PageUnderTest p(f, page);
    const int all = p.ds().rowCount();
    // a narrowed set, as a selection leaves it
    p.page->setChooserItem(1);
    p.page->requery({"SELECT * FROM " + p.spec.table + " WHERE Tag LIKE \"y\""});
    p.page->setAllCaptionRed(true);
    {
        const QSignalBlocker quiet(p.page->filterEdit());
        p.page->filterEdit()->setText(QStringLiteral("z"));
    }
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

void TestRecordPage::titleSortUsesTheCursorColumn_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("sorts");
    QTest::addColumn<int>("column"); // the cursor's column: a text column, not the one clicked
    pageRows(every, [](QTestData &row, const PageSpec &s) {
        row << s.titleSort << textColumn(s.page);
    });
}

// A click on a title shows the records tagged "y" (not "X") sorted by the field of the
// cursor's column; the record being typed is saved first.
void TestRecordPage::titleSortUsesTheCursorColumn()
{
    QFETCH(QString, page);
    QFETCH(bool, sorts);
    QFETCH(int, column);
    Fixture f;
    const QStringList tags = {"y", "X", "y", "y", "", "y", "X", "y"};
    const QString table = Testing::recordPageSpec(page).table;
    writeTags(f, table, tags);
    const int tagged = storedValues(f, table, "Tag").count(QStringLiteral("y"));
    QVERIFY(tagged > 2);
    f.start();
    PageUnderTest p(f, page);
    const QString field = p.spec.columns.at(column).field;
    if (p.page->allButton())
        p.page->setAllCaptionRed(true);
    const QStringList before = p.ds().sql();
    int typed = 0;
    while (p.ds().valueAt(typed, p.ds().fieldIndex("Tag")).toString() != QLatin1String("y"))
        ++typed;
    p.grid()->setCurrentCell(typed, column);
    p.ds().edit();
    p.ds().setValue(field, QStringLiteral("Typed 1st"));
    const int shownBefore = f.dialogs().shown().size();
    p.clickTitle(1);

    if (!sorts) {
        QCOMPARE(p.ds().sql(), before);
        QCOMPARE(f.dialogs().shown().size(), shownBefore);
        if (p.page->allButton())
            QCOMPARE(p.page->allButton()->captionColor(), red());
        p.ds().cancel();
        return;
    }
    QCOMPARE(f.dialogs().shown().mid(shownBefore),
             QStringList{"Only records with Tag = y will be sorted and shown."});
    QCOMPARE(p.ds().sql(),
             QStringList({"SELECT * FROM " + p.spec.table + " WHERE Tag LIKE \"y\"",
                          "Order by " + field}));
    QCOMPARE(p.shownTags(), QStringList(tagged, QStringLiteral("y")));
    QCOMPARE(p.ds().row(), tagged - 1);
    const QStringList values = p.shownValues(field);
    for (int r = 1; r < values.size(); ++r)
        QVERIFY2(values.at(r - 1) <= values.at(r), qPrintable(values.join('|')));
    // the edit in progress was saved, not lost with the closed query
    QVERIFY(values.contains(QStringLiteral("Typed 1st")));
    QVERIFY(p.page->flashLabel()->isHidden());
    if (p.page->allButton())
        QCOMPARE(p.page->allButton()->captionColor(), white());
}

void TestRecordPage::toggle_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("allUnticks");
    pageRows([](const PageSpec &s) { return !s.toggle.isEmpty(); },
             [](QTestData &row, const PageSpec &s) { row << s.allUnticksToggle; });
}

void TestRecordPage::toggle()
{
    QFETCH(QString, page);
    QFETCH(bool, allUnticks);
    Fixture f;
    f.start();
    PageUnderTest p(f, page);
    const QString table = p.spec.table;
    QCheckBox *t = p.page->toggle();
    QVERIFY(t);
    QVERIFY(!t->isChecked());
    QVERIFY(t->styleSheet().contains("#00ff00"));
    // with "All" chosen a tick runs the "All" selection, which unticks it where the page
    // does so; unticked, every record shows in the order the sort chooser shows
    t->click();
    QCOMPARE(t->isChecked(), !allUnticks);
    if (t->isChecked())
        t->click();
    QVERIFY(t->styleSheet().contains("#00ff00"));
    QCOMPARE(p.ds().sql(), QStringList({"SELECT * FROM " + table,
                                        "ORDER by " + p.page->sortOrder()}));

    p.page->setChooserItem("Tag");
    t->click();
    QVERIFY(t->isChecked());
    QVERIFY(t->styleSheet().contains("#ff0000"));
    QCOMPARE(p.ds().sql().value(0), "SELECT * FROM " + table + " WHERE Tag LIKE \"%y%\"");
    t->click();
    QVERIFY(t->styleSheet().contains("#00ff00"));
    QCOMPARE(p.ds().sql(), QStringList({"SELECT * FROM " + table,
                                        "ORDER by " + p.page->sortOrder()}));

    // a selection other than "All" ticks it; "All" unticks it where the page does so
    p.page->setChooserItem("Tag");
    p.page->applySelection();
    QVERIFY(t->isChecked());
    p.page->showAll();
    QCOMPARE(t->isChecked(), !allUnticks);
}

void TestRecordPage::enterMovement_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<int>("fromRow");    // -1: the last record
    QTest::addColumn<int>("fromColumn"); // -1: the last column
    QTest::addColumn<int>("toRow");      // where it moves to, where the page moves
    QTest::addColumn<int>("toColumn");
    struct Move
    {
        const char *name;
        bool shift;
        int fromRow, fromColumn, toRow, toColumn;
    };
    const Move moves[] = {
        {"right", false, 2, 3, 2, 4},
        {"last column: next record", false, 2, -1, 3, 0},
        {"last of the last record", false, -1, -1, -1, 0},
        {"shift left", true, 2, 3, 2, 2},
        {"shift on column 0", true, 2, 0, 1, -1},
    };
    for (const PageSpec *s : recordPageSpecs()) {
        for (const Move &m : moves) {
            QTest::addRow("%s: %s", qPrintable(s->page), m.name)
                << s->page << s->enterMoves << m.shift << m.fromRow << m.fromColumn << m.toRow
                << m.toColumn;
        }
    }
}

void TestRecordPage::enterMovement()
{
    QFETCH(QString, page);
    QFETCH(bool, moves);
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
    pressEnter(p, shift);
    // where Enter takes no movement the cursor stays where it was
    QCOMPARE(p.ds().row(), row(moves ? toRow : fromRow));
    QCOMPARE(p.grid()->currentVisualColumn(), col(moves ? toColumn : fromColumn));
    QCOMPARE(p.ds().rowCount(), lastRow + 1); // no record appended
}

void TestRecordPage::dateDefaultFollowsVisualPosition_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("dateField");
    QTest::addColumn<bool>("moveIt");
    for (const PageSpec *s : recordPageSpecs()) {
        if (s->dateDefaults.isEmpty())
            continue;
        const auto d = s->dateDefaults.first();
        QTest::newRow(qPrintable(s->page)) << s->page << d.first << d.second << false;
        QTest::addRow("%s moved", qPrintable(s->page)) << s->page << d.first << d.second << true;
    }
}

// Entering a date default's column position gives an empty date today's date, unposted;
// the position counts, whatever column the user has moved there.
void TestRecordPage::dateDefaultFollowsVisualPosition()
{
    QFETCH(QString, page);
    QFETCH(int, position);
    QFETCH(QString, dateField);
    QFETCH(bool, moveIt);
    Fixture f;
    f.setNow(now);
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
    QCOMPARE(p.ds().date(dateField), now.date());
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

void TestRecordPage::noteStamp_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("stamps");
    pageRows([](const PageSpec &s) { return !s.notesMemo.isEmpty(); },
             [](QTestData &row, const PageSpec &s) { row << s.notesStamp; });
}

// A double click on the notes appends the date and time on a line of its own and posts,
// where the page stamps its notes; elsewhere it changes nothing.
void TestRecordPage::noteStamp()
{
    QFETCH(QString, page);
    QFETCH(bool, stamps);
    Fixture f;
    f.setNow(now);
    f.start();
    PageUnderTest p(f, page);
    p.ds().first();
    NotesMemo *memo = p.page->notesMemo();
    QVERIFY(memo);
    const QString field = p.spec.notesField;
    const QString before = p.ds().text(field);
    QTest::mouseDClick(memo->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    const QString after = p.ds().text(field);
    QVERIFY(p.ds().state() == Table::Dataset::State::Browse); // posted
    if (!stamps) {
        QCOMPARE(after, before);
        return;
    }
    const QString stamp = QStringLiteral("15/03/2026 09:30:05 ");
    QVERIFY2(after.endsWith(stamp), qPrintable(after));
    if (!before.isEmpty())
        QCOMPARE(after.left(after.size() - stamp.size()).trimmed(), before.trimmed());
    const QString head = after.left(after.size() - stamp.size());
    QVERIFY(head.isEmpty() || head.endsWith('\n'));
}

void TestRecordPage::deleteWarningAtTwoRecords_data()
{
    QTest::addColumn<QString>("page");
    pageRows(every);
}

void TestRecordPage::deleteWarningAtTwoRecords()
{
    QFETCH(QString, page);
    Fixture f;
    writeTags(f, Testing::recordPageSpec(page).table, {"y", "y", "y"});
    f.start();
    PageUnderTest p(f, page);
    p.page->requery({"SELECT * FROM " + p.spec.table + " WHERE Tag LIKE \"y\""});
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

void TestRecordPage::postOnLeavingTheGrid_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("postsInsert");
    QTest::addColumn<int>("column");
    pageRows(every, [](QTestData &row, const PageSpec &s) {
        row << s.postInsertOnLeave << textColumn(s.page);
    });
}

// Leaving the grid posts an edit; leaving the page posts an edit, and a record being
// inserted only where the page says so.
void TestRecordPage::postOnLeavingTheGrid()
{
    QFETCH(QString, page);
    QFETCH(bool, postsInsert);
    QFETCH(int, column);
    Fixture f;
    f.start();
    PageUnderTest p(f, page);
    const QString field = p.spec.columns.at(column).field;
    p.grid()->setFocus();
    p.ds().first();
    p.ds().edit();
    p.ds().setValue(field, QStringLiteral("Left here"));
    p.page->filterEdit()->setFocus();
    QCoreApplication::processEvents();
    QVERIFY(p.ds().state() == Table::Dataset::State::Browse);
    QVERIFY(storedValues(f, p.spec.table, field).contains(QStringLiteral("Left here")));

    p.ds().edit();
    p.ds().setValue(field, QStringLiteral("Page left"));
    p.grid()->setFocus();
    f.form()->goToPage(Brelvan::Page::Diary);
    QCoreApplication::processEvents();
    QVERIFY(p.ds().state() == Table::Dataset::State::Browse);
    QVERIFY(storedValues(f, p.spec.table, field).contains(QStringLiteral("Page left")));

    f.form()->goToPage(p.spec.id);
    QCoreApplication::processEvents();
    p.ds().append();
    p.ds().setValue(field, QStringLiteral("New"));
    p.grid()->setFocus();
    f.form()->goToPage(Brelvan::Page::Diary);
    QCoreApplication::processEvents();
    QCOMPARE(p.ds().state() == Table::Dataset::State::Browse, postsInsert);
    if (!postsInsert) {
        QVERIFY(p.ds().state() == Table::Dataset::State::Insert);
        p.ds().cancel();
    }
}

void TestRecordPage::editsDisabledWhenNotLive_data()
{
    QTest::addColumn<QString>("page");
    pageRows(every);
}

void TestRecordPage::editsDisabledWhenNotLive()
{
    QFETCH(QString, page);
    Fixture f;
    f.start();
    PageUnderTest p(f, page);
    QVERIFY(p.page->flashLabel()->isHidden());
    // a query the engine refuses leaves the page closed: edits would not be saved
    QVERIFY_THROWS_EXCEPTION(std::exception,
                             p.page->requery({"SELECT * FROM " + p.spec.table
                                              + " WHERE Nope = 1"}));
    QVERIFY(!p.page->flashLabel()->isHidden());
    QVERIFY(p.page->flashLabel()->isFlashing());
    p.page->showAll();
    QVERIFY(p.page->flashLabel()->isHidden());
}

void TestRecordPage::walkFailureRestoresCursorAndRedrawing_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("tagging"); // the walk: tag all where the page has it, else clear
    QTest::addColumn<int>("column");
    pageRows(every, [](QTestData &row, const PageSpec &s) {
        row << !s.tagAllButton.isEmpty() << textColumn(s.page);
    });
}

void TestRecordPage::walkFailureRestoresCursorAndRedrawing()
{
    QFETCH(QString, page);
    QFETCH(bool, tagging);
    QFETCH(int, column);
    Fixture f;
    const QString table = Testing::recordPageSpec(page).table;
    writeTags(f, table, tagging ? QStringList() : QStringList(400, QStringLiteral("y")));
    f.start();
    PageUnderTest p(f, page);
    const QString field = p.spec.columns.at(column).field;
    const QString walked = tagging ? QStringLiteral("y") : QString(); // a walked record's tag
    const int walkedBefore = storedValues(f, table, "Tag").count(walked);
    const auto walk = [&p, tagging] {
        if (tagging)
            p.page->tagAll();
        else
            p.page->clearTags();
    };
    // a post that fails during the walk: a before-post that refuses the third record
    int posts = 0;
    p.ds().setBeforePost([&posts](Table::Dataset &) {
        if (++posts == 3)
            throw std::runtime_error("refused");
    });
    QVERIFY_THROWS_EXCEPTION(std::exception, walk());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(!p.ds().controlsDisabled());
    // the posts before the refusal are kept
    QVERIFY(storedValues(f, table, "Tag").count(walked) >= walkedBefore + 2);

    // the walk's first step, posting the record being edited, fails: the guard that has
    // just taken the cursor and the redrawing gives them back though its constructor threw
    p.page->filterEdit()->setFocus();
    QCoreApplication::processEvents();
    p.ds().setBeforePost([](Table::Dataset &) { throw std::runtime_error("refused"); });
    p.ds().first();
    p.ds().edit();
    p.ds().setValue(field, QStringLiteral("Kept"));
    QVERIFY_THROWS_EXCEPTION(std::exception, walk());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(!p.ds().controlsDisabled());
    QVERIFY(p.grid()->hasFocus() || QApplication::focusWidget() == p.grid()->focusProxy());
    QCOMPARE(p.ds().text(field), QStringLiteral("Kept"));
    p.ds().setBeforePost({});
    p.ds().cancel();
}

void TestRecordPage::emptyTables_data()
{
    QTest::addColumn<QString>("page");
    pageRows(every);
}

// A new installation: every tool of the page works on a table with no records.
void TestRecordPage::emptyTables()
{
    QFETCH(QString, page);
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    PageUnderTest p(f, page);
    QCOMPARE(p.ds().rowCount(), 0);
    if (p.page->allButton()) {
        QCOMPARE(p.page->allButton()->captionColor(), white());
        QTest::mouseClick(p.page->allButton(), Qt::LeftButton);
    }
    QTest::mouseClick(p.page->clearTagsButton(), Qt::LeftButton);
    if (p.page->tagAllButton())
        QTest::mouseClick(p.page->tagAllButton(), Qt::LeftButton);
    if (p.page->reverseTagsButton())
        QTest::mouseClick(p.page->reverseTagsButton(), Qt::LeftButton);
    for (const auto &d : p.spec.dateDefaults)
        p.grid()->setCurrentVisualColumn(d.first);
    QVERIFY2(f.dialogs().shown().isEmpty(), qPrintable(f.dialogs().shown().join('|')));
    QCOMPARE(p.ds().rowCount(), 0);
    QCOMPARE(p.ds().state(), Table::Dataset::State::Browse);
}

void TestRecordPage::everyChooserItemQueries_data()
{
    QTest::addColumn<QString>("page");
    pageRows(every);
}

// every item of the field chooser gives a query the engine takes (reserved-looking field
// names such as Group included), numbers with "1" for the filter
void TestRecordPage::everyChooserItemQueries()
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

// A walk of more than a few hundred records shows its progress and still posts them all.
void TestRecordPage::longWalkShowsProgress()
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
    PageUnderTest p(f, "Income");
    QCOMPARE(p.ds().rowCount(), 10000);
    bool progressSeen = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (f.mainForm()->findChild<QProgressDialog *>("WalkProgress"))
            progressSeen = true;
    });
    probe.start(1);
    QTest::mouseClick(p.page->tagAllButton(), Qt::LeftButton);
    probe.stop();
    QVERIFY(progressSeen);
    QCOMPARE(storedValues(f, "Income", "Tag").count("y"), 10000);
}

BRELVAN_TEST_MAIN(TestRecordPage)
#include "tst_recordpage.moc"
