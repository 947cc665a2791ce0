#include "enginefixture.h"

#include "data/datasession.h"
#include "platform/table/dataset.h"
#include "platform/table/engineerror.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

using namespace Brelvan;
using namespace Brelvan::Table;

// Several copies of the program as separate processes on one set of tables: SQLite through a
// shared data folder, or the PostgreSQL server.
class TestConcurrency : public QObject
{
    Q_OBJECT

private:
    Testing::EngineFixture fx;
    std::unique_ptr<Database> db;

    QString location() const
    {
        if (!Testing::EngineFixture::postgres())
            return fx.folder();
        const ServerAddress a = fx.serverAddress();
        return QStringLiteral("%1:%2/%3").arg(a.host).arg(a.port).arg(a.database);
    }

    // count Expense records; Office = base + i, F1 = i keeps each one's own starting figure
    void fill(int count, double base)
    {
        Dataset ds(QStringLiteral("fill"));
        ds.setDatabase(db.get());
        ds.setSql({QStringLiteral("SELECT * FROM Expense")});
        ds.open();
        Dataset::Walk walk(ds);
        for (int i = 0; i < count; ++i) {
            ds.append();
            ds.setValue("Date", QDate(2000, 1, 1).addDays(i));
            ds.setValue("Supplier", QStringLiteral("S%1").arg(i));
            ds.setValue("Office", base + (base == 0 ? i : 0));
            ds.setValue("F1", double(i));
            ds.post();
        }
        walk.commit();
    }

private slots:
    void init() { db = fx.create(); }
    void cleanup() { db.reset(); }

