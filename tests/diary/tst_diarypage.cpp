#include "data/schema.h"
#include "diary/clipboardmenu.h"
#include "diary/diarypage.h"
#include "diary/diarysearch.h"
#include "platform/desktop/clock.h"
#include "platform/desktop/shell.h"
#include "platform/table/database.h"
#include "platform/table/dataset.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flashinglabel.h"
#include "platform/widgets/gradientpanel.h"
#include "platform/widgets/shapebutton.h"
#include "shell/application.h"
#include "shell/tmainform.h"
#include "testing/fixture.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QTest>
#include <QTimer>

using namespace Brelvan;
using Brelvan::Testing::Fixture;

namespace {

struct Day
{
    QDate date;
    QString note;
    QString tag;
};

// The Diary table as a second copy of the program would read it: what was really written.
QList<Day> storedDays(const Fixture &f)
{
    auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
    Table::Dataset ds(QStringLiteral("Check"));
    ds.setDatabase(db.get());
    ds.setTableName(QStringLiteral("Diary"));
    ds.open();
    QList<Day> days;
    for (ds.first(); !ds.eof(); ds.next())
        days.append({ds.date("DATE"), ds.text("Day"), ds.text("Tag")});
    ds.close();
    return days;
}

void addDays(const Fixture &f, const QList<Day> &days)
{
    auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
    Table::Dataset ds(QStringLiteral("Fill"));
    ds.setDatabase(db.get());
    ds.setTableName(QStringLiteral("Diary"));
    ds.open();
    Table::Dataset::Walk walk(ds);
    for (const Day &d : days) {
        ds.append();
        ds.setValue("DATE", d.date);
        if (!d.note.isEmpty())
            ds.setValue("Day", d.note);
        if (!d.tag.isEmpty())
            ds.setValue("Tag", d.tag);
        ds.post();
    }
    ds.close();
}

struct DiaryUnderTest
{
    explicit DiaryUnderTest(Fixture &f) : w(f.mainForm())
    {
        page = w->findChild<DiaryPage *>("DiaryPage");
        calendar = w->findChild<QCalendarWidget *>("Calendar");
        memo = w->findChild<QPlainTextEdit *>("Daytime");
        toDo = w->findChild<QPlainTextEdit *>("TDo");
        sel = w->findChild<QComboBox *>("DiarySel");
        head = w->findChild<FlashingLabel *>("DiaryHead");
        grid = w->findChild<DataGrid *>("DiaryGrid");
    }
    void click(const char *button) { w->findChild<ShapeButton *>(button)->click(); }
    ShapeButton *button(const char *name) { return w->findChild<ShapeButton *>(name); }
    void choose(int index)
    {
        sel->setCurrentIndex(index);
        emit sel->activated(index);
    }

    QWidget *w;
    DiaryPage *page;
    QCalendarWidget *calendar;
    QPlainTextEdit *memo;
    QPlainTextEdit *toDo;
    QComboBox *sel;
    FlashingLabel *head;
    DataGrid *grid;
};

const QDateTime now(QDate(2026, 3, 15), QTime(9, 30)); // a Sunday

} // namespace

class TestDiaryPage : public QObject
{
    Q_OBJECT

private slots:
    void controlsCarryTheirNamesCaptionsAndHints();
    void visitingADayCreatesOneEmptyRecord();
    void weekButtonsSetTheirHeadingAndHighlight();
    void steppingFromTheWindow_data();
    void steppingFromTheWindow();
    void findTextListsTheDaysHoldingTheText();
    void findTextWithoutResultLeavesTheCalendar();
    void tagWithNothingTaggedReturnsToToday();
    void tagListsTheTaggedDays();
    void notesEditedInASelectionStayEditable();
    void failedSelectionShowsTheQueryError();
    void clearingTagsEmptiesEveryTag();
    void gridRowSetsTheCalendar();
    void gridShowsDatesInTheChosenFormat();
    void doubleClickStampsTheNote();
    void typedNoteIsPostedWhenLeavingTheMemo();
    void appendToDiaryGoesToTheCalendarsDay();
    void toDoIsLoadedAtStartAndSavedOnLeaving();
    void searchButtonsWalkTheDays_data();
    void searchButtonsWalkTheDays();
    void searchIsCaseSensitive();
    void searchFindsAPhraseTheMemoWraps();
    void highlightingSelectsEachOccurrenceASecondApart();
    void searchOverTenYearsIsFast();
    void diaryReportPrintsTheSelection();
    void toDoReportPrintsTheList();
    void unwritableToDoIsLoggedAndKept();
    void toDoIsSavedAtClose();
    void activationBringsTheDiaryToTheCalendarsDay();
    void dayPosTogglesTopAndEnd();
    void headingsHideAndShowTheInventoryAndWagesPages();
    void mateOpensTheChosenFileAndRemembersIt();
    void popupMenuCopiesAndPastesGridCells();
    void calendarWindowSteps_data();
    void calendarWindowSteps();
};

