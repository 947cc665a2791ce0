#include "enginefixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/table/dataset.h"
#include "platform/table/engineerror.h"
#include "platform/table/query.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>

using namespace Brelvan;
using namespace Brelvan::Table;

class TestEngine : public QObject
{
    Q_OBJECT

private:
    Testing::EngineFixture fx;
    std::unique_ptr<Database> db;

    std::unique_ptr<Dataset> query(const QStringList &sql)
    {
        auto ds = std::make_unique<Dataset>(QStringLiteral("q"));
        ds->setDatabase(db.get());
        ds->setSql(sql);
        ds->open();
        return ds;
    }

    void addExpense(const QDate &date, const QString &supplier, const QVariant &office = {},
                    const QString &bus = {})
    {
        auto ds = query({QStringLiteral("SELECT * FROM Expense")});
        ds->append();
        ds->setValue("Date", date);
        ds->setValue("Bus", bus);
        ds->setValue("Supplier", supplier);
        ds->setValue("Office", office);
        ds->post();
    }

    QStringList column(Dataset &ds, const QString &field)
    {
        QStringList out;
        for (ds.first(); !ds.eof(); ds.next())
            out << ds.text(field);
        return out;
    }

private slots:
    void init()
    {
        // a statement left prepared in an aborted server transaction shows as this warning
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Unable to free statement")));
        db = fx.create();
    }
    void cleanup() { db.reset(); }

