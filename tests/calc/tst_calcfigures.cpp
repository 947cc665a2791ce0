#include "calc/annuitycalc.h"
#include "calc/calcnumbers.h"
#include "calc/loancalc.h"
#include "calc/loantable.h"
#include "data/formats.h"

#include <QRegularExpression>
#include <QTest>

#include <cmath>

using namespace Brelvan;

namespace {

enum Calculator { Loan, Invest, Rising, Sinking };

// The calculator's Calculate; `first` is the amount, payment or future value.
Calculation calculate(int calculator, const QString &first, const QString &rate,
                      const QString &term, int frequency)
{
    switch (calculator) {
    case Loan:
        return calculateLoan(first, rate, term, frequency);
    case Invest:
        return calculateInvest(first, rate, term, frequency);
    case Rising:
        return calculateRisingAnnuity(first, rate, term, frequency);
    default:
        return calculateSinkingAnnuity(first, rate, term, frequency);
    }
}

const int Daily = 0, Weekly = 1, Monthly = 2, Yearly = 5;

} // namespace

class TestCalcFigures : public QObject
{
    Q_OBJECT

private slots:
    void examples_data();
    void examples();
    void refused_data();
    void refused();
    void againstSpreadsheet_data();
    void againstSpreadsheet();
    void numberFormats_data();
    void numberFormats();
    void detailTable();
    void detailTableWideFigures();
    void schedule_data();
    void schedule();
};

void TestCalcFigures::examples_data()
{
    QTest::addColumn<int>("calculator");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("term");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QStringList>("expected"); // "Edit=text"

    QTest::newRow("loan monthly") << int(Loan) << "10000" << "6" << "5" << Monthly
        << QStringList{"EdPays=60", "EdR=193.33", "EdAV=11,599.68", "EdInt=1,599.68",
                       "EdAI=26.66", "EdAAI=319.94"};
    QTest::newRow("loan yearly") << int(Loan) << "10000" << "6" << "5" << Yearly
        << QStringList{"EdPays=5", "EdR=2,373.96", "EdAV=11,869.82"};
    QTest::newRow("loan 1.5 years weekly") << int(Loan) << "10000" << "6" << "1.5" << Weekly
        << QStringList{"EdPays=78"};
    QTest::newRow("loan 1.3 years weekly") << int(Loan) << "10000" << "6" << "1.3" << Weekly
        << QStringList{"EdPays=67.6"};
    QTest::newRow("loan daily") << int(Loan) << "10000" << "6" << "1" << Daily
        << QStringList{"EdPays=365", "EdR=28.23"};
    QTest::newRow("loan with no frequency chosen is monthly") << int(Loan) << "10000" << "6"
        << "5" << -1 << QStringList{"EdPays=60", "EdR=193.33"};
    QTest::newRow("loan typed with separators and blanks") << int(Loan) << " 10,000 " << "6.0"
        << "5" << Monthly << QStringList{"EdR=193.33"};
    QTest::newRow("invest monthly") << int(Invest) << "10000" << "6" << "5" << Monthly
        << QStringList{"EdPays=60", "EdAV=13,488.50", "EdInt=3,488.50", "EdR=224.81",
                       "EdAI=58.14", "EdAAI=697.70"};
    QTest::newRow("invest at no interest") << int(Invest) << "10000" << "0" << "5" << Monthly
        << QStringList{"EdAV=10,000.00", "EdInt=0.00", "EdAI=0.00", "EdAAI=0.00"};
    QTest::newRow("rising annuity") << int(Rising) << "100" << "6" << "5" << Monthly
        << QStringList{"EdPays=60", "EdFV=6,977", "EdInputs=6,000", "EdIR=977",
                       "EdAI=1,200", "EdAIR=195"};
    QTest::newRow("sinking annuity") << int(Sinking) << "10000" << "6" << "5" << Monthly
        << QStringList{"EdPays=60", "EdPMT=143.33", "EdTI=8,599.68", "EdInt=1,400.32",
                       "EdAI=23.34", "EdAAI=280.06"};
}