void TestDiaryPage::controlsCarryTheirNamesCaptionsAndHints()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    DiaryUnderTest p(f);
    QVERIFY(p.page && p.calendar && p.memo && p.toDo && p.sel && p.head && p.grid);
    QCOMPARE(p.button("NowBtn")->text(), QStringLiteral("Today"));
    QCOMPARE(p.button("NowBtn")->toolTip(), QStringLiteral("Return to Today"));
    QCOMPARE(p.button("NextWeekBtn")->text(), QStringLiteral("Week "));
    QCOMPARE(p.button("Prev2WeekBtn")->text(), QStringLiteral("-2Wk"));
    QCOMPARE(p.button("PrevYrBtn")->text(), QStringLiteral(" Year"));
    QCOMPARE(p.button("PrevYrBtn")->statusTip(),
             QStringLiteral("Prior Year (from current Calendar date)"));
    QCOMPARE(p.calendar->toolTip(), QStringLiteral("Click to Select"));
    QCOMPARE(p.grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Date "));
    const QStringList items = {"All", "Tag", "Find Text"};
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(p.sel->itemText(i), items.at(i));
    auto *flash = f.mainForm()->findChild<FlashingLabel *>("FlashDiary");
    QVERIFY(flash && !flash->isVisible());
    QCOMPARE(flash->text(), QStringLiteral("Edits Disabled"));
    for (const char *name : {"ClearDiaryTagsBtn", "DayPos", "DiaryCopyNotesBtn", "DiaryBtn",
                             "MateBtn", "PriorBtn", "RevScanBtn", "SearchBtn", "ScanBtn",
                             "NextBtn", "ScrollBtn", "PrintToDoBtn", "BusCardBtn"})
        QVERIFY2(p.button(name), name);
    // the start: today shown, not flashing, the memo has the focus
    QCOMPARE(p.head->text(), QStringLiteral("Diary for Sunday 15 March 2026"));
    QVERIFY(!p.head->isFlashing());
    QVERIFY(!p.button("NowBtn")->isPlain());
    QVERIFY(p.memo->hasFocus());
    auto *calHead = f.mainForm()->findChild<GradientPanel *>("CalHead");
    QCOMPARE(calHead->caption(), QStringLiteral("Todays Date Sunday 15 March 2026"));
    QVERIFY(f.dialogs().shown().isEmpty());
}

void TestDiaryPage::visitingADayCreatesOneEmptyRecord()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{QDate(2026, 3, 1), "First", {}}, {QDate(2026, 3, 31), "Last", {}}});
    f.start();
    DiaryUnderTest p(f);
    // the start made today's record, between the two, in date order
    QList<Day> days = storedDays(f);
    QCOMPARE(days.size(), 3);
    QCOMPARE(days.at(1).date, QDate(2026, 3, 15));
    QVERIFY(days.at(1).note.isEmpty() && days.at(1).tag.isEmpty());

    p.click("NextWeekBtn"); // 22 March: new
    p.click("PrevWeekBtn"); // back to today: exists
    p.click("NextWeekBtn"); // 22 March again: exists
    days = storedDays(f);
    QCOMPARE(days.size(), 4);
    QCOMPARE(days.at(2).date, QDate(2026, 3, 22));
    QCOMPARE(f.form()->session().diary().date("DATE"), QDate(2026, 3, 22));
    QVERIFY(p.memo->toPlainText().isEmpty());

    // a day with a record is shown, not made again; a later day than all is appended
    p.calendar->setSelectedDate(QDate(2026, 3, 31));
    QCOMPARE(p.memo->toPlainText(), QStringLiteral("Last"));
    p.calendar->setSelectedDate(QDate(2026, 4, 30));
    p.calendar->setSelectedDate(QDate(2026, 3, 1));
    QCOMPARE(p.memo->toPlainText(), QStringLiteral("First"));
    days = storedDays(f);
    QCOMPARE(days.size(), 5);
    QCOMPARE(days.last().date, QDate(2026, 4, 30));
    QVERIFY(f.dialogs().shown().isEmpty());
}

void TestDiaryPage::weekButtonsSetTheirHeadingAndHighlight()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    DiaryUnderTest p(f);
    // from today the heading stays as going to the date set it
    p.click("NextWeekBtn");
    QCOMPARE(p.head->text(), QStringLiteral("Diary for Sunday 22 March 2026"));
    QVERIFY(p.head->isFlashing());
    QVERIFY(!p.button("NextWeekBtn")->isPlain());
    QVERIFY(p.button("NowBtn")->isPlain());
    // from another day the week buttons write their own form
    p.click("Next2WeekBtn");
    QCOMPARE(p.head->text(), QStringLiteral(" Diary for Sunday, 5 April , 2026 "));
    QVERIFY(p.button("NextWeekBtn")->isPlain());
    p.click("NextMonthBtn");
    QCOMPARE(p.head->text(), QStringLiteral("Diary for Tuesday 5 May 2026"));
    QVERIFY(p.memo->hasFocus());
    p.click("NowBtn");
    QCOMPARE(p.calendar->selectedDate(), now.date());
    QVERIFY(!p.head->isFlashing());
    QVERIFY(!p.button("NowBtn")->isPlain());
    QVERIFY(p.button("NextMonthBtn")->isPlain());
}

