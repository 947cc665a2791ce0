#include "data/demodata.h"
#include "data/schema.h"
#include "platform/table/database.h"
#include "platform/table/engineerror.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

using namespace Brelvan;
using Table::Database;

namespace {

const QDate Today(2026, 3, 15);

double round2(double v)
{
    const double t = v * 100 + (v < 0 ? -0.5 : 0.5);
    return std::trunc(t) / 100;
}

// Year and Period by the default settings (calendar year, quarters)
QString year(const QDate &d)
{
    return QString::number(d.year());
}

QString quarter(const QDate &d)
{
    return QStringLiteral("%1%2").arg(d.year() % 100, 2, 10, QLatin1Char('0'))
        .arg((d.month() + 2) / 3, 2, 10, QLatin1Char('0'));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestDemoData : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_program;
    std::unique_ptr<Database> m_db;

    QString dataFolder() const { return m_program.filePath(QStringLiteral("Data")); }

    QSqlQuery rows(const QString &sql) const { return m_db->exec(sql); }

    int count(const QString &sql) const
    {
        QSqlQuery q = rows(sql);
        return q.next() ? q.value(0).toInt() : -1;
    }

    // every table's rows as text, in record order, to compare two fills
    QStringList dump(Database &db) const
    {
        QStringList out;
        for (const Table::TableDef &t : brelvanSchema().tables) {
            QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY \"RecId\"")
                                      .arg(t.name));
            while (q.next()) {
                QStringList cells;
                for (int i = 0; i < q.record().count(); ++i)
                    cells << q.value(i).toString();
                out << t.name + QLatin1Char(':') + cells.join(QLatin1Char('|'));
            }
        }
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_program.isValid());
        m_db = Database::createFolder(dataFolder(), brelvanSchema());
        QElapsedTimer clock;
        clock.start();
        fillDemoData(*m_db, Today);
        qInfo("demo records written in %lld ms", clock.elapsed());
        QString error;
        QVERIFY2(writeProgramFolderFiles(m_program.path(), &error), qPrintable(error));
    }

    void folderIsValid()
    {
        m_db->flush();
        const QStringList problems = Database::checkFolder(dataFolder(), brelvanSchema());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void recordCounts_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("expected");
        QTest::newRow("clients") << "Names" << 40;
        QTest::newRow("expenses") << "Expense" << 300;
        QTest::newRow("income") << "Income" << 150;
        QTest::newRow("paints") << "Paint" << 30;
        QTest::newRow("quotes") << "Quote" << 10;
        QTest::newRow("jobs") << "Jobs" << 6;
        QTest::newRow("pays") << "Wages" << 60;
        QTest::newRow("inventory") << "Inventory" << 20;
        QTest::newRow("diary") << "Diary" << 100;
    }
    void recordCounts()
    {
        QFETCH(QString, table);
        QFETCH(int, expected);
        const int n = count(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
        QVERIFY2(std::abs(n - expected) <= expected / 10,
                 qPrintable(QStringLiteral("%1 records").arg(n)));
    }

    // Bank = Tax + the amount columns, to the cent, with a sum that is not zero; every
    // figure in whole cents, as the GST tools leave them.
    void booksBalance_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("amounts");
        QTest::newRow("expenses") << "Expense"
                                  << QStringList{"Office", "Other", "Phone", "F1", "F2", "F3",
                                                 "F4", "F5", "F6", "F7"};
        QTest::newRow("income") << "Income"
                                << QStringList{"Interest", "Sales", "F1", "F2", "F3", "F4",
                                               "F5"};
    }
    void booksBalance()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, amounts);
        QSqlQuery q = rows(QStringLiteral("SELECT * FROM \"%1\"").arg(table));
        int n = 0;
        bool taxed = false, untaxed = false;
        QSet<QString> used;
        while (q.next()) {
            ++n;
            const QSqlRecord rec = q.record();
            double sum = 0;
            for (const QString &col : amounts) {
                const double v = rec.value(col).toDouble();
                QCOMPARE(round2(v), v);
                if (v != 0)
                    used << col;
                sum += v;
            }
            const double tax = rec.value(QStringLiteral("Tax")).toDouble();
            const double bank = rec.value(QStringLiteral("Bank")).toDouble();
            QVERIFY(!rec.isNull(QStringLiteral("Bank")));
            QVERIFY2(round2(sum + tax) != 0, qPrintable(rec.value(0).toString()));
            QCOMPARE(round2(bank), round2(sum + tax));
            QCOMPARE(round2(tax), tax);
            (tax != 0 ? taxed : untaxed) = true;
        }
        QVERIFY(n > 0);
        QVERIFY(taxed && untaxed);   // GST and GST-free records both
        QVERIFY2(used.size() >= (table == QLatin1String("Expense") ? 9 : 3),
                 qPrintable(QStringList(used.values()).join(QLatin1Char(','))));
    }

    void gstIsTenPercent()
    {
        // a receipt with GST only in taxed columns: the tax is a tenth of them, to the cent
        QSqlQuery q = rows(QStringLiteral(
            "SELECT F1, Tax FROM Expense WHERE F1 IS NOT NULL AND Office IS NULL "
            "AND Other IS NULL AND Phone IS NULL AND F2 IS NULL AND F3 IS NULL AND F4 IS NULL "
            "AND F5 IS NULL AND F6 IS NULL AND F7 IS NULL"));
        int n = 0;
        while (q.next()) {
            ++n;
            QVERIFY(std::abs(q.value(1).toDouble() - q.value(0).toDouble() / 10) <= 0.011);
        }
        QVERIFY(n > 50);
    }

    void stampsFollowTheDate_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("dateField");
        QTest::newRow("expenses") << "Expense" << "Date";
        QTest::newRow("income") << "Income" << "Date";
        QTest::newRow("wages") << "Wages" << "DatePaid";
        QTest::newRow("inventory") << "Inventory" << "DateIn";
    }
    void stampsFollowTheDate()
    {
        QFETCH(QString, table);
        QFETCH(QString, dateField);
        QSqlQuery q = rows(QStringLiteral("SELECT \"%1\", \"Year\", \"Period\" FROM \"%2\"")
                               .arg(dateField, table));
        QSet<QString> periods;
        while (q.next()) {
            const QDate d = QDate::fromString(q.value(0).toString(), Qt::ISODate);
            QVERIFY(d.isValid());
            QVERIFY2(d >= Today.addYears(-2) && d < Today, qPrintable(d.toString()));
            QCOMPARE(q.value(1).toString(), year(d));
            QCOMPARE(q.value(2).toString(), quarter(d));
            periods << q.value(2).toString();
        }
        QVERIFY(periods.size() >= 2);
    }

    void jobsStampedWhenPaid()
    {
        QSqlQuery q = rows(QStringLiteral("SELECT PaidUp, Recd, FinYr, Period, Started, "
                                          "Finished, Awarded, Date FROM Jobs"));
        int paid = 0, open = 0;
        while (q.next()) {
            const QDate quoted = q.value(7).toDate();
            const QDate awarded = q.value(6).toDate();
            QVERIFY(quoted.isValid() && awarded >= quoted && q.value(4).toDate() >= awarded);
            if (q.value(1).isNull()) {
                ++open;
                QVERIFY(q.value(2).isNull() && q.value(3).isNull());
                continue;
            }
            ++paid;
            const QDate d = q.value(0).toDate();
            QVERIFY(d >= q.value(5).toDate() && d < Today);
            QCOMPARE(q.value(2).toString(), year(d));
            QCOMPARE(q.value(3).toString(), quarter(d));
        }
        QVERIFY(paid > 0 && open > 0);
    }

    void keysAreUnique()
    {
        for (const Table::TableDef &t : brelvanSchema().tables) {
            if (t.key.isEmpty())
                continue;
            QStringList cols;
            for (const QString &k : t.key)
                cols << QLatin1Char('"') + k + QLatin1Char('"');
            const QString sql = QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM \"%1\" "
                                               "GROUP BY %2 HAVING count(*) > 1)")
                                    .arg(t.name, cols.join(QLatin1Char(',')));
            QVERIFY2(count(sql) == 0, qPrintable(t.name));
        }
    }

    // invoice, reference and quote numbers run 1..n without gaps, as the counters give them
    void numbersRunFromOne_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("client invoice numbers") << "SELECT Ref FROM Names WHERE Ref IS NOT NULL";
        QTest::newRow("income reference numbers") << "SELECT InvoiceNo FROM Income";
        QTest::newRow("quote numbers") << "SELECT QuoteNo FROM Quote";
    }
    void numbersRunFromOne()
    {
        QFETCH(QString, sql);
        QSqlQuery q = rows(sql + QStringLiteral(" ORDER BY 1"));
        int expected = 0;
        while (q.next())
            QCOMPARE(q.value(0).toDouble(), double(++expected));
        QVERIFY(expected > 5);
    }

    void incomeNumbersFollowTheDates()
    {
        QSqlQuery q = rows(QStringLiteral("SELECT Date FROM Income ORDER BY InvoiceNo"));
        QDate previous;
        while (q.next()) {
            const QDate d = q.value(0).toDate();
            QVERIFY(d >= previous);
            previous = d;
        }
    }

    void clients()
    {
        QCOMPARE(count("SELECT count(*) FROM Names WHERE Company IS NOT NULL"), 8);
        QVERIFY(count("SELECT count(*) FROM Names WHERE PaidDate IS NOT NULL") >= 3);
        QVERIFY(count("SELECT count(*) FROM Names WHERE Surname = 'Smith'") == 1);
        // invoiced clients: hours at $50 plus 10 % tax
        QSqlQuery q = rows("SELECT Hours, Pay, Tax FROM Names WHERE Ref IS NOT NULL");
        while (q.next()) {
            QCOMPARE(q.value(1).toDouble(), q.value(0).toDouble() * 50);
            QCOMPARE(q.value(2).toDouble(), round2(q.value(1).toDouble() / 10));
        }
        QVERIFY(count("SELECT count(*) FROM Names WHERE EntryDate IS NULL "
                      "OR Hzip IS NULL OR Hsuburb IS NULL") == 0);
    }

    void wages()
    {
        QSqlQuery q = rows("SELECT Wage, Bonus, Contract, Gross, Tax, Health, Levy, Other, "
                           "Super, \"Union\", Net, Hrs FROM Wages");
        while (q.next()) {
            auto v = [&](int i) { return q.value(i).toDouble(); };
            QCOMPARE(v(3), round2(v(0) + v(1) + v(2)));
            QCOMPARE(v(4), round2(v(3) * 20 / 100));
            QCOMPARE(round2(v(10)), round2(v(3) - v(4) - v(5) - v(6) - v(7) - v(8) - v(9)));
            QVERIFY(v(11) > 0 && v(10) > 0);
        }
        QCOMPARE(count("SELECT count(*) FROM (SELECT DISTINCT Surname, FirstName FROM Wages)"), 3);
    }

    void paints()
    {
        QSqlQuery q = rows("SELECT Code, Size, Cost, GST, TotCost FROM Paint");
        while (q.next()) {
            // a quote keeps four characters of the code and reads the size as litres
            QVERIFY(q.value(0).toString().size() <= 4);
            bool ok = false;
            QVERIFY(q.value(1).toString().toDouble(&ok) > 0 && ok);
            QCOMPARE(q.value(3).toDouble(), round2(q.value(2).toDouble() / 10));
            QCOMPARE(q.value(4).toDouble(), round2(q.value(2).toDouble() + q.value(3).toDouble()));
        }
        QCOMPARE(count("SELECT count(*) FROM Paint WHERE Tag = 'y'"), 4);
    }

    // the figures of a quote hang together the way the Quotes page works them out
    void quoteFigures()
    {
        QSqlQuery q = rows("SELECT QuoteNo, PaintCost, LabTot, SundryCost1, SundryCost2, "
                           "InputCost, OHMargin, SubTotal, ProfitMargin, Quote, Profit, "
                           "LabHrs, LabRate, LabMargin, Surname, Notes FROM Quote");
        while (q.next()) {
            auto v = [&](int i) { return q.value(i).toDouble(); };
            const QString no = q.value(0).toString();
            QVERIFY2(std::abs(v(5) - (v(1) + v(2) + v(3) + v(4))) <= 0.51, qPrintable(no));
            QCOMPARE(v(2), std::round(v(11) * v(12) * (1 + v(13) / 100)));
            QVERIFY2(std::abs(v(7) - v(5) * (1 + v(6) / 100)) <= 0.01, qPrintable(no));
            QVERIFY2(std::abs(v(9) - v(7) * (1 + v(8) / 100)) <= 0.51, qPrintable(no));
            QVERIFY2(std::abs(v(10) - v(7) * v(8) / 100) <= 0.51, qPrintable(no));
            QVERIFY(v(9) > 500 && v(9) < 50000);
            QVERIFY(q.value(15).toString().startsWith(
                QStringLiteral("Quoted Price (Incl GST) = $")));
            QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Names WHERE Surname = '%1'")
                               .arg(q.value(14).toString().replace("'", "''"))), 1);
        }
        QCOMPARE(count("SELECT count(*) FROM Quote WHERE Tag = 'y'"), 1);
    }

    void jobsComeFromQuotes()
    {
        QSqlQuery q = rows("SELECT j.QuoteNo, j.Surname, j.Quote, q.Quote, j.QuotedProfit, "
                           "q.Profit, j.Recd, j.Adjust FROM Jobs j "
                           "LEFT JOIN Quote q ON q.QuoteNo = j.QuoteNo AND q.Surname = j.Surname");
        int jobs = 0;
        while (q.next()) {
            ++jobs;
            QVERIFY2(!q.value(3).isNull(), qPrintable(q.value(0).toString()));
            QCOMPARE(q.value(2).toDouble(), q.value(3).toDouble());
            QCOMPARE(q.value(4).toDouble(), q.value(5).toDouble());
            if (!q.value(6).isNull()) {
                QCOMPARE(q.value(6).toDouble(), q.value(2).toDouble() + q.value(7).toDouble());
                // the receipt is in the books
                QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Income WHERE "
                                              "Incom = 'Quote %1' AND abs(Bank - %2) < 0.005")
                                   .arg(q.value(0).toInt())
                                   .arg(q.value(6).toDouble(), 0, 'f', 2)),
                         1);
            }
        }
        QCOMPARE(jobs, 6);
    }

    void inventoryLots()
    {
        QSqlQuery q = rows("SELECT Cost, Quantity, TotalCost, NoSold, SoldPrice, Redeemed, "
                           "NoOnHand, ValueOnHand, Loss, DateIn, DateOut FROM Inventory");
        int sold = 0;
        while (q.next()) {
            auto v = [&](int i) { return q.value(i).toDouble(); };
            QCOMPARE(v(2), round2(v(0) * v(1)));
            if (!q.value(3).isNull()) {
                ++sold;
                QCOMPARE(v(5), round2(v(3) * v(4)));
                QCOMPARE(v(6), v(1) - v(3));
                QVERIFY(q.value(10).toDate() > q.value(9).toDate());
                QVERIFY(q.value(10).toDate() < Today);
            } else {
                QCOMPARE(v(6), v(1));
            }
            QVERIFY(std::abs(v(8) - (v(2) - v(5) - v(7))) < 0.011);
        }
        QVERIFY(sold > 0);
    }

    void diary()
    {
        QCOMPARE(count("SELECT count(*) FROM Diary WHERE Day IS NULL"), 0);
        QVERIFY(count("SELECT count(*) FROM Diary WHERE Day LIKE '%Smith%'") >= 5);
        QVERIFY(count("SELECT count(*) FROM Diary WHERE Day LIKE '%meeting%'") >= 5);
        QVERIFY(count("SELECT count(*) FROM Diary WHERE Tag = 'y'") > 0);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Diary WHERE DATE >= '%1'")
                           .arg(Today.toString(Qt::ISODate))), 0);
    }

    void sameDateSameRecords()
    {
        QTemporaryDir other;
        auto again = Database::createFolder(other.path(), brelvanSchema());
        fillDemoData(*again, Today);
        QCOMPARE(dump(*again), dump(*m_db));
    }

    void refusesFilledTables()
    {
        const int before = count("SELECT count(*) FROM Expense");
        QVERIFY_THROWS_EXCEPTION(Table::EngineError, fillDemoData(*m_db, Today));
        QCOMPARE(count("SELECT count(*) FROM Expense"), before);
    }

    void failedFillLeavesNothing()
    {
        QTemporaryDir dir;
        auto db = Database::createFolder(dir.path(), brelvanSchema());
        // one category per income record: the second income record is refused
        db->exec(QStringLiteral("CREATE UNIQUE INDEX OneCat ON Income (Cat)"));
        QVERIFY_THROWS_EXCEPTION(Table::EngineError, fillDemoData(*db, Today));
        for (const Table::TableDef &t : brelvanSchema().tables) {
            QSqlQuery q = db->exec(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(t.name));
            QVERIFY(q.next());
            QVERIFY2(q.value(0).toInt() == 0, qPrintable(t.name));
        }
    }

    void textFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("minLines");
        QTest::addColumn<int>("maxWidth");   // what the reading field holds; 0: any
        QTest::newRow("to-do list") << "Data/ToDo.Txt" << 3 << 0;
        QTest::newRow("quote spec list") << "Letters/QuoteSpec.Txt" << 6 << 0;
        QTest::newRow("sundries") << "Letters/SundrySpec.Txt" << 4 << 25;
        QTest::newRow("form letter") << "Letters/Letter1.Txt" << 5 << 0;
    }
    void textFiles()
    {
        QFETCH(QString, file);
        QFETCH(int, minLines);
        QFETCH(int, maxWidth);
        const QByteArray text = readAll(m_program.filePath(file));
        QVERIFY(!text.isEmpty());
        QVERIFY2(!text.endsWith('\n') && !text.endsWith('\r'), "final line break");
        QCOMPARE(text.count('\n'), text.count("\r\n"));   // CR LF, no bare breaks
        const QList<QByteArray> lines = text.split('\n');
        QVERIFY(lines.size() >= minLines);
        for (const QByteArray &raw : lines) {
            const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
            if (maxWidth > 0) {
                QVERIFY(!line.isEmpty());
                QVERIFY2(line.size() <= maxWidth, line.constData());
            }
            for (char ch : line)
                QVERIFY(uchar(ch) >= 0x20 && uchar(ch) < 0x7f);   // plain single-byte text
        }
    }

    void logo()
    {
        QImageReader reader(m_program.filePath(QStringLiteral("Logo.JPG")));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage img = reader.read();
        QCOMPARE(img.size(), QSize(320, 240));
        // not a blank picture
        QVERIFY(img.pixelColor(10, 10) != img.pixelColor(10, 230));
    }

    void keepsTheUsersFiles()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Data")));
        QFile mine(dir.filePath(QStringLiteral("Data/ToDo.Txt")));
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.write("my own list");
        mine.close();
        QStringList written, kept;
        QVERIFY(writeProgramFolderFiles(dir.path(), nullptr, &written, &kept));
        QCOMPARE(kept, QStringList{QStringLiteral("Data/ToDo.Txt")});
        QCOMPARE(written.size(), 4);
        QCOMPARE(readAll(mine.fileName()), QByteArray("my own list"));
    }

    void unwritableProgramFolder()
    {
        QTemporaryDir dir;
        const QString notAFolder = dir.filePath(QStringLiteral("file"));
        QFile f(notAFolder);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QString error;
        QVERIFY(!writeProgramFolderFiles(notAFolder, &error));
        QVERIFY(error.contains(notAFolder));
    }
};

QTEST_MAIN(TestDemoData)
#include "tst_demodata.moc"
