// What a record page does when the tables refuse: nothing typed is lost, nothing ends the
// program, and what is shown is what the tables hold.
#include "data/schema.h"
#include "data/ui/recordpage.h"
#include "platform/table/database.h"
#include "platform/table/dataset.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/notesmemo.h"
#include "shell/tmainform.h"
#include "testing/fixture.h"
#include "../../storedrecords.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>

using namespace Brelvan;
using Brelvan::Testing::Fixture;
using Brelvan::Testing::storedValues;

namespace {

RecordPage *pageOf(Fixture &f, const char *name, Page page)
{
    f.form()->goToPage(page);
    QCoreApplication::processEvents();
    auto *p = f.mainForm()->findChild<RecordPage *>(QString::fromLatin1(name));
    Q_ASSERT(p);
    return p;
}

QString logText(const Fixture &f)
{
    QFile log(f.programFolder() + QStringLiteral("brelvan.Log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

// Deletes a record behind the program's back, as another copy would.
void deleteElsewhere(const Fixture &f, const QString &table, const QString &field,
                     const QString &value)
{
    auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
    Table::Dataset ds(QStringLiteral("Other"));
    ds.setDatabase(db.get());
    ds.setTableName(table);
    ds.open();
    QVERIFY(ds.locate(field, value));
    ds.remove();
}

} // namespace

class TestRecordFaults : public QObject
{
    Q_OBJECT

private slots:
    void refusedPostOnFocusChangeKeepsTheEdit();
    void typedNewRowSurvivesRequeryAndClose_data();
    void typedNewRowSurvivesRequeryAndClose();
    void refusedNewRowKeepsTheQueryOpen();
    void refusedEditDropsTheKeys();
    void failedWalkShowsWhatIsStored();
};

void TestRecordFaults::refusedPostOnFocusChangeKeepsTheEdit()
{
    Fixture f;
    f.start();
    RecordPage *p = pageOf(f, "ExpensesPage", Page::Expenses);
    Table::Dataset &ds = p->dataset();
    p->grid()->setFocus();
    QCoreApplication::processEvents();
    ds.first();
    ds.edit();
    ds.setValue("Supplier", QStringLiteral("Typed by hand"));
    ds.setBeforePost([](Table::Dataset &) {
        throw std::runtime_error("Key violation: the record is there already");
    });
    // leaving the page posts: the refusal is told and logged, and the program lives on
    f.form()->goToPage(Page::Diary);
    QCoreApplication::processEvents();
    QVERIFY(f.running());
    QVERIFY(f.dialogs().shown().contains("Key violation: the record is there already"));
    QVERIFY(logText(f).contains("Key violation: the record is there already"));
    QVERIFY(ds.state() == Table::Dataset::State::Edit);
    QCOMPARE(ds.text("Supplier"), QStringLiteral("Typed by hand"));
    // once the tables take it, the edit is stored
    ds.setBeforePost({});
    f.close();
    QVERIFY(storedValues(f, "Expense", "Supplier").contains("Typed by hand"));
}

void TestRecordFaults::typedNewRowSurvivesRequeryAndClose_data()
{
    QTest::addColumn<QString>("then");
    QTest::newRow("All chosen") << "all";
    QTest::newRow("a selection") << "select";
    QTest::newRow("the Toggle") << "toggle";
    QTest::newRow("the close") << "close";
}

void TestRecordFaults::typedNewRowSurvivesRequeryAndClose()
{
    QFETCH(QString, then);
    Fixture f;
    f.start();
    RecordPage *p = pageOf(f, "IncomePage", Page::Income);
    Table::Dataset &ds = p->dataset();
    p->grid()->setFocus();
    ds.append();
    ds.setValue("Sourc", QStringLiteral("New sale"));
    ds.setValue("Date", QDate(2026, 3, 2));
    if (then == "all") {
        auto *chooser = f.mainForm()->findChild<QComboBox *>("IncomeSel");
        chooser->setCurrentIndex(0);
        emit chooser->activated(0);
    } else if (then == "select") {
        p->filterEdit()->setFocus();
        QTest::keyClicks(p->filterEdit(), "Sale");
    } else if (then == "toggle") {
        p->toggle()->click();
    } else {
        f.close();
    }
    QVERIFY(f.dialogs().shown().isEmpty());
    QVERIFY(storedValues(f, "Income", "Sourc").contains("New sale"));
}

void TestRecordFaults::refusedNewRowKeepsTheQueryOpen()
{
    Fixture f;
    f.start();
    RecordPage *p = pageOf(f, "IncomePage", Page::Income);
    Table::Dataset &ds = p->dataset();
    ds.append();
    ds.setValue("Sourc", QStringLiteral("Refused sale"));
    ds.setBeforePost([](Table::Dataset &) { throw std::runtime_error("disk full"); });
    p->toggle()->click();
    QVERIFY(f.running());
    QVERIFY(f.dialogs().shown().contains("disk full"));
    QVERIFY(ds.isOpen());
    QVERIFY(ds.state() == Table::Dataset::State::Insert);
    QCOMPARE(ds.text("Sourc"), QStringLiteral("Refused sale"));
    ds.setBeforePost({});
    ds.post();
    QVERIFY(storedValues(f, "Income", "Sourc").contains("Refused sale"));
}

void TestRecordFaults::refusedEditDropsTheKeys()
{
    Fixture f;
    f.start();
    RecordPage *p = pageOf(f, "ExpensesPage", Page::Expenses);
    Table::Dataset &ds = p->dataset();
    ds.first();
    const QString supplier = ds.text("Supplier");
    const QString notes = ds.text("Notes");
    // another copy removed the record: it cannot go into edit
    deleteElsewhere(f, "Expense", "Supplier", supplier);
    auto *memo = f.mainForm()->findChild<NotesMemo *>("NoteExp");
    QVERIFY(memo);
    memo->setFocus();
    QTest::keyClicks(memo, "dwsd");
    // told once; the keys typed while the message was up are not applied
    QCOMPARE(f.dialogs().shown().count("The record was deleted by another user."), 1);
    QCOMPARE(memo->toPlainText(), notes);
    QVERIFY(!ds.isEditing());
    QVERIFY(f.running());
}

void TestRecordFaults::failedWalkShowsWhatIsStored()
{
    Fixture f;
    f.start();
    RecordPage *p = pageOf(f, "IncomePage", Page::Income);
    Table::Dataset &ds = p->dataset();
    int posts = 0;
    ds.setBeforePost([&posts](Table::Dataset &) {
        if (++posts == 4)
            throw std::runtime_error("refused");
    });
    QTest::mouseClick(f.mainForm()->findChild<QAbstractButton *>("TagIncomeBtn"),
                      Qt::LeftButton);
    ds.setBeforePost({});
    QVERIFY(f.dialogs().shown().contains("refused"));
    QVERIFY(!ds.isEditing());
    QStringList shown;
    for (ds.first(); !ds.eof(); ds.next())
        shown << ds.text("Tag");
    QStringList stored = storedValues(f, "Income", "Tag");
    std::sort(shown.begin(), shown.end());
    std::sort(stored.begin(), stored.end());
    QCOMPARE(shown, stored);
}

BRELVAN_TEST_MAIN(TestRecordFaults)
#include "tst_recordfaults.moc"