void TestDiaryPage::steppingFromTheWindow_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<QDate>>("expected");
    QTest::newRow("month on from 31 January")
        << QDate(2005, 1, 31) << "NextMonthBtn"
        << QList<QDate>{QDate(2005, 2, 28), QDate(2005, 3, 28)};
    QTest::newRow("month back from 31 March 2004")
        << QDate(2004, 3, 31) << "PrevMonthBtn" << QList<QDate>{QDate(2004, 2, 29)};
    QTest::newRow("year on 29 February") << QDate(2004, 2, 29) << "NextYrBtn"
                                         << QList<QDate>{QDate(2005, 2, 28)};
    QTest::newRow("year back 29 February") << QDate(2004, 2, 29) << "PrevYrBtn"
                                           << QList<QDate>{QDate(2003, 2, 28)};
    QTest::newRow("two weeks back") << QDate(2005, 1, 3) << "Prev2WeekBtn"
                                    << QList<QDate>{QDate(2004, 12, 20)};
}

void TestDiaryPage::steppingFromTheWindow()
{
    QFETCH(QDate, from);
    QFETCH(QString, button);
    QFETCH(QList<QDate>, expected);
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    DiaryUnderTest p(f);
    p.calendar->setSelectedDate(from);
    for (const QDate &d : expected) {
        p.click(button.toLatin1().constData());
        QCOMPARE(p.calendar->selectedDate(), d);
        QCOMPARE(f.form()->session().diary().date("DATE"), d);
    }
}

void TestDiaryPage::findTextListsTheDaysHoldingTheText()
{
    Fixture f;
    f.setNow(now);
    f.start();
    DiaryUnderTest p(f);
    QList<QDate> want;
    for (const Day &d : storedDays(f)) {
        if (d.note.contains(QLatin1String("Smith")))
            want << d.date;
    }
    QVERIFY(want.size() > 1);
    f.dialogs().answer("Smith");
    p.choose(2);
    QCOMPARE(f.dialogs().shown(), QStringList({"CASE SENSITIVE  search for"}));
    Table::Dataset *q = f.form()->session().dataset("DiaryQ");
    QCOMPARE(p.page->source(), q);
    QCOMPARE(q->sql().last(), QStringLiteral("ORDER by Date"));
    QList<QDate> got;
    for (q->first(); !q->eof(); q->next())
        got << q->date("DATE");
    QCOMPARE(got, want);
    QCOMPARE(p.grid->model()->rowCount(), want.size());
    QCOMPARE(p.calendar->selectedDate(), want.first());
    QVERIFY(p.head->isFlashing());
    QVERIFY(!f.mainForm()->findChild<FlashingLabel *>("FlashDiary")->isVisible());
    QCOMPARE(p.page->lastFindText(), QStringLiteral("Smith"));

    // "All" returns to the plain diary and today; the text is offered again next time
    p.choose(0);
    QCOMPARE(p.page->source(), &f.form()->session().diary());
    QCOMPARE(p.calendar->selectedDate(), now.date());
    f.dialogs().answerCancel();
    p.choose(2);
    QCOMPARE(f.dialogs().entries().last().detail, QStringLiteral("Enter Search Criteria"));
    QCOMPARE(p.page->lastFindText(), QStringLiteral("Smith"));
}

void TestDiaryPage::findTextWithoutResultLeavesTheCalendar()
{
    Fixture f;
    f.setNow(now);
    f.start();
    DiaryUnderTest p(f);
    p.click("PrevWeekBtn");
    const QDate before = p.calendar->selectedDate();
    const int days = storedDays(f).size();
    f.dialogs().answer("no such words \"here\" 100%");
    p.choose(2);
    QCOMPARE(f.dialogs().shown(), QStringList({"CASE SENSITIVE  search for"}));
    QCOMPARE(p.calendar->selectedDate(), before);
    QCOMPARE(storedDays(f).size(), days);
    QCOMPARE(p.grid->model()->rowCount(), 0);

    // an empty text lists every day and says so
    f.dialogs().clearShown();
    f.dialogs().answer("");
    p.choose(2);
    QCOMPARE(f.dialogs().shown(),
             QStringList({"CASE SENSITIVE  search for", "Data was NOT specified"}));
    QCOMPARE(p.grid->model()->rowCount(), days);
}

void TestDiaryPage::tagWithNothingTaggedReturnsToToday()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{QDate(2026, 3, 2), "Smith", {}}});
    f.start();
    DiaryUnderTest p(f);
    p.click("PrevMonthBtn");
    p.choose(1);
    QCOMPARE(f.dialogs().shown(), QStringList({"At least one record must be have a Tag of y"}));
    QCOMPARE(p.calendar->selectedDate(), now.date());
    QCOMPARE(p.sel->currentText(), QStringLiteral("All"));
    QCOMPARE(p.page->source(), &f.form()->session().diary());

    // the other choices need no tagged day
    f.dialogs().clearShown();
    f.dialogs().answer("Smith");
    p.choose(2);
    QCOMPARE(f.dialogs().shown(), QStringList({"CASE SENSITIVE  search for"}));
    QCOMPARE(p.page->source(), f.form()->session().dataset("DiaryQ"));
    QCOMPARE(p.calendar->selectedDate(), QDate(2026, 3, 2));
    QCOMPARE(p.memo->toPlainText(), QStringLiteral("Smith"));
    p.choose(0);
    QCOMPARE(f.dialogs().shown(), QStringList({"CASE SENSITIVE  search for"}));
    QCOMPARE(p.page->source(), &f.form()->session().diary());
    QCOMPARE(p.calendar->selectedDate(), now.date());
}