    void acceptsTheDialect_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("plain") << "SELECT * FROM Expense";
        QTest::newRow("two lines") << "SELECT * FROM Expense WHERE Bus LIKE \"%ab%\"\nORDER by Date,Bus";
        QTest::newRow("lower keywords") << "select * from expense where bus like '%ab%' order by date desc";
        QTest::newRow("tag equality") << "SELECT * FROM Diary WHERE Tag = \"y\"\nORDER by Date";
        QTest::newRow("number") << "SELECT * FROM Names WHERE Ref = 12\nOrder by Ref";
        QTest::newRow("quoted names") << "SELECT * from Names WHERE \"Surname\" = \"Smith\" AND \"Cat\" = \"m\"\nORDER by Surname,FirstName";
        QTest::newRow("reserved word field") << "SELECT * FROM Names\nORDER by Code, Cat, Group";
        QTest::newRow("diary table name") << "SELECT * FROM Diary.DAT";
        QTest::newRow("or, not, brackets") << "SELECT * FROM Expense WHERE NOT (Tag = 'y' OR Tag IS NULL)";
        QTest::newRow("trailing semicolon") << "SELECT * FROM Expense;";
        QTest::newRow("money equality") << "SELECT * FROM Expense WHERE Office = 12.5";
    }
    void acceptsTheDialect()
    {
        QFETCH(QString, sql);
        auto ds = query(sql.split(QLatin1Char('\n')));
        QVERIFY(ds->isOpen());
        QVERIFY(ds->isLive());
    }

    void refusesTextOutsideIt_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("says");
        QTest::newRow("delete") << "DELETE FROM Expense" << "expected SELECT";
        QTest::newRow("second statement") << "SELECT * FROM Expense; DROP TABLE Expense" << "unexpected";
        QTest::newRow("column list") << "SELECT Date FROM Expense" << "expected \"*\"";
        QTest::newRow("no such table") << "SELECT * FROM Nope" << "no table named";
        QTest::newRow("no such field") << "SELECT * FROM Expense WHERE Nope = 1" << "no field named";
        QTest::newRow("no such order field") << "SELECT * FROM Names ORDER by InvNo" << "no field named";
        QTest::newRow("unclosed quote") << "SELECT * FROM Expense WHERE Bus LIKE \"%ab" << "not closed";
        QTest::newRow("missing value") << "SELECT * FROM Expense WHERE Bus LIKE" << "expected a quoted";
        QTest::newRow("field as value") << "SELECT * FROM Expense WHERE Bus = Supplier" << "expected a quoted";
        QTest::newRow("not a number") << "SELECT * FROM Expense WHERE Office = \"lots\"" << "not a valid";
        QTest::newRow("comment") << "SELECT * FROM Expense -- x" << "not understood";
    }
    void refusesTextOutsideIt()
    {
        QFETCH(QString, sql);
        QFETCH(QString, says);
        Dataset ds(QStringLiteral("q"));
        ds.setDatabase(db.get());
        ds.setSql({sql});
        try {
            ds.open();
            QFAIL("the text was accepted");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().startsWith(QLatin1String("Query error: ")), qPrintable(e.message()));
            QVERIFY2(e.message().contains(says), qPrintable(e.message()));
        }
        QVERIFY(!ds.isOpen());
    }

    void filterTextIsPlainText_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::newRow("double quote") << "a\"b";
        QTest::newRow("single quote") << "O'Brien";
        QTest::newRow("percent") << "50%";
        QTest::newRow("underscore") << "a_b";
        QTest::newRow("backslash") << "c:\\x";
        QTest::newRow("trailing backslash") << "end\\";
        QTest::newRow("semicolon") << "x\"; DROP TABLE Expense; --";
        QTest::newRow("10,000 characters") << QString(10000, QLatin1Char('z'));
    }
    void filterTextIsPlainText()
    {
        QFETCH(QString, filter);
        // Supplier is 30 wide: the long case goes in the memo
        auto ds = query({QStringLiteral("SELECT * FROM Expense")});
        const QStringList notes = {QStringLiteral("[") + filter + QStringLiteral("]"),
                                   QStringLiteral("50 off ab"), QStringLiteral("aXb c:x O''Brien"),
                                   QStringLiteral("zz")};
        for (int i = 0; i < notes.size(); ++i) {
            ds->append();
            ds->setValue("Date", QDate(2024, 1, i + 1));
            ds->setValue("Notes", notes[i]);
            ds->post();
        }
        auto found = query({QStringLiteral("SELECT * FROM Expense WHERE Notes LIKE ") + containsPattern(filter)});
        QCOMPARE(found->recordCount(), 1);
        QCOMPARE(found->text("Notes"), notes[0]);
        auto eq = query({QStringLiteral("SELECT * FROM Expense WHERE Notes = ") + quoteLiteral(notes[0])});
        QCOMPARE(eq->recordCount(), 1);
        QCOMPARE(query({QStringLiteral("SELECT * FROM Expense")})->recordCount(), 4);
    }

    void likeIsCaseSensitive()
    {
        auto ds = query({QStringLiteral("SELECT * FROM Names")});
        for (const char *s : {"Smith", "Hamilton", "MILLER", "Jones"}) {
            ds->append();
            ds->setValue("Surname", QString::fromLatin1(s));
            ds->post();
        }
        auto found = query({QStringLiteral("SELECT * FROM Names WHERE Surname LIKE \"%mi%\""),
                            QStringLiteral("ORDER by Surname")});
        QCOMPARE(column(*found, "Surname"), QStringList({"Hamilton", "Smith"}));
        auto upper = query({QStringLiteral("SELECT * FROM Names WHERE Surname = \"smith\"")});
        QCOMPARE(upper->recordCount(), 0);
    }

    void emptyValuesSortFirstAndNoOrderMeansKeyOrder()
    {
        addExpense(QDate(2024, 3, 1), "Cc", 1.0, "B");
        addExpense(QDate(2024, 1, 1), "Aa", {}, "B");
        addExpense(QDate(2024, 1, 1), "Bb", 3.0, {});
        addExpense({}, "Zz", 2.0);
        auto keyOrder = query({QStringLiteral("SELECT * FROM Expense")});
        QCOMPARE(column(*keyOrder, "Supplier"), QStringList({"Zz", "Bb", "Aa", "Cc"}));
        auto byOffice = query({QStringLiteral("SELECT * FROM Expense"), QStringLiteral("ORDER by Office")});
        QCOMPARE(column(*byOffice, "Supplier"), QStringList({"Aa", "Cc", "Zz", "Bb"}));
        auto emptyLike = query({QStringLiteral("SELECT * FROM Expense WHERE Bus LIKE \"%%\"")});
        QCOMPARE(emptyLike->recordCount(), 4);
    }

    void emptyIsKeptApartFromZero()
    {
        addExpense(QDate(2024, 1, 1), "A", 0.0);
        auto ds = query({QStringLiteral("SELECT * FROM Expense")});
        QVERIFY(ds->value("Office").isValid());
        QCOMPARE(ds->number("Office"), 0.0);
        QVERIFY(!ds->value("Phone").isValid());
        QVERIFY(!ds->value("Bus").isValid());
        QCOMPARE(query({QStringLiteral("SELECT * FROM Expense WHERE Office = 0")})->recordCount(), 1);
        QCOMPARE(query({QStringLiteral("SELECT * FROM Expense WHERE Phone IS NULL")})->recordCount(), 1);
    }

    void duplicateKeysAreRefused()
    {
        addExpense(QDate(2024, 1, 1), "Same");
        try {
            addExpense(QDate(2024, 1, 1), "Same");
            QFAIL("a repeated key was accepted");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), EngineError::Code::DuplicateKey);
            QVERIFY(e.message().contains(QLatin1String("Key violation")));
        }
        // two records with every key field blank collide too
        auto ds = query({QStringLiteral("SELECT * FROM Expense")});
        ds->append();
        ds->setValue("Office", 1.0);
        ds->post();
        ds->append();
        ds->setValue("Office", 2.0);
        QVERIFY_THROWS_EXCEPTION(EngineError, ds->post());
        QCOMPARE(ds->state(), Dataset::State::Insert); // nothing typed is lost
        ds->cancel();
        QCOMPARE(query({QStringLiteral("SELECT * FROM Expense")})->recordCount(), 2);
    }

    void statesAndEvents()
    {
        auto ds = query({QStringLiteral("SELECT * FROM Expense")});
        QStringList log;
        ds->setBeforePost([&](Dataset &d) { log << "beforePost"; if (!d.value("Invoice").isValid()) d.setValue("Invoice", "auto"); });
        ds->setAfterPost([&](Dataset &) { log << "afterPost"; });
        ds->setBeforeDelete([&](Dataset &d) { log << QStringLiteral("beforeDelete %1").arg(d.recordCount()); });
        ds->setBeforeScroll([&](Dataset &) { log << "beforeScroll"; });
        ds->append();
        QCOMPARE(ds->state(), Dataset::State::Insert);
        QCOMPARE(ds->recordCount(), 0);
        ds->setValue("Supplier", "X");
        ds->post();
        QCOMPARE(ds->text("Invoice"), QStringLiteral("auto"));
        QCOMPARE(ds->recordCount(), 1);
        // an untouched new record is dropped on leaving it
        ds->append();
        ds->first();
        QCOMPARE(ds->recordCount(), 1);
        QCOMPARE(ds->state(), Dataset::State::Browse);
        // setting a field needs edit mode
        QVERIFY_THROWS_EXCEPTION(EngineError, ds->setValue("Supplier", "Y"));
        ds->edit();
        ds->setValue("Supplier", "Y");
        ds->next(); // leaving posts the change
        QCOMPARE(query({QStringLiteral("SELECT * FROM Expense")})->text("Supplier"), QStringLiteral("Y"));
        ds->remove();
        QCOMPARE(ds->recordCount(), 0);
        QVERIFY(log.contains("beforeDelete 1"));
        QCOMPARE(log.mid(0, 2), QStringList({"beforeScroll", "beforePost"}));
    }

    void conversionErrors_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("word in money") << "Office" << "ten" << "'ten' is not a valid floating point value";
        QTest::newRow("word in date") << "Date" << "soon" << "'soon' is not a valid date";
    }
    void conversionErrors()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, error);
        auto ds = query({QStringLiteral("SELECT * FROM Expense")});
        ds->append();
        try {
            ds->setValue(field, text);
            QFAIL("accepted");
        } catch (const EngineError &e) {
            QCOMPARE(e.message(), error);
        }
        ds->setValue("Office", "12.50");
        QCOMPARE(ds->number("Office"), 12.5);
        ds->setValue("Supplier", QString(50, QLatin1Char('s')));
        QCOMPARE(ds->text("Supplier").size(), 30);
    }

    void locateAndNearestKey()
    {
        Dataset diary(QStringLiteral("Diary"));
        diary.setDatabase(db.get());
        diary.setTableName(QStringLiteral("Diary"));
        diary.open();
        for (int d : {9, 1, 5}) {
            diary.append();
            diary.setValue("DATE", QDate(2004, 3, d));
            diary.setValue("Day", QStringLiteral("day %1").arg(d));
            diary.post();
        }
        diary.close();
        diary.open();
        QVERIFY(diary.findNearest({QDate(2004, 3, 6)}));
        QCOMPARE(diary.date("DATE"), QDate(2004, 3, 9));
        QVERIFY(diary.findNearest({QDate(2004, 3, 5)}));
        QCOMPARE(diary.date("DATE"), QDate(2004, 3, 5));
        QVERIFY(!diary.findNearest({QDate(2004, 3, 10)}));
        QVERIFY(diary.eof());
        QVERIFY(diary.locate("Day", "DAY 1", Qt::CaseInsensitive));
        QCOMPARE(diary.date("DATE"), QDate(2004, 3, 1));
        QVERIFY(!diary.locate("Day", "DAY 1"));
        QCOMPARE(diary.date("DATE"), QDate(2004, 3, 1));
        // a duplicate day is refused by the key
        diary.append();
        diary.setValue("DATE", QDate(2004, 3, 5));
        QVERIFY_THROWS_EXCEPTION(EngineError, diary.post());
    }

    void walkKeepsRecordsBeforeAFailure()
    {
        auto ds = query({QStringLiteral("SELECT * FROM Expense")});
        {
            Dataset::Walk walk(*ds);
            for (int i = 0; i < 500; ++i) {
                ds->append();
                ds->setValue("Date", QDate(2020, 1, 1).addDays(i));
                ds->setValue("Supplier", "S");
                ds->post();
            }
        }
        bool failed = false;
        try {
            Dataset::Walk walk(*ds);
            for (ds->first(); !ds->eof(); ds->next()) {
                ds->edit();
                // the 101st record takes the key of the first: refused
                ds->setValue("Date", ds->recNo() == 101 ? QDate(2020, 1, 1) : ds->date("Date"));
                ds->setValue("Tag", "y");
                ds->post();
            }
        } catch (const EngineError &e) {
            failed = e.code() == EngineError::Code::DuplicateKey;
            ds->cancel();
        }
        QVERIFY(failed);
        auto tagged = query({QStringLiteral("SELECT * FROM Expense WHERE Tag = \"y\"")});
        QCOMPARE(tagged->recordCount(), 100);
    }

    void secondEditorIsRefused()
    {
        addExpense(QDate(2024, 1, 1), "Shared", 10.0);
        auto other = fx.reopen();
        auto mine = query({QStringLiteral("SELECT * FROM Expense")});
        Dataset theirs(QStringLiteral("theirs"));
        theirs.setDatabase(other.get());
        theirs.setSql({QStringLiteral("SELECT * FROM Expense")});
        theirs.open();
        mine->edit();
        mine->setValue("Office", 20.0);
        QString refusal;
        EngineError::Code code = EngineError::Code::General;
        QElapsedTimer clock;
        clock.start();
        qint64 waited = -1;
        try {
            theirs.edit(); // the server refuses here, after its retries
            theirs.setValue("Office", 30.0);
            mine->post();
            theirs.post(); // SQLite refuses here: the row changed under it
        } catch (const EngineError &e) {
            refusal = e.message();
            code = e.code();
            waited = clock.elapsed();
        }
        if (Testing::EngineFixture::postgres()) {
            QCOMPARE(refusal, QStringLiteral("The record is being edited by another user. Try "
                                             "again when they have finished."));
            QCOMPARE(code, EngineError::Code::Locked);
            // 15 tries 100 ms apart, and not a hang
            QVERIFY2(waited >= 1300 && waited < 5000, qPrintable(QString::number(waited)));
            QCOMPARE(theirs.state(), Dataset::State::Browse);
            mine->post();
        } else {
            QVERIFY2(refusal.startsWith(QLatin1String("The record was changed by another user")),
                     qPrintable(refusal));
            QCOMPARE(code, EngineError::Code::Changed);
            // the refused edit keeps what was typed
            QCOMPARE(theirs.state(), Dataset::State::Edit);
            QCOMPARE(theirs.number("Office"), 30.0);
            theirs.cancel();
        }
        auto third = fx.reopen();
        Dataset check(QStringLiteral("check"));
        check.setDatabase(third.get());
        check.setSql({QStringLiteral("SELECT * FROM Expense")});
        check.open();
        QCOMPARE(check.number("Office"), 20.0);
        // a fresh edit by the refused copy starts from the first one's change
        theirs.edit();
        QCOMPARE(theirs.number("Office"), 20.0);
        theirs.setValue("Office", theirs.number("Office") + 5.0);
        theirs.post();
        check.refresh();
        QCOMPARE(check.number("Office"), 25.0);
    }

    void deleteKeepsAnotherUsersChange()
    {
        addExpense(QDate(2024, 1, 1), "Kept", 1.0);
        addExpense(QDate(2024, 1, 2), "Gone", 2.0);
        auto mine = query({QStringLiteral("SELECT * FROM Expense")});
        auto other = fx.reopen();
        Dataset theirs(QStringLiteral("theirs"));
        theirs.setDatabase(other.get());
        theirs.setSql({QStringLiteral("SELECT * FROM Expense")});
        theirs.open();
        theirs.edit();
        theirs.setValue("Office", 5.0);
        theirs.post();
        try {
            mine->remove();
            QFAIL("deleted a record changed meanwhile");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), EngineError::Code::Changed);
            QVERIFY(e.message().contains(QLatin1String("another user")));
        }
        mine->refresh();
        QCOMPARE(mine->number("Office"), 5.0);
        mine->remove();
        // a record another user deleted first is simply gone
        theirs.last();
        theirs.remove();
        mine->remove();
        QCOMPARE(query({QStringLiteral("SELECT * FROM Expense")})->recordCount(), 0);

        // deleting a record another user holds in edit: the server refuses the delete, SQLite
        // refuses their post; either way someone is told
        addExpense(QDate(2024, 1, 3), "Held", 7.0);
        mine->refresh();
        theirs.refresh();
        theirs.edit();
        theirs.setValue("Office", 8.0);
        QString told;
        try {
            mine->remove();
            theirs.post();
        } catch (const EngineError &e) {
            told = e.message();
        }
        QVERIFY2(told.contains(QLatin1String("another user")), qPrintable(told));
        if (theirs.isEditing())
            theirs.cancel();
        auto left = query({QStringLiteral("SELECT * FROM Expense")});
        QCOMPARE(left->recordCount(), Testing::EngineFixture::postgres() ? 1 : 0);
    }

    void datasetsSharingAConnection()
    {
        addExpense(QDate(2024, 1, 1), "A", 1.0);
        addExpense(QDate(2024, 1, 2), "B", 2.0);
        auto a = query({QStringLiteral("SELECT * FROM Expense")});
        auto b = query({QStringLiteral("SELECT * FROM Expense")});
        auto other = fx.reopen();
        auto officeSeenElsewhere = [&](const QString &supplier) {
            Dataset ds(QStringLiteral("elsewhere"));
            ds.setDatabase(other.get());
            ds.setSql({QStringLiteral("SELECT * FROM Expense WHERE Supplier = ")
                       + quoteLiteral(supplier)});
            ds.open();
            return ds.number("Office");
        };
        a->first();
        a->edit();
        a->setValue("Office", 10.0);
        // while a holds its record, b's post of another one is its own durable write
        b->last();
        b->edit();
        b->setValue("Office", 20.0);
        b->post();
        QCOMPARE(officeSeenElsewhere("B"), 20.0);
        {
            Dataset::Walk walk(*b);
            b->edit();
            b->setValue("Office", 21.0);
            b->post();
        }
        QCOMPARE(officeSeenElsewhere("B"), 21.0);
        a->cancel();
        QCOMPARE(officeSeenElsewhere("B"), 21.0);
        QCOMPARE(officeSeenElsewhere("A"), 1.0);
        {
            // two records in edit in one walk, the earlier one posted first
            Dataset::Walk walk(*a);
            a->first();
            a->edit();
            a->setValue("Office", 3.0);
            b->last();
            b->edit();
            b->setValue("Office", 23.0);
            a->post();
            b->post();
            walk.commit();
        }
        QCOMPARE(officeSeenElsewhere("A"), 3.0);
        QCOMPARE(officeSeenElsewhere("B"), 23.0);

        // the record one dataset holds is refused to another of the same copy, never a hang
        a->first();
        a->edit();
        a->setValue("Office", 11.0);
        b->first();
        QElapsedTimer clock;
        clock.start();
        try {
            Dataset::Walk walk(*b);
            b->edit();
            b->setValue("Office", 12.0);
            a->post();
            b->post();
            QFAIL("both edits were taken");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().contains(QLatin1String("another user")), qPrintable(e.message()));
            b->cancel();
        }
        QVERIFY(clock.elapsed() < 5000);
        if (a->isEditing())
            a->post();
        QCOMPARE(officeSeenElsewhere("A"), 11.0);
    }

    void walkRollbackUndoesEveryPost()
    {
        addExpense(QDate(2024, 1, 1), "A", 50.0);
        addExpense(QDate(2024, 1, 2), "B", 50.0);
        auto ds = query({QStringLiteral("SELECT * FROM Expense")});
        {
            Dataset::Walk walk(*ds);
            ds->first();
            ds->edit();
            ds->setValue("Office", 40.0);
            ds->post();
            ds->next();
            ds->edit();
            ds->setValue("Office", 60.0);
            ds->post();
            walk.rollback();
        }
        auto check = query({QStringLiteral("SELECT * FROM Expense")});
        QCOMPARE(column(*check, "Office"), QStringList({"50", "50"}));
        {
            Dataset::Walk walk(*ds);
            ds->first();
            ds->edit();
            ds->setValue("Office", 45.0);
            ds->post();
            walk.commit();
        }
        check->refresh();
        QCOMPARE(column(*check, "Office"), QStringList({"45", "50"}));
    }

    void valuesRoundTrip_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("quotes") << "Notes" << QVariant(QStringLiteral("it's \"here\" ''"));
        QTest::newRow("backslashes") << "Notes" << QVariant(QStringLiteral("c:\\new\\x41 \\'"));
        QTest::newRow("placeholders") << "Notes" << QVariant(QStringLiteral("? $1 :a %s"));
        QTest::newRow("statement") << "Notes" << QVariant(QStringLiteral("'); DROP TABLE \"Names\"; --"));
        QTest::newRow("unicode") << "Notes" << QVariant(QStringLiteral("Zoë — 東京 🎨"));
        QTest::newRow("tenth") << "N2" << QVariant(0.1);
        QTest::newRow("negative") << "N3" << QVariant(-1234.56);
        QTest::newRow("huge") << "N2" << QVariant(1.7976931348623157e308);
        QTest::newRow("tiny") << "N2" << QVariant(4.9e-324);
        QTest::newRow("third") << "N2" << QVariant(1.0 / 3.0);
        QTest::newRow("negative small integer") << "Ref" << QVariant(-32768);
        QTest::newRow("leap day") << "DOB" << QVariant(QDate(2000, 2, 29));
        QTest::newRow("old date") << "DOB" << QVariant(QDate(1901, 1, 1));
        QTest::newRow("picture bytes") << "Pix"
                                       << QVariant(QByteArray("\x00\x01'\\\xff?", 6));
    }
    void valuesRoundTrip()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        auto ds = query({QStringLiteral("SELECT * FROM Names")});
        ds->append();
        ds->setValue("Surname", "Key");
        ds->setValue(field, value);
        ds->post();
        auto other = fx.reopen();
        Dataset back(QStringLiteral("back"));
        back.setDatabase(other.get());
        back.setSql({QStringLiteral("SELECT * FROM Names")});
        back.open();
        QCOMPARE(back.recordCount(), 1);
        QCOMPARE(back.value(field), value);
        if (value.metaType().id() == QMetaType::QString) {
            // and as a bound value of the dialect, found by equality and by LIKE
            back.setSql({QStringLiteral("SELECT * FROM Names WHERE Notes = ")
                         + quoteLiteral(value.toString())});
            back.close();
            back.open();
            QCOMPARE(back.recordCount(), 1);
            back.setSql({QStringLiteral("SELECT * FROM Names WHERE Notes LIKE ")
                         + containsPattern(value.toString().mid(1, 5))});
            back.close();
            back.open();
            QCOMPARE(back.recordCount(), 1);
        }
        // and kept through an edit of another field
        back.edit();
        back.setValue("FirstName", "Ann");
        back.post();
        ds->refresh();
        QCOMPARE(ds->value(field), value);
    }

    void olderLayoutIsMovedForward_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("error");
        QTest::newRow("adds a field") << "good" << "";
        QTest::newRow("a step fails") << "failing" << "Table engine error";
        QTest::newRow("a step loses records") << "losing" << "would lose 1 of the 3 records";
        QTest::newRow("no step known") << "none" << "knows no step from version 0 to 1";
    }
    void olderLayoutIsMovedForward()
    {
        QFETCH(QString, step);
        QFETCH(QString, error);
        addExpense(QDate(2024, 1, 1), "Alpha", 150.0, "B1");
        addExpense(QDate(2024, 1, 2), "O'Brien \"&\" Sons", {});
        addExpense({}, "Zed", 0.5);
        {
            auto ds = query({QStringLiteral("SELECT * FROM Expense")});
            ds->first();
            ds->edit();
            ds->setValue("Notes", "edited once");
            ds->post();
        }
        auto snapshot = [&](Database &d) {
            QStringList rows;
            QSqlQuery qy = d.exec(QStringLiteral(
                "SELECT \"RecId\", \"RecVer\", \"Date\", \"Bus\", \"Supplier\", \"Office\", "
                "\"Notes\" FROM \"Expense\" ORDER BY \"RecId\""));
            while (qy.next()) {
                QStringList cells;
                for (int i = 0; i < 7; ++i)
                    cells << qy.value(i).toString();
                rows << cells.join(QLatin1Char('|'));
            }
            return rows;
        };
        const QStringList before = snapshot(*db);
        // the layout before versions were kept: Expense without its Phone field
        db->exec(QStringLiteral("ALTER TABLE \"Expense\" DROP COLUMN \"Phone\""));
        db->exec(QStringLiteral("DROP TABLE \"BrelvanLayout\""));
        db.reset();
        QVERIFY_THROWS_EXCEPTION(EngineError, fx.reopen());

        Schema target = brelvanSchema();
        LayoutStep s1;
        s1.version = 1;
        s1.description = QStringLiteral("Expense gains Phone");
        s1.reshapedTables = QStringList{QStringLiteral("Expense")};
        if (step == QLatin1String("good"))
            s1.migrate = [](Database &d) {
                d.exec(QStringLiteral("UPDATE \"Expense\" SET \"Phone\" = \"Office\" / 10 "
                                      "WHERE \"Office\" > ?"), {100.0});
            };
        else if (step == QLatin1String("failing"))
            s1.migrate = [](Database &d) { d.exec(QStringLiteral("UPDATE \"Nope\" SET x = 1")); };
        else if (step == QLatin1String("losing"))
            s1.migrate = [](Database &d) {
                d.exec(QStringLiteral("DELETE FROM \"Expense\" WHERE \"Supplier\" = ?"), {"Zed"});
            };
        if (step != QLatin1String("none"))
            target.steps << s1;

        if (!error.isEmpty()) {
            try {
                fx.upgrade(target);
                QFAIL("the upgrade was taken");
            } catch (const EngineError &e) {
                QVERIFY2(e.message().contains(error), qPrintable(e.message()));
            }
            // nothing was changed: still the old layout, every record there
            QVERIFY_THROWS_EXCEPTION(EngineError, fx.reopen());
            target.steps = {s1};
            target.steps[0].migrate = {};
        }
        QCOMPARE(fx.upgrade(target), 0);
        db = fx.reopen();
        QCOMPARE(db->layoutVersion(), 1);
        QCOMPARE(snapshot(*db), before);
        auto ds = query({QStringLiteral("SELECT * FROM Expense")});
        QCOMPARE(ds->recordCount(), 3);
        QCOMPARE(column(*ds, "Phone"),
                 step == QLatin1String("good") ? QStringList({"", "15", ""}) : QStringList({"", "", ""}));
        // the rebuilt table takes new records and the key still refuses a repeat
        addExpense(QDate(2024, 2, 1), "New");
        QVERIFY_THROWS_EXCEPTION(EngineError, addExpense(QDate(2024, 2, 1), "New"));
        // and can be rebuilt again later
        {
            Database::WriteToken t = db->beginWrite();
            db->reshapeTable(*brelvanSchema().table(QStringLiteral("Expense")));
            db->commitWrite(t);
        }
        QCOMPARE(query({QStringLiteral("SELECT * FROM Expense")})->recordCount(), 4);
        // a current layout is left alone
        db.reset();
        QCOMPARE(fx.upgrade(target), 1);
    }

    void newerLayoutIsRefused()
    {
        db->exec(QStringLiteral("UPDATE \"BrelvanLayout\" SET \"Version\" = ?"), {7});
        db.reset();
        const QString says = QStringLiteral("have layout version 7, which this version of "
                                            "Brelvan does not know (it knows up to 1)");
        try {
            fx.reopen();
            QFAIL("opened");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().contains(says), qPrintable(e.message()));
        }
        try {
            fx.upgrade(brelvanSchema());
            QFAIL("moved a newer layout");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().contains(says), qPrintable(e.message()));
        }
    }

    void unreachableServerFailsFast_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("nobody listening") << "127.0.0.1" << 1;
        // a listener that takes the connection and never answers: the timeout ends the wait
        QTest::newRow("silent server") << "127.0.0.1" << -1;
        QTest::newRow("no address") << "" << 5432;
    }
    void unreachableServerFailsFast()
    {
        QFETCH(QString, host);
        QFETCH(int, port);
        int silent = -1;
        if (port == -1) {
            silent = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in addr{};
            addr.sin_family = AF_INET;
            addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            socklen_t len = sizeof addr;
            QVERIFY(::bind(silent, reinterpret_cast<sockaddr *>(&addr), len) == 0);
            QVERIFY(::listen(silent, 4) == 0);
            ::getsockname(silent, reinterpret_cast<sockaddr *>(&addr), &len);
            port = ntohs(addr.sin_port);
        }
        const auto closeSilent = qScopeGuard([silent] { if (silent >= 0) ::close(silent); });
        ServerAddress a;
        a.host = host;
        a.port = port;
        a.connectTimeoutSeconds = 2;
        QElapsedTimer clock;
        clock.start();
        try {
            Database::openServer(a, brelvanSchema());
            QFAIL("opened");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().contains(QLatin1String("cannot be reached"))
                         || e.message().contains(QLatin1String("No server address")),
                     qPrintable(e.message()));
        }
        QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
        if (silent >= 0)
            QVERIFY(clock.elapsed() >= 1500); // it was the timeout, not a refusal
    }

    void folderMissingATableIsRefused()
    {
        db->exec(QStringLiteral("DROP TABLE \"Wages\""));
        db.reset();
        try {
            fx.reopen();
            QFAIL("opened");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().contains(QLatin1String("Table Wages is missing")), qPrintable(e.message()));
        }
        if (Testing::EngineFixture::postgres())
            return; // the rest is about data folders on disk
        QStringList problems = Database::checkFolder(fx.folder(), brelvanSchema());
        QCOMPARE(problems, QStringList({"Table Wages is missing."}));
        // opening created nothing
        QVERIFY(!Database::checkFolder(fx.folder(), brelvanSchema()).isEmpty());
        QTemporaryDir empty;
        QVERIFY_THROWS_EXCEPTION(EngineError, Database::openFolder(empty.path(), brelvanSchema()));
        QVERIFY(QDir(empty.path()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
