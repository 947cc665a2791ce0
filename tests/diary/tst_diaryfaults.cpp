// The diary when the tables are shared or refuse: a day made by another copy is used, and
// a day that cannot go into edit keeps its text.
#include "data/schema.h"
#include "platform/table/database.h"
#include "platform/table/dataset.h"
#include "shell/tmainform.h"
#include "testing/fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

using namespace Brelvan;
using Brelvan::Testing::Fixture;

namespace {

const QDateTime now(QDate(2026, 3, 16), QTime(9, 30));

// The stored notes of a day, one entry for each record the table holds for it.
QStringList storedDays(const Fixture &f, const QDate &date)
{
    auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
    Table::Dataset ds(QStringLiteral("Check"));
    ds.setDatabase(db.get());
    ds.setTableName(QStringLiteral("Diary"));
    ds.open();
    QStringList days;
    for (ds.first(); !ds.eof(); ds.next()) {
        if (ds.date(QStringLiteral("DATE")) == date)
            days << ds.text(QStringLiteral("Day"));
    }
    return days;
}

QPlainTextEdit *memoOf(const Fixture &f)
{
    return f.mainForm()->findChild<QPlainTextEdit *>(QStringLiteral("Daytime"));
}

void typeInto(Fixture &f, const QString &text)
{
    f.use();
    QApplication::setActiveWindow(f.mainForm());
    QPlainTextEdit *memo = memoOf(f);
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, text);
}

} // namespace

class TestDiaryFaults : public QObject
{
    Q_OBJECT

private slots:
    void dayMadeByAnotherCopyIsUsed();
    void refusedEditKeepsTheDay();
};

void TestDiaryFaults::dayMadeByAnotherCopyIsUsed()
{
    Fixture first(Fixture::EmptyTables);
    first.setNow(now);
    first.start();
    Fixture second(Fixture::EmptyTables, first.programFolder());
    second.setNow(now);
    second.start();
    const QDate nextWeek = now.date().addDays(7);

    // both copies step to the same new day: the first makes its record, the second finds
    // it there when its own is refused
    first.use();
    QTest::mouseClick(first.mainForm()->findChild<QAbstractButton *>("NextWeekBtn"),
                      Qt::LeftButton);
    typeInto(first, "from the first");
    first.form()->goToPage(Page::Clients);
    QCoreApplication::processEvents();
    second.use();
    QTest::mouseClick(second.mainForm()->findChild<QAbstractButton *>("NextWeekBtn"),
                      Qt::LeftButton);
    QVERIFY2(second.dialogs().shown().isEmpty(), qPrintable(second.dialogs().shown().join("|")));
    QCOMPARE(memoOf(second)->toPlainText(), QStringLiteral("from the first"));
    typeInto(second, ", and the second");
    second.close();
    first.use();
    first.close();
    QCOMPARE(storedDays(first, nextWeek),
             QStringList({"from the first, and the second"}));
}

void TestDiaryFaults::refusedEditKeepsTheDay()
{
    Fixture f(Fixture::EmptyTables);
    f.setNow(now);
    f.start();
    typeInto(f, "kept");
    f.form()->goToPage(Page::Clients);
    f.form()->goToPage(Page::Diary);
    QCoreApplication::processEvents();
    {
        // another copy removes the day
        auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
        Table::Dataset ds(QStringLiteral("Other"));
        ds.setDatabase(db.get());
        ds.setTableName(QStringLiteral("Diary"));
        ds.open();
        QVERIFY(ds.locate(QStringLiteral("DATE"), now.date()));
        ds.remove();
    }
    f.dialogs().clearShown();
    typeInto(f, " while refused");
    QCOMPARE(f.dialogs().shown(), QStringList({"The record was deleted by another user."}));
    QCOMPARE(memoOf(f)->toPlainText(), QStringLiteral("kept"));
    QVERIFY(f.running());
}

BRELVAN_TEST_MAIN(TestDiaryFaults)
#include "tst_diaryfaults.moc"