void TestDiaryPage::tagListsTheTaggedDays()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{QDate(2026, 3, 9), "b", "y"},
                {QDate(2026, 3, 2), "a", "X"},
                {QDate(2026, 3, 5), "c", "y"}});
    f.start();
    DiaryUnderTest p(f);
    p.choose(1);
    QVERIFY(f.dialogs().shown().isEmpty());
    Table::Dataset *q = f.form()->session().dataset("DiaryQ");
    QCOMPARE(q->sqlText(),
             QStringLiteral("SELECT * FROM Diary WHERE Tag = \"y\"\nORDER by Date"));
    QCOMPARE(q->recordCount(), 2);
    QCOMPARE(p.calendar->selectedDate(), QDate(2026, 3, 5));
    QCOMPARE(p.memo->toPlainText(), QStringLiteral("c"));
    QCOMPARE(p.grid->palette().color(QPalette::Text), QColor(Qt::red));
}

void TestDiaryPage::notesEditedInASelectionStayEditable()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{QDate(2026, 3, 5), "Smith", "y"}});
    f.start();
    DiaryUnderTest p(f);
    f.dialogs().answer("Smith");
    p.choose(2);
    p.memo->setFocus();
    p.memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(p.memo, " rang");
    p.choose(0);
    p.calendar->setSelectedDate(QDate(2026, 3, 5));
    QCOMPARE(p.memo->toPlainText(), QStringLiteral("Smith rang"));
    p.memo->setFocus();
    p.memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(p.memo, " back");
    p.grid->setFocus();
    QCOMPARE(storedDays(f).first().note, QStringLiteral("Smith rang back"));
    QVERIFY(f.dialogs().shown(Dialogs::Kind::Error).isEmpty());
}

void TestDiaryPage::failedSelectionShowsTheQueryError()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{QDate(2026, 3, 5), "Smith", "y"}});
    f.start();
    DiaryUnderTest p(f);
    {
        // the table goes away under the running program
        auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
        db->exec("DROP TABLE \"Diary\"");
    }
    p.choose(1);
    QCOMPARE(f.dialogs().shown(),
             QStringList({"Exception 03: Query Error, ensure editing is done in \"All\" records "
                          "mode."}));
}

void TestDiaryPage::clearingTagsEmptiesEveryTag()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{QDate(2026, 3, 2), "a", "X"}, {QDate(2026, 3, 5), "c", "y"},
                {QDate(2026, 3, 6), "d", {}}});
    f.start();
    DiaryUnderTest p(f);
    p.choose(1);
    p.click("ClearDiaryTagsBtn");
    for (const Day &d : storedDays(f))
        QVERIFY2(d.tag.isEmpty(), qPrintable(d.date.toString()));
    QCOMPARE(p.calendar->selectedDate(), now.date());
    QCOMPARE(p.page->source(), &f.form()->session().diary());
}

void TestDiaryPage::gridRowSetsTheCalendar()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{QDate(2026, 3, 2), "a", {}}, {QDate(2026, 3, 5), "c", "y"}});
    f.start();
    DiaryUnderTest p(f);
    const QRect cell = p.grid->visualRect(p.grid->model()->index(0, 1));
    QTest::mouseClick(p.grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(p.calendar->selectedDate(), QDate(2026, 3, 2));
    QCOMPARE(p.memo->toPlainText(), QStringLiteral("a"));
    QCOMPARE(p.head->text(), QStringLiteral("Diary for Monday 2 March 2026"));
    // in a selection the grid keeps showing it while the calendar follows its rows
    p.choose(1);
    QCOMPARE(p.grid->model()->rowCount(), 1);
    const QRect tagged = p.grid->visualRect(p.grid->model()->index(0, 0));
    QTest::mouseClick(p.grid->viewport(), Qt::LeftButton, {}, tagged.center());
    QCOMPARE(p.calendar->selectedDate(), QDate(2026, 3, 5));
    QCOMPARE(p.grid->model()->rowCount(), 1);
}

void TestDiaryPage::gridShowsDatesInTheChosenFormat()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.writeIni("Detail", "DateFormat", "mm/dd/yyyy");
    f.start();
    QCoreApplication::processEvents();
    DiaryUnderTest p(f);
    QCOMPARE(p.grid->model()->index(0, 1).data().toString(), QStringLiteral("03/15/2026"));
}

void TestDiaryPage::doubleClickStampsTheNote()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(QDateTime(QDate(2004, 3, 3), QTime(14, 5, 9)));
    addDays(f, {{QDate(2004, 3, 3), "Called Smith", {}}});
    f.start();
    DiaryUnderTest p(f);
    QCOMPARE(p.memo->toPlainText(), QStringLiteral("Called Smith"));
    QTest::mouseDClick(p.memo->viewport(), Qt::LeftButton);
    QCOMPARE(p.memo->toPlainText(), QStringLiteral("Called Smith\n03/03/2004 14:05:09 "));
    QCOMPARE(storedDays(f).first().note, QStringLiteral("Called Smith\r\n03/03/2004 14:05:09 "));
    QVERIFY(!f.form()->session().diary().isEditing());
}

