#include "data/formats.h"

#include <QTest>

using namespace Brelvan;

class TestFormats : public QObject
{
    Q_OBJECT

private slots:
    void roundsHalvesAwayFromZero_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("rounded");
        QTest::newRow("half up") << 0.125 << 2 << 0.13;
        QTest::newRow("half down negative") << -0.125 << 2 << -0.13;
        QTest::newRow("binary 1.005") << 1.005 << 2 << 1.01;
        QTest::newRow("binary 2.675") << 2.675 << 2 << 2.68;
        QTest::newRow("below half") << 0.0454545 << 2 << 0.05;
        QTest::newRow("whole") << 2.5 << 0 << 3.0;
        QTest::newRow("whole negative") << -2.5 << 0 << -3.0;
        QTest::newRow("tiny negative to zero") << -0.001 << 2 << 0.0;
        // large figures round by their decimal digits too, not by a nudge that grows
        QTest::newRow("large, just under a cent") << 99999999999.994 << 2 << 99999999999.99;
        QTest::newRow("large whole") << 999999999399.0 << 0 << 999999999399.0;
        QTest::newRow("large half") << 1234567890.125 << 2 << 1234567890.13;
        QTest::newRow("just below half") << 0.124999 << 2 << 0.12;
    }
    void roundsHalvesAwayFromZero()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(double, rounded);
        QCOMPARE(roundHalfAway(value, decimals), rounded);
    }

    void moneyAndDates()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::Australia));
        QCOMPARE(formatMoney(1234.5), QStringLiteral("$1,234.50"));
        const QString negative = formatMoney(-5);
        QVERIFY2(negative.contains(QLatin1String("$5.00")) && negative != QLatin1String("$5.00"),
                 qPrintable(negative));
        QCOMPARE(noteStamp(QDateTime(QDate(2004, 3, 3), QTime(14, 5, 9))),
                 QStringLiteral("03/03/2004 14:05:09 "));
        setShortDateFormat("MM/dd/yyyy");
        QCOMPARE(shortDate(QDate(2004, 3, 4)), QStringLiteral("03/04/2004"));
        setShortDateFormat("yyyy-MM-dd"); // not one of the two: day first
        QCOMPARE(shortDate(QDate(2004, 3, 4)), QStringLiteral("04/03/2004"));
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