void TestCalcFigures::examples()
{
    QFETCH(int, calculator);
    QFETCH(QString, first);
    QFETCH(QString, rate);
    QFETCH(QString, term);
    QFETCH(int, frequency);
    QFETCH(QStringList, expected);
    const Calculation c = calculate(calculator, first, rate, term, frequency);
    QCOMPARE(c.error, CalcError::None);
    QCOMPARE(c.texts.size(), 6);
    for (const QString &e : expected) {
        const QString edit = e.section('=', 0, 0);
        QVERIFY2(c.texts.contains(edit), qPrintable(edit));
        QCOMPARE(edit + '=' + c.texts.value(edit), e);
    }
}

void TestCalcFigures::refused_data()
{
    QTest::addColumn<int>("calculator");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("term");
    QTest::addColumn<CalcError>("error");

    const struct { Calculator c; const char *name; } all[] = {
        {Loan, "loan"}, {Invest, "invest"}, {Rising, "rising"}, {Sinking, "sinking"}};
    for (const auto &k : all) {
        const QByteArray n(k.name);
        QTest::newRow(n + " amount empty") << int(k.c) << "" << "6" << "5" << CalcError::Missing;
        QTest::newRow(n + " rate blank") << int(k.c) << "100" << "  " << "5" << CalcError::Missing;
        QTest::newRow(n + " term empty, rate bad") << int(k.c) << "100" << "x" << ""
                                                   << CalcError::Missing;
        QTest::newRow(n + " not a number") << int(k.c) << "100" << "6%" << "5"
                                           << CalcError::Unusable;
        QTest::newRow(n + " out of range") << int(k.c) << "1e999" << "6" << "5"
                                           << CalcError::Unusable;
        QTest::newRow(n + " zero term") << int(k.c) << "100" << "6" << "0"
                                        << CalcError::Unusable;
        QTest::newRow(n + " negative term") << int(k.c) << "100" << "6" << "-5"
                                            << CalcError::Unusable;
        QTest::newRow(n + " rate wiping out the balance") << int(k.c) << "100" << "-1200" << "5"
                                                          << CalcError::Unusable;
        if (k.c != Invest)
            QTest::newRow(n + " zero rate") << int(k.c) << "100" << "0" << "5"
                                            << CalcError::Unusable;
    }
}

void TestCalcFigures::refused()
{
    QFETCH(int, calculator);
    QFETCH(QString, first);
    QFETCH(QString, rate);
    QFETCH(QString, term);
    QFETCH(CalcError, error);
    const Calculation c = calculate(calculator, first, rate, term, Monthly);
    QCOMPARE(c.error, error);
    QVERIFY(c.texts.isEmpty());
}