void TestDiaryPage::typedNoteIsPostedWhenLeavingTheMemo()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    DiaryUnderTest p(f);
    p.memo->setFocus();
    QTest::keyClicks(p.memo, "Quote Jones");
    QTest::keyClick(p.memo, Qt::Key_Return);
    QTest::keyClicks(p.memo, "Gutters");
    QVERIFY(f.form()->session().diary().isEditing());
    p.grid->setFocus();
    QVERIFY(!f.form()->session().diary().isEditing());
    QCOMPARE(storedDays(f).first().note, QStringLiteral("Quote Jones\r\nGutters"));
    // and a step away posts too
    QTest::keyClicks(p.memo, "!");
    p.click("NextWeekBtn");
    QCOMPARE(storedDays(f).first().note, QStringLiteral("Quote Jones\r\nGutters!"));
}

void TestDiaryPage::appendToDiaryGoesToTheCalendarsDay()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{QDate(2026, 3, 20), "Existing", {}}});
    f.start();
    DiaryUnderTest p(f);
    p.calendar->setSelectedDate(QDate(2026, 3, 20));
    // another page moved the cursor elsewhere
    f.form()->session().diary().first();
    f.form()->goToPage(Page::Expenses);
    f.form()->appendToDiary(QStringLiteral("Invoice 12 paid"));
    QCOMPARE(storedDays(f).last().note, QStringLiteral("Existing\r\nInvoice 12 paid"));
    QCOMPARE(p.memo->toPlainText(), QStringLiteral("Existing\nInvoice 12 paid"));
}

void TestDiaryPage::toDoIsLoadedAtStartAndSavedOnLeaving()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    const QString path = f.dataFolder() + "/ToDo.Txt";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Buy paint\r\nRing Smith");
    }
    f.start();
    DiaryUnderTest p(f);
    QCOMPARE(p.toDo->toPlainText(), QStringLiteral("Buy paint\nRing Smith"));
    p.toDo->setFocus();
    p.toDo->moveCursor(QTextCursor::End);
    QTest::keyClick(p.toDo, Qt::Key_Return);
    QTest::keyClicks(p.toDo, "Sand doors");
    p.memo->setFocus();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Buy paint\r\nRing Smith\r\nSand doors"));
    file.close();
    // a double click adds the date and time on a line of its own
    QTest::mouseDClick(p.toDo->viewport(), Qt::LeftButton);
    QCOMPARE(p.toDo->toPlainText(),
             QStringLiteral("Buy paint\nRing Smith\nSand doors\n15/03/2026 09:30:00 "));
    QVERIFY(f.dialogs().shown().isEmpty());
}

namespace {

const QList<Day> marchNotes = {
    {QDate(2026, 3, 1), "Site Meeting\r\nnothing to find", {}},
    {QDate(2026, 3, 5), "Quote\r\nStart paint job at Smiths", {}},
    {QDate(2026, 3, 9), "paint job second coat\r\nthen more\r\nand the paint job again", {}},
};

} // namespace

void TestDiaryPage::searchButtonsWalkTheDays_data()
{
    // each row: the buttons clicked in turn from the calendar on 6 March, and the calendar's
    // date after each ("today" for the end of the walk)
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QList<QDate>>("dates");
    QTest::addColumn<QString>("message");
    QTest::newRow("scan") << QStringList{"ScanBtn"} << QList<QDate>{QDate(2026, 3, 9)}
                          << QString();
    QTest::newRow("reverse scan") << QStringList{"RevScanBtn"}
                                  << QList<QDate>{QDate(2026, 3, 5)} << QString();
    QTest::newRow("search, next, next")
        << QStringList{"SearchBtn", "NextBtn", "NextBtn"}
        << QList<QDate>{QDate(2026, 3, 5), QDate(2026, 3, 9), now.date()}
        << QStringLiteral("No more entries were found in Diary.\r\n\r\nReturning to Today");
    QTest::newRow("scan, prior, prior")
        << QStringList{"ScanBtn", "PriorBtn", "PriorBtn"}
        << QList<QDate>{QDate(2026, 3, 9), QDate(2026, 3, 5), now.date()}
        << QStringLiteral("No more entries were found in Diary.\r\n\r\nReturning to Today");
}

void TestDiaryPage::searchButtonsWalkTheDays()
{
    QFETCH(QStringList, buttons);
    QFETCH(QList<QDate>, dates);
    QFETCH(QString, message);
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, marchNotes);
    f.start();
    DiaryUnderTest p(f);
    p.calendar->setSelectedDate(QDate(2026, 3, 6));
    for (int i = 0; i < buttons.size(); ++i) {
        const QString b = buttons.at(i);
        if (b != QLatin1String("NextBtn") && b != QLatin1String("PriorBtn"))
            f.dialogs().answer("paint job");
        p.click(buttons.at(i).toLatin1().constData());
        QCOMPARE(p.calendar->selectedDate(), dates.at(i));
        if (dates.at(i) != now.date()) {
            QCOMPARE(p.memo->textCursor().selectedText(), QStringLiteral("paint job"));
            QCOMPARE(p.head->text(), QStringLiteral("Diary for ")
                                         + dates.at(i).toString("dddd d MMMM yyyy"));
            QVERIFY(p.head->isFlashing());
        }
    }
    // a day holding the text in two lines ends with the last of them selected
    if (dates.contains(QDate(2026, 3, 9)) && dates.last() == QDate(2026, 3, 9))
        QCOMPARE(p.memo->textCursor().selectionEnd(), int(p.memo->toPlainText().size()) - 6);
    QStringList shown = f.dialogs().shown(Dialogs::Kind::Information);
    QCOMPARE(shown.value(0), message);
    QCOMPARE(f.form()->session().diary().indexName(), QStringLiteral("Dates"));
    QCOMPARE(p.page->lastSearchText(), QStringLiteral("paint job"));
}

