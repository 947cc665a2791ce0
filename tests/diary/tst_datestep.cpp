#include "diary/datestep.h"

#include <QTest>

#include <functional>

using namespace Brelvan;

class TestDateStep : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void repeatedMonthsKeepTheShortenedDay();
};

using Step = std::function<QDate(const QDate &)>;
Q_DECLARE_METATYPE(Step)

void TestDateStep::steps_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("expected");

    const Step on = DateStep::monthOn;
    const Step back = DateStep::monthBack;
    const Step yearOn = DateStep::yearOn;
    const Step yearBack = DateStep::yearBack;
    const Step weekOn = [](const QDate &d) { return DateStep::weeks(d, 1); };
    const Step twoBack = [](const QDate &d) { return DateStep::weeks(d, -2); };

    QTest::newRow("month on 31 Jan to 28 Feb") << on << QDate(2005, 1, 31) << QDate(2005, 2, 28);
    QTest::newRow("month on 31 Jan leap") << on << QDate(2004, 1, 31) << QDate(2004, 2, 29);
    QTest::newRow("month on 28 Feb to 28 Mar") << on << QDate(2005, 2, 28) << QDate(2005, 3, 28);
    QTest::newRow("month on Dec into next year") << on << QDate(2004, 12, 15)
                                                 << QDate(2005, 1, 15);
    QTest::newRow("month on 31 Mar to 30 Apr") << on << QDate(2005, 3, 31) << QDate(2005, 4, 30);
    QTest::newRow("month back 31 Mar to 29 Feb") << back << QDate(2004, 3, 31)
                                                 << QDate(2004, 2, 29);
    QTest::newRow("month back 31 Mar non-leap") << back << QDate(2005, 3, 31)
                                                << QDate(2005, 2, 28);
    QTest::newRow("month back Jan into last year") << back << QDate(2005, 1, 31)
                                                   << QDate(2004, 12, 31);
    QTest::newRow("year on 29 Feb") << yearOn << QDate(2004, 2, 29) << QDate(2005, 2, 28);
    QTest::newRow("year back 29 Feb") << yearBack << QDate(2004, 2, 29) << QDate(2003, 2, 28);
    QTest::newRow("year on 28 Feb to leap year") << yearOn << QDate(2003, 2, 28)
                                                 << QDate(2004, 2, 28);
    QTest::newRow("year on ordinary day") << yearOn << QDate(2005, 7, 4) << QDate(2006, 7, 4);
    QTest::newRow("week on over month end") << weekOn << QDate(2005, 1, 28) << QDate(2005, 2, 4);
    QTest::newRow("two weeks back over year end") << twoBack << QDate(2005, 1, 3)
                                                  << QDate(2004, 12, 20);
    QTest::newRow("invalid date stays invalid") << on << QDate() << QDate();
}

void TestDateStep::steps()
{
    QFETCH(Step, step);
    QFETCH(QDate, from);
    QFETCH(QDate, expected);
    QCOMPARE(step(from), expected);
}

void TestDateStep::repeatedMonthsKeepTheShortenedDay()
{
    // each step starts from the date shown, so the day lost in February stays lost
    QDate d(2005, 1, 31);
    d = DateStep::monthOn(d);
    QCOMPARE(d, QDate(2005, 2, 28));
    d = DateStep::monthOn(d);
    QCOMPARE(d, QDate(2005, 3, 28));
}

QTEST_APPLESS_MAIN(TestDateStep)
#include "tst_datestep.moc"