void TestCalcFigures::againstSpreadsheet_data()
{
    // PMT and FV of Gnumeric 1.12 (ssconvert --recalc) over the same figures:
    // PMT(r/m, m*years, -P), FV(r/m, m*years, 0, -P), FV(r/m, m*years, -P),
    // PMT(r/m, m*years, 0, -P)
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("years");
    QTest::addColumn<int>("perYear");
    QTest::addColumn<double>("repayment");
    QTest::addColumn<double>("compound");
    QTest::addColumn<double>("annuity");
    QTest::addColumn<double>("sinking");
    const struct { double p, r, y; int m; double pmt, fv, fva, sink; } rows[] = {
        {10000, 6, 5, 12, 193.32801529427918376, 13488.50152549316069,
         697700.30509863213877, 143.32801529427918381},
        {10000, 6, 5, 1, 2373.9640043118962507, 13382.255776, 56370.929600000000004,
         1773.9640043118962508},
        {250000, 5.75, 30, 12, 1458.9321411088822363, 1397361.7313557641604,
         239449404.80468121609, 261.0154744422155697},
        {4500, 9.9, 1.5, 52, 62.136743570183702659, 5219.680616075085873,
         378014.06096873197055, 53.569435877876010275},
        {4500, 9.9, 1.3, 52, 71.00682049144134189, 5117.443712916343229,
         324313.86941060452153, 62.439512799133649514},
        {800, 18, 0.5, 365, 4.5848604828811206162, 875.3200082229107377,
         152732.23889645788914, 4.190339934935915148},
        {35000, 7.2, 7, 4, 1602.332815070264508, 57677.420383479068676,
         1259856.6879710593665, 972.3328150702645058},
        {120000, 4.1, 10, 2, 7374.264568199754382, 180070.02592213727735,
         2930245.1669335257254, 4914.264568199754383},
        {1500.5, 12.5, 3, 12, 50.197165177863151256, 2178.984013205174518,
         65134.46526769675372, 34.56695684452981792},
        {99999.99, 0.75, 20, 1, 5403.062653647347689, 116118.40261847835838,
         2149121.6824637811023, 4653.0627286473476838},
        {60000, 3.25, 2.25, 4, 6940.4219109798544656, 64532.830305947168355,
         557886.80688580533604, 6452.9219109798544656},
        {2000, 24, 2, 365, 3.4505456648789809585, 3231.6390084248632852,
         1873117.658646146181, 2.1354771717282959812},
        {50, 1, 40, 52, 0.029168095955647202471, 74.58836641132423255,
         127859.50533888596568, 0.019552711340262583809},
        {1000000, 15, 25, 2, 77072.41023282316095, 37189746.032005703495,
         482529947.09340937904, 2072.410232823160812},
    };
    for (const auto &r : rows) {
        QTest::addRow("%g at %g%% over %g years, %d a year", r.p, r.r, r.y, r.m)
            << r.p << r.r << r.y << r.m << r.pmt << r.fv << r.fva << r.sink;
    }
}

void TestCalcFigures::againstSpreadsheet()
{
    QFETCH(double, amount);
    QFETCH(double, rate);
    QFETCH(double, years);
    QFETCH(int, perYear);
    QFETCH(double, repayment);
    QFETCH(double, compound);
    QFETCH(double, annuity);
    QFETCH(double, sinking);
    auto close = [](double got, double want) {
        return std::abs(got - want) <= 1e-10 * std::abs(want);
    };
    const auto loan = loanFigures(amount, rate, years, perYear);
    QVERIFY(loan);
    QVERIFY2(close(loan->repayment, repayment),
             qPrintable(QString::number(loan->repayment, 'g', 17)));
    QVERIFY(close(loan->repayments, perYear * years));
    QVERIFY(close(*compoundValue(amount, rate, years, perYear), compound));
    QVERIFY(close(*annuityValue(amount, rate, years, perYear), annuity));
    QVERIFY(close(*sinkingPayment(amount, rate, years, perYear), sinking));
}

void TestCalcFigures::numberFormats_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("separators") << 1234567.891 << 14 << 2 << "1,234,567.89";
    QTest::newRow("half away from zero") << 0.125 << 11 << 2 << "0.13";
    QTest::newRow("negative half") << -0.125 << 11 << 2 << "-0.13";
    QTest::newRow("no negative zero") << -0.004 << 11 << 2 << "0.00";
    QTest::newRow("a half as shown") << 1.005 << 11 << 2 << "1.01";
    QTest::newRow("large figure kept exact") << 999999999399.0 << 15 << 0 << "999,999,999,399";
    QTest::newRow("large figure not pushed up") << 99999999999.994 << 14 << 2
                                                << "99,999,999,999.99";
    QTest::newRow("whole units") << 6977.003 << 14 << 0 << "6,977";
    QTest::newRow("significant digits run out")
        << 12345678901.987 << 11 << 2 << "12,345,678,902.00";
    QTest::newRow("more whole digits than the precision")
        << 123456789012.0 << 11 << 2 << "1.2345678901E+11";
}

void TestCalcFigures::numberFormats()
{
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(formatFixed(value, precision, decimals), text);
}