void TestDiaryPage::searchIsCaseSensitive()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, marchNotes);
    f.start();
    DiaryUnderTest p(f);
    p.click("PrevMonthBtn");
    f.dialogs().answer("meeting");
    p.click("SearchBtn");
    QCOMPARE(f.dialogs().shown(),
             QStringList({"CASE SENSITIVE Search",
                          "No entries were found in Diary.\r\n\r\nReturning to Today"}));
    QCOMPARE(p.calendar->selectedDate(), now.date());
    f.dialogs().clearShown();
    f.dialogs().answer("Meeting");
    p.click("SearchBtn");
    QCOMPARE(p.calendar->selectedDate(), QDate(2026, 3, 1));
    // an empty text finds nothing
    f.dialogs().answer("");
    p.click("ScanBtn");
    QCOMPARE(p.calendar->selectedDate(), now.date());
}

void TestDiaryPage::searchFindsAPhraseTheMemoWraps()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    DiaryUnderTest p(f);
    // words before the phrase until the memo, as it is now, breaks the phrase in two
    const QString phrase = QStringLiteral("lost ladder");
    const int width = p.memo->viewport()->width()
                      - 2 * int(p.memo->document()->documentMargin());
    QString note;
    int at = -1;
    for (int n = 1; n < 400 && at < 0; ++n) {
        const QString candidate = QStringLiteral("x ").repeated(n) + phrase;
        for (const auto &line : DiarySearch::shownLines(candidate, p.memo->font(), width)) {
            const int start = 2 * n;
            if (start >= line.start && start < line.start + line.length
                && start + phrase.size() > line.start + line.length) {
                note = candidate;
                at = start;
            }
        }
    }
    QVERIFY(at > 0);
    p.calendar->setSelectedDate(QDate(2026, 3, 4));
    p.memo->setFocus();
    QTest::keyClicks(p.memo, note);
    p.grid->setFocus();
    QCOMPARE(storedDays(f).first().note, note);
    p.click("NowBtn");
    f.dialogs().answer(phrase);
    p.click("SearchBtn");
    QCOMPARE(f.dialogs().shown(), QStringList({"CASE SENSITIVE Search"}));
    QCOMPARE(p.calendar->selectedDate(), QDate(2026, 3, 4));
    QCOMPARE(p.memo->textCursor().selectionStart(), at);
    QCOMPARE(p.memo->textCursor().selectedText(), phrase);
    // the memo wraps as the search counted: the match starts on one shown line, ends on the next
    QTextCursor c = p.memo->textCursor();
    c.setPosition(at);
    const QTextLine first = c.block().layout()->lineForTextPosition(at - c.block().position());
    QVERIFY(first.isValid());
    QVERIFY(first.textStart() + first.textLength() < at - c.block().position() + phrase.size());
}

void TestDiaryPage::highlightingSelectsEachOccurrenceASecondApart()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{now.date(), "gutter, then gutter\r\nand gutter", {}}});
    f.start();
    DiaryUnderTest p(f);
    QList<int> starts;
    connect(p.memo, &QPlainTextEdit::selectionChanged, p.memo, [&] {
        const QTextCursor c = p.memo->textCursor();
        if (c.hasSelection() && c.selectedText() == QLatin1String("gutter"))
            starts << c.selectionStart();
    });
    f.dialogs().answer("gutter");
    const QDateTime before = Brelvan::clock().now();
    p.click("ScrollBtn");
    QCOMPARE(starts, QList<int>({0, 13, 24}));
    QCOMPARE(before.msecsTo(Brelvan::clock().now()), 4000);
    QCOMPARE(p.page->lastSearchText(), QStringLiteral("gutter"));
    // the text is held now: no question the second time
    f.dialogs().clearShown();
    p.click("ScrollBtn");
    QVERIFY(f.dialogs().shown().isEmpty());
}

void TestDiaryPage::searchOverTenYearsIsFast()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    QList<Day> days;
    const QDate first = now.date().addDays(-4000);
    for (int i = 0; i < 4000; ++i)
        days.append({first.addDays(i),
                     "7:30 Start at 12 High St - Brown.\r\nPicked up 4 x 10L from Bunnings.\r\n"
                     "Invoice sent to Brown.", {}});
    days.last().note += "\r\nFound the lost ladder";
    addDays(f, days);
    f.start();
    DiaryUnderTest p(f);
    f.dialogs().answer("lost ladder");
    QElapsedTimer t;
    t.start();
    p.click("SearchBtn");
    const qint64 ms = t.elapsed();
    QCOMPARE(p.calendar->selectedDate(), days.last().date);
    QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
}

