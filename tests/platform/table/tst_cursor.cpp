// Moving off a new record that was never typed into drops it, and the move lands where the
// user was going: the neighbour of the new record, not one further.

#include "enginefixture.h"

#include "platform/table/dataset.h"

#include <QTest>

using namespace Brelvan;
using namespace Brelvan::Table;

class TestCursor : public QObject
{
    Q_OBJECT

private slots:
    void leavingAnUntouchedNewRecord_data()
    {
        QTest::addColumn<bool>("append");   // else insert before the current record
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QString>("landsOn");
        QTest::addColumn<bool>("eof");
        // records A B C; the current record is B for an insert
        QTest::newRow("appended, up") << true << false << "C" << false;
        QTest::newRow("appended, down") << true << true << "C" << true;
        QTest::newRow("inserted before B, down") << false << true << "B" << false;
        QTest::newRow("inserted before B, up") << false << false << "A" << false;
    }
    void leavingAnUntouchedNewRecord()
    {
        QFETCH(bool, append);
        QFETCH(bool, forward);
        QFETCH(QString, landsOn);
        QFETCH(bool, eof);
        Testing::EngineFixture fx;
        auto db = fx.create();
        Dataset ds(QStringLiteral("Expend"));
        ds.setDatabase(db.get());
        ds.setSql({QStringLiteral("SELECT * FROM Expense")});
        ds.open();
        for (const char *s : {"A", "B", "C"}) {
            ds.append();
            ds.setValue("Supplier", QString::fromLatin1(s));
            ds.post();
        }
        ds.first();
        ds.next(); // B
        if (append)
            ds.append();
        else
            ds.insert();
        if (forward)
            ds.next();
        else
            ds.prior();
        QCOMPARE(ds.recordCount(), 3);
        QCOMPARE(ds.state(), Dataset::State::Browse);
        QCOMPARE(ds.text("Supplier"), landsOn);
        QCOMPARE(ds.eof(), eof);
    }
};

QTEST_GUILESS_MAIN(TestCursor)
#include "tst_cursor.moc"