void TestCalcFigures::detailTable()
{
    const auto loan = loanFigures(10000, 6, 5, 12);
    const QStringList lines = borrowDetailTable(*loan, "6", "5", "193.33", "15/03/2026")
                                  .split('\n');
    QCOMPARE(lines.size(), 5 + 60);
    QCOMPARE(lines.at(0), " Loan = $10,000.00 at 6%  Interest  over 5 Years");
    QCOMPARE(lines.at(1), QString());
    QCOMPARE(lines.at(2), "\tDate\t\t\t\t\t\t\tPrincipal\t  Balance\t\tCumulative");
    QCOMPARE(lines.at(3),
             " #\tDue\t        Principal\t  + Interest\t - Repayment\tPaid\t  Owed\t\tInterest");
    QCOMPARE(lines.at(4), QString());
    QCOMPARE(lines.at(5), "1       \t15/03/2026      $10,000.00\t  + $50.00    \t- $193.33      \t"
                          "$143.33     $9,856.67    \t$50.00");
    QCOMPARE(lines.at(6), "2       \t15/03/2026      $9,856.67\t  + $49.28    \t- $193.33      \t"
                          "$144.04     $9,712.63    \t$99.28");
    // the reducing balance comes to nought on the last repayment, all the interest paid
    QCOMPARE(lines.last(), "60      \t15/03/2026      $192.37\t  + $0.96     \t- $193.33      \t"
                           "$192.37     $0.00        \t$1,599.68");

    // a fractional count lists whole repayments
    const auto weekly = loanFigures(10000, 6, 1.3, 52);
    QCOMPARE(borrowDetailTable(*weekly, "6", "1.3", "150.88", "15/03/2026").count('\n'),
             4 + 68);
}

void TestCalcFigures::detailTableWideFigures()
{
    // interest and balances wider than the ten places of their fields
    const auto loan = loanFigures(25000000, 12, 2, 12);
    const QStringList lines = borrowDetailTable(*loan, "12", "2", "1,176,836.81", "15/03/2026")
                                  .split('\n')
                                  .mid(5);
    QCOMPARE(lines.size(), 24);
    const QRegularExpression interest("^  \\+ \\$[0-9,]+\\.[0-9]{2} *$");
    const QRegularExpression paidOwed("^\\$[0-9,]+\\.[0-9]{2} +-?\\$[0-9,]+\\.[0-9]{2} +$");
    const QStringList first = lines.first().split('\t');
    QCOMPARE(first.at(2), "  + $250,000.00");
    QVERIFY(first.at(4).startsWith("$926,836.81 "));
    QVERIFY(first.at(4).contains(" $24,073,163.19 "));
    for (const QString &line : lines) {
        const QStringList f = line.split('\t');
        QCOMPARE(f.size(), 6);
        // every value whole, and each fixed field as wide on every line
        QVERIFY2(interest.match(f.at(2)).hasMatch(), qPrintable(f.at(2)));
        QVERIFY2(paidOwed.match(f.at(4)).hasMatch(), qPrintable(f.at(4)));
        QCOMPARE(f.at(3), "- $1,176,836.81");
        QCOMPARE(f.at(2).size(), first.at(2).size());
        QCOMPARE(f.at(4).size(), first.at(4).size());
    }
}

void TestCalcFigures::schedule_data()
{
    QTest::addColumn<double>("years");
    QTest::addColumn<int>("perYear");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QStringList>("expected"); // "line number=text"
    QTest::newRow("five years monthly") << 5.0 << 12 << 60
        << QStringList{"1=    1                  9,833", "2=    2                 9,667",
                       "59=   59                   167", "60=   60                     0"};
    // 67.6 repayments: the 68th finds the loan paid
    QTest::newRow("1.3 years weekly") << 1.3 << 52 << 68
        << QStringList{"67=   67                    89", "68=   68                     0"};
}

void TestCalcFigures::schedule()
{
    QFETCH(double, years);
    QFETCH(int, perYear);
    QFETCH(int, lines);
    QFETCH(QStringList, expected);
    const auto loan = loanFigures(10000, 6, years, perYear);
    const QStringList got = repaymentSchedule(10000, loan->averagePrincipal(),
                                              wholeRepayments(loan->repayments));
    QCOMPARE(got.size(), lines);
    for (const QString &e : expected)
        QCOMPARE(got.at(e.section('=', 0, 0).toInt() - 1), e.section('=', 1));
}

QTEST_GUILESS_MAIN(TestCalcFigures)
#include "tst_calcfigures.moc"