void TestDiaryPage::diaryReportPrintsTheSelection()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{QDate(2026, 3, 2), "Ring Mrs Smith", "y"},
                {QDate(2026, 3, 3), "Sand the doors", {}},
                {QDate(2026, 3, 4), "Smith kitchen\r\nsecond coat", {}}});
    f.start();
    DiaryUnderTest p(f);
    f.dialogs().answer("Smith");
    p.choose(2);
    p.click("DiaryBtn");
    QCOMPARE(f.reports().size(), 1);
    const Testing::RenderedReport r = f.reports().first();
    QCOMPARE(r.formClass, QStringLiteral("TDiaryForm"));
    QCOMPARE(r.title, QStringLiteral("Diary Report"));
    const QString text = r.pages.join('\n');
    QVERIFY(text.contains("02/03/2026") && text.contains("04/03/2026"));
    QVERIFY(text.contains("Ring Mrs Smith") && text.contains("second coat"));
    QVERIFY(!text.contains("03/03/2026") && !text.contains("Sand the doors"));
    QVERIFY(text.contains(QRegularExpression("Total Records\\s+2")));
    // the diary stays on the calendar's day
    QCOMPARE(f.form()->session().diary().date("DATE"), p.calendar->selectedDate());

    // in plain mode every day prints
    p.choose(0);
    p.click("DiaryBtn");
    const QString all = f.reports().last().pages.join('\n');
    QVERIFY(all.contains(QRegularExpression("Total Records\\s+4")));
}

void TestDiaryPage::toDoReportPrintsTheList()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    DiaryUnderTest p(f);
    p.toDo->setPlainText("Buy paint\nRing Smith");
    p.click("PrintToDoBtn");
    QCOMPARE(f.reports().size(), 1);
    QCOMPARE(f.reports().first().formClass, QStringLiteral("TPrintToDoForm"));
    QCOMPARE(f.reports().first().title, QStringLiteral("ToDo Report"));
    const QString text = f.reports().first().pages.join('\n');
    QVERIFY(text.contains("Buy paint") && text.contains("Ring Smith"));
}

void TestDiaryPage::unwritableToDoIsLoggedAndKept()
{
    // the tables in the program folder itself, and no Data folder for the to-do file
    Fixture f(Fixture::NoDataFolder);
    f.setNow(now);
    Table::Database::createFolder(f.programFolder(), brelvanSchema());
    f.start();
    DiaryUnderTest p(f);
    QVERIFY(f.dialogs().shown().isEmpty());
    p.toDo->setFocus();
    QTest::keyClicks(p.toDo, "Buy paint");
    p.memo->setFocus();
    const QStringList errors = f.dialogs().shown(Dialogs::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains("ToDo.Txt"), qPrintable(errors.first()));
    QCOMPARE(p.toDo->toPlainText(), QStringLiteral("Buy paint"));
    QFile log(f.programFolder() + "brelvan.Log");
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromLatin1(log.readAll()).contains("15/03/2026 09:30:00:" + errors.first()));
}

void TestDiaryPage::toDoIsSavedAtClose()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    DiaryUnderTest(f).toDo->setPlainText("Paint fence\nQuote Smith");
    f.close();
    QFile file(f.dataFolder() + "/ToDo.Txt");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Paint fence\r\nQuote Smith"));
}

void TestDiaryPage::activationBringsTheDiaryToTheCalendarsDay()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{QDate(2026, 3, 1), "first", {}}});
    f.start();
    DiaryUnderTest p(f);
    p.click("NextWeekBtn");
    Table::Dataset &diary = f.form()->session().diary();
    diary.first();
    f.setNow(QDateTime(QDate(2026, 3, 16), QTime(0, 1))); // past midnight
    emit f.form()->events().activated();
    QCOMPARE(diary.date("DATE"), QDate(2026, 3, 22));
    QCOMPARE(f.mainForm()->findChild<GradientPanel *>("CalHead")->caption(),
             QStringLiteral("Todays Date Monday 16 March 2026"));
    QCOMPARE(p.head->text(), QStringLiteral("Diary for Sunday 22 March 2026"));
}

void TestDiaryPage::dayPosTogglesTopAndEnd()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{now.date(), "line one\r\nline two", {}}});
    f.start();
    DiaryUnderTest p(f);
    QCOMPARE(p.memo->textCursor().position(), 17); // the start put the caret at the end
    p.click("DayPos");
    QCOMPARE(p.memo->textCursor().position(), 0);
    p.click("DayPos");
    QCOMPARE(p.memo->textCursor().position(), 17);
    QVERIFY(p.memo->hasFocus());
    // the tool buttons flip their highlight on each click
    QVERIFY(p.button("DayPos")->isPlain());
    p.click("DayPos");
    QVERIFY(!p.button("DayPos")->isPlain());
}

void TestDiaryPage::headingsHideAndShowTheInventoryAndWagesPages()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    DiaryUnderTest p(f);
    auto *pages = f.mainForm()->findChild<QTabWidget *>("PageControl");
    QTest::mouseClick(p.head, Qt::LeftButton);
    QVERIFY(!pages->isTabVisible(7) && !pages->isTabVisible(8));
    QVERIFY(pages->isTabVisible(6) && pages->isTabVisible(9));
    auto *calHead = f.mainForm()->findChild<GradientPanel *>("CalHead");
    QTest::mouseDClick(calHead, Qt::LeftButton, {}, QPoint(4, 4));
    QVERIFY(pages->isTabVisible(7) && pages->isTabVisible(8));
}