    void fiveCopiesMovingAmountsLoseNothing()
    {
        const int records = 40, copies = 5, moves = 200;
        fill(records, 1000.0);
        QTemporaryDir logs;
        QList<QProcess *> procs;
        // this copy holds the first record in edit inside a walk for a while: on the server a
        // row lock, on SQLite the write lock of the folder; the others must be told, not hang
        Dataset holder(QStringLiteral("holder"));
        holder.setDatabase(db.get());
        holder.setSql({QStringLiteral("SELECT * FROM Expense")});
        holder.open();
        auto hold = std::make_unique<Dataset::Walk>(holder);
        holder.first();
        holder.edit();
        QElapsedTimer clock;
        clock.start();
        for (int c = 0; c < copies; ++c) {
            auto *p = new QProcess(this);
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(QStringLiteral(ENGINE_COPY),
                     {QStringLiteral("transfers"), location(), QString::number(c),
                      QString::number(moves), QString::number(1000 + c),
                      logs.filePath(QStringLiteral("copy%1.log").arg(c)), QStringLiteral("240")});
            procs << p;
        }
        // hold until some copy has been refused and has said so (its log is written per line)
        auto someoneRefused = [&] {
            for (int c = 0; c < copies; ++c) {
                QFile f(logs.filePath(QStringLiteral("copy%1.log").arg(c)));
                if (f.open(QIODevice::ReadOnly) && (QByteArray("\n") + f.readAll()).contains("\nR "))
                    return true;
            }
            return false;
        };
        QTest::qWait(2000);
        for (int waited = 0; waited < 60000 && !someoneRefused(); waited += 100)
            QTest::qWait(100);
        holder.cancel();
        hold->rollback();
        hold.reset();
        for (QProcess *p : procs) {
            QVERIFY(p->waitForFinished(300000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
            qInfo("%s", p->readAllStandardOutput().trimmed().constData());
        }
        const qint64 ms = clock.elapsed();

        // what the copies say they committed, record by record
        QHash<QString, double> expected;
        QHash<QString, int> posts;
        int committed = 0, refused = 0;
        for (int c = 0; c < copies; ++c) {
            QFile f(logs.filePath(QStringLiteral("copy%1.log").arg(c)));
            QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
            int lines = 0;
            while (!f.atEnd()) {
                const QString line = QString::fromUtf8(f.readLine()).trimmed();
                ++lines;
                const QStringList w = line.split(QLatin1Char(' '));
                if (w.at(0) == QLatin1String("C")) {
                    const double amount = w.at(3).toDouble();
                    expected[w.at(1)] -= amount;
                    expected[w.at(2)] += amount;
                    ++posts[w.at(1)];
                    ++posts[w.at(2)];
                    ++committed;
                } else {
                    QCOMPARE(w.at(0), QStringLiteral("R"));
                    // every refusal says why, in the user's words
                    const auto code = EngineError::Code(w.at(1).toInt());
                    QVERIFY2(code == EngineError::Code::Locked || code == EngineError::Code::Changed,
                             qPrintable(line));
                    QVERIFY2(line.contains(QLatin1String("another user")), qPrintable(line));
                    ++refused;
                }
            }
            QCOMPARE(lines, moves);
        }
        QCOMPARE(committed + refused, copies * moves);
        QVERIFY(refused > 0); // the held record was refused to someone, and said so

        QSqlQuery qy = db->exec(QStringLiteral("SELECT \"Date\", \"Office\", \"RecVer\" FROM "
                                               "\"Expense\""));
        double total = 0;
        int seen = 0;
        while (qy.next()) {
            const QString key = db->fromStored(FieldDef{QStringLiteral("Date"), FieldType::Date},
                                               qy.value(0)).toDate().toString(Qt::ISODate);
            const double office = qy.value(1).toDouble();
            total += office;
            ++seen;
            // every committed move is there, and nothing else changed the record
            QCOMPARE(office, 1000.0 + expected.value(key));
            QCOMPARE(qy.value(2).toInt(), posts.value(key));
        }
        QCOMPARE(seen, records);
        QCOMPARE(total, 1000.0 * records);
        qInfo("%s: %d copies, %d moves committed (%d posts), %d refused, %lld ms, %.0f moves/s",
              Testing::EngineFixture::postgres() ? "PostgreSQL" : "SQLite", copies, committed,
              committed * 2, refused, ms, committed * 1000.0 / qMax<qint64>(ms, 1));
    }

    void twoCopiesNumberIncomeApart()
    {
        const int copies = 2, each = 100;
        QList<QProcess *> procs;
        for (int c = 0; c < copies; ++c) {
            auto *p = new QProcess(this);
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(QStringLiteral(ENGINE_COPY),
                     {QStringLiteral("number"), location(), QString::number(c),
                      QString::number(each)});
            procs << p;
        }
        QSet<int> given;
        for (QProcess *p : procs) {
            QVERIFY(p->waitForFinished(120000));
            QCOMPARE(p->exitCode(), 0);
            const QList<QByteArray> lines = p->readAllStandardOutput().trimmed().split('\n');
            QCOMPARE(lines.size(), each);
            for (const QByteArray &line : lines)
                given.insert(line.mid(2).toInt());
        }
        QSet<int> stored;
        QSqlQuery qy = db->exec(QStringLiteral("SELECT \"InvoiceNo\" FROM \"Income\""));
        while (qy.next())
            stored.insert(qy.value(0).toInt());
        QCOMPARE(given.size(), copies * each);
        QCOMPARE(stored, given);
        QCOMPARE(*std::max_element(stored.cbegin(), stored.cend()), copies * each);
    }

    void numbersComeFromTheTablesNowOpen()
    {
        // a second set of tables whose invoices run to 41
        Testing::EngineFixture otherFx;
        std::unique_ptr<Database> other = otherFx.create();
        {
            Dataset ds(QStringLiteral("Income"));
            ds.setDatabase(other.get());
            ds.setSql({QStringLiteral("SELECT * FROM Income")});
            ds.open();
            ds.append();
            ds.setValue("InvoiceNo", 41.0);
            ds.post();
        }
        DataSession session;
        auto openOn = [&](const Testing::EngineFixture &f) {
            if (Testing::EngineFixture::postgres()) {
                session.setMode(DataSession::Mode::Remote);
                session.setServer(f.serverAddress());
            } else {
                session.setDataFolder(f.folder());
            }
            QCOMPARE(session.open(), QString());
        };
        auto post = [&](const char *source) {
            Dataset *income = session.dataset(QStringLiteral("Income"));
            income->append();
            income->setValue("Sourc", QString::fromLatin1(source));
            income->post();
            return income->number("InvoiceNo");
        };
        openOn(fx);
        QCOMPARE(post("first here"), 1.0);
        openOn(otherFx);
        QCOMPARE(post("first there"), 42.0);
        openOn(fx);
        QCOMPARE(post("second here"), 2.0);
    }

    void copyKilledInAWalkLeavesWholeRecords()
    {
        const int records = 10000;
        fill(records, 0.0);
        auto state = [&](int &before, int &after, int &torn) {
            before = after = torn = 0;
            QSqlQuery qy = db->exec(QStringLiteral("SELECT \"Office\", \"F1\", \"Tag\" FROM "
                                                   "\"Expense\""));
            while (qy.next()) {
                const double office = qy.value(0).toDouble(), own = qy.value(1).toDouble();
                const bool tagged = qy.value(2).toString() == QLatin1String("y");
                if (!tagged && office == own)
                    ++before;
                else if (tagged && office == own + 1)
                    ++after;
                else
                    ++torn;
            }
        };
        db.reset();

        QProcess copy;
        copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        copy.start(QStringLiteral(ENGINE_COPY),
                   {QStringLiteral("walk"), location(), QStringLiteral("5000")});
        QByteArray seen;
        while (!seen.contains("at 5000") && copy.state() != QProcess::NotRunning) {
            copy.waitForReadyRead(20000);
            seen += copy.readAllStandardOutput();
        }
        QVERIFY2(seen.contains("at 5000"), seen.constData());
        const qint64 killedAt = clock.elapsed();
        ::kill(pid_t(copy.processId()), SIGKILL);
        QVERIFY(copy.waitForFinished(10000));
        QCOMPARE(copy.exitStatus(), QProcess::CrashExit);

        clock.restart();
        db = fx.reopen();
        if (!Testing::EngineFixture::postgres()) {
            QSqlQuery check = db->exec(QStringLiteral("PRAGMA integrity_check"));
            QVERIFY(check.next());
            QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
        }
        int before, after, torn;
        state(before, after, torn);
        const qint64 checkMs = clock.elapsed();
        QCOMPARE(torn, 0);
        QCOMPARE(before + after, records);
        // the walk is one transaction: killed before its end, it left everything as it was
        QCOMPARE(before, records);

        // and the same walk runs to its end on the reopened tables
        db.reset();
        clock.restart();
        QProcess again;
        again.start(QStringLiteral(ENGINE_COPY), {QStringLiteral("walk"), location()});
        QVERIFY(again.waitForFinished(120000));
        QCOMPARE(again.exitCode(), 0);
        const qint64 fullMs = clock.elapsed();
        db = fx.reopen();
        state(before, after, torn);
        QCOMPARE(after, records);
        qInfo("%s: killed after %lld ms at 5000 of %d records; reopen and check %lld ms; "
              "a whole walk of %d records %lld ms",
              Testing::EngineFixture::postgres() ? "PostgreSQL" : "SQLite", killedAt, records,
              checkMs, records, fullMs);
    }
};

QTEST_GUILESS_MAIN(TestConcurrency)
#include "tst_concurrency.moc"