namespace {
struct RecordingShell final : Shell
{
    bool open(const QString &target) override
    {
        opened << target;
        return true;
    }
    bool run(const QString &, const QStringList &) override { return true; }
    bool copyFolder(const QString &, const QString &) override { return true; }
    QStringList opened;
};
} // namespace

void TestDiaryPage::mateOpensTheChosenFileAndRemembersIt()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    DiaryUnderTest p(f);
    RecordingShell shell;
    installShell(&shell);
    f.dialogs().answer("/home/pat/Quote.pdf");
    p.click("MateBtn");
    f.dialogs().answerCancel();
    p.click("MateBtn");
    installShell(nullptr);
    QCOMPARE(shell.opened, QStringList({"/home/pat/Quote.pdf"}));
    QCOMPARE(f.form()->settings().value("MateStr"), QStringLiteral("/home/pat/Quote.pdf"));
    QCOMPARE(f.dialogs().entries().last().detail, QStringLiteral("All|*.*"));
}

void TestDiaryPage::popupMenuCopiesAndPastesGridCells()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    addDays(f, {{QDate(2026, 3, 2), "a", "y"}, {QDate(2026, 3, 3), "b", {}}});
    f.start();
    DiaryUnderTest p(f);
    auto *menu = f.mainForm()->findChild<ClipboardMenu *>("PopupMenu1");
    QVERIFY(menu);
    QCOMPARE(p.grid->contextMenuPolicy(), Qt::CustomContextMenu);
    menu->setTarget(p.grid);
    p.grid->setCurrentCell(0, 0);
    menu->findChild<QAction *>("PopUpCopy")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("y"));
    p.grid->setCurrentCell(1, 0);
    menu->findChild<QAction *>("PopUpPaste")->trigger();
    QCOMPARE(storedDays(f).at(1).tag, QStringLiteral("y"));
    QVERIFY(!f.form()->session().diary().isEditing());
    // cut empties the field and posts
    menu->findChild<QAction *>("PopUpCut")->trigger();
    QCOMPARE(storedDays(f).at(1).tag, QString());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("y"));
    // a word pasted into the date column is refused with the conversion error
    QApplication::clipboard()->setText("soon");
    p.grid->setCurrentCell(1, 1);
    guarded([&] { menu->findChild<QAction *>("PopUpPaste")->trigger(); });
    QCOMPARE(f.dialogs().shown(Dialogs::Kind::Error).size(), 1);
    QVERIFY(f.dialogs().shown(Dialogs::Kind::Error).first().contains("soon"));
    QCOMPARE(storedDays(f).at(1).date, QDate(2026, 3, 3));
    QVERIFY(!f.form()->session().diary().isEditing());

    // the memo's selection
    menu->setTarget(p.memo);
    p.memo->selectAll();
    menu->findChild<QAction *>("PopUpCopy")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), p.memo->toPlainText());
}

void TestDiaryPage::calendarWindowSteps_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("month on from 31 May") << QDate(2026, 5, 31) << "NextMonthBtn"
                                          << QDate(2026, 6, 30);
    QTest::newRow("year back from 29 February") << QDate(2024, 2, 29) << "PrevYrBtn"
                                                << QDate(2023, 2, 28);
    QTest::newRow("two weeks on") << QDate(2026, 3, 1) << "Next2WeekBtn" << QDate(2026, 3, 15);
}

void TestDiaryPage::calendarWindowSteps()
{
    QFETCH(QDate, from);
    QFETCH(QString, button);
    QFETCH(QDate, expected);
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    QAction *menu = f.form()->menuAction("Calendar");
    QVERIFY(menu && menu->isEnabled());
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto *w = QApplication::activeModalWidget();
        QVERIFY(w && w->objectName() == QLatin1String("TCalForm"));
        QCOMPARE(w->windowTitle(), QStringLiteral(" Calendar"));
        auto *cal = w->findChild<QCalendarWidget *>("Calendar");
        auto *head = w->findChild<FlashingLabel *>("CalHead");
        QCOMPARE(head->text(), QStringLiteral("Sunday, 15 March, 2026,"));
        QVERIFY(!head->isFlashing());
        QVERIFY(!w->findChild<ShapeButton *>("PrevYrBtn")->isPlain());
        cal->setSelectedDate(from);
        w->findChild<ShapeButton *>(button)->click();
        QCOMPARE(cal->selectedDate(), expected);
        QCOMPARE(head->text(), expected.toString("dddd, d MMMM , yyyy"));
        QCOMPARE(head->isFlashing(), expected != now.date());
        w->findChild<ShapeButton *>("NowBtn")->click();
        QCOMPARE(cal->selectedDate(), now.date());
        QVERIFY(!head->isFlashing());
        ran = true;
        w->findChild<ShapeButton *>("CloseBtn")->click();
    });
    menu->trigger();
    QVERIFY(ran);
    QVERIFY(!f.mainForm()->findChild<QWidget *>("TCalForm"));
}

BRELVAN_TEST_MAIN(TestDiaryPage)
#include "tst_diarypage.moc"
