#include "enginefixture.h"

#include "platform/table/dataset.h"
#include "platform/table/engineerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTest>

using namespace Brelvan;
using namespace Brelvan::Table;

// The tables under faults: a damaged or emptied file, a connection lost in a walk.
class TestFaults : public QObject
{
    Q_OBJECT

private:
    Testing::EngineFixture fx;
    std::unique_ptr<Database> db;

    void fill(int count)
    {
        Dataset ds(QStringLiteral("fill"));
        ds.setDatabase(db.get());
        ds.setSql({QStringLiteral("SELECT * FROM Expense")});
        ds.open();
        Dataset::Walk walk(ds);
        for (int i = 0; i < count; ++i) {
            ds.append();
            ds.setValue("Date", QDate(2000, 1, 1).addDays(i));
            ds.setValue("Supplier", QStringLiteral("Supplier with a longer name %1").arg(i));
            ds.setValue("Office", double(i));
            ds.post();
        }
        walk.commit();
    }

    QString file() const { return QDir(fx.folder()).filePath(QLatin1String(Database::FileName)); }

    // Writes over one page of the Expense records, past the pages of the empty tables.
    void damageOnePage()
    {
        db->flush();
        int pageSize = 0, pages = 0;
        {
            QSqlQuery qy = db->exec(QStringLiteral("PRAGMA page_size"));
            QVERIFY(qy.next());
            pageSize = qy.value(0).toInt();
        }
        db.reset();
        QFile f(file());
        QVERIFY(f.open(QIODevice::ReadWrite));
        pages = int(f.size() / pageSize);
        QVERIFY(pages > 60);
        QVERIFY(f.seek(qint64(pages - 20) * pageSize));
        QCOMPARE(f.write(QByteArray(pageSize, char(0x5a))), qint64(pageSize));
    }

    // Ends this copy's connections on the server, as a restart of the server does.
    void dropConnections()
    {
        const QString conn = QStringLiteral("faults-admin");
        {
            QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), conn);
            const ServerAddress a = fx.serverAddress();
            admin.setHostName(a.host);
            admin.setPort(a.port);
            admin.setDatabaseName(a.database);
            QVERIFY(admin.open());
            QSqlQuery qy(admin);
            QVERIFY(qy.exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                           "pg_stat_activity WHERE datname = current_database() "
                                           "AND pid <> pg_backend_pid()")));
            admin.close();
        }
        QSqlDatabase::removeDatabase(conn);
        QTest::qWait(200);
    }

    qint64 taggedCount()
    {
        std::unique_ptr<Database> other = fx.reopen();
        QSqlQuery qy = other->exec(QStringLiteral("SELECT count(*) FROM \"Expense\" WHERE "
                                                  "\"Tag\" = 'y'"));
        return qy.next() ? qy.value(0).toLongLong() : -1;
    }

private slots:
    void init() { db = fx.create(); }
    void cleanup() { db.reset(); }

    void damagedPageIsReportedNotTakenAsTheEnd()
    {
        if (Testing::EngineFixture::postgres())
            QSKIP("a file of the data folder");
        fill(2000);
        damageOnePage();
        QStringList problems = Database::checkFolder(fx.folder(), brelvanSchema());
        QVERIFY(!problems.isEmpty());
        QVERIFY2(problems.first().contains(QLatin1String("damaged")), qPrintable(problems.first()));
        // the file opens (its layout pages are whole), but the records are not all there
        db = Database::openFolder(fx.folder(), brelvanSchema());
        Dataset ds(QStringLiteral("Expend"));
        ds.setDatabase(db.get());
        ds.setSql({QStringLiteral("SELECT * FROM Expense")});
        try {
            ds.open();
            QFAIL(qPrintable(QStringLiteral("%1 records read from a damaged table")
                                 .arg(ds.recordCount())));
        } catch (const EngineError &e) {
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(file())), qPrintable(e.message()));
        }
        QVERIFY(!ds.isOpen());
        QCOMPARE(ds.rowCount(), 0);
    }

    void zeroLengthFileIsRefusedAndLeftEmpty()
    {
        if (Testing::EngineFixture::postgres())
            QSKIP("a file of the data folder");
        db.reset();
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(file() + QLatin1String(suffix));
        {
            QFile f(file());
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        auto refused = [](const std::function<void()> &f) {
            try {
                f();
            } catch (const EngineError &e) {
                return e.message();
            }
            return QString();
        };
        const Schema &schema = brelvanSchema();
        const QString folder = fx.folder();
        QVERIFY(refused([&] { Database::openFolder(folder, schema); }).contains("0 bytes"));
        QVERIFY(refused([&] { Database::upgradeFolder(folder, schema); }).contains("0 bytes"));
        const QStringList problems = Database::checkFolder(folder, schema);
        QVERIFY(!problems.isEmpty() && problems.first().contains("0 bytes"));
        QCOMPARE(QFileInfo(file()).size(), 0);
        QVERIFY(!QFileInfo::exists(file() + QLatin1String("-wal")));
    }

    void checkChangesNoFile()
    {
        if (Testing::EngineFixture::postgres())
            QSKIP("a file of the data folder");
        fill(10);
        db->flush();
        db.reset();
        QFile::remove(file() + QLatin1String("-wal"));
        QFile::remove(file() + QLatin1String("-shm"));
        QFile f(file());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        const QDateTime modified = QFileInfo(file()).lastModified();
        QCOMPARE(Database::checkFolder(fx.folder(), brelvanSchema()), QStringList());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QCOMPARE(QFileInfo(file()).lastModified(), modified);
    }

    void lostConnectionSaysWhy()
    {
        if (!Testing::EngineFixture::postgres())
            QSKIP("a connection to the server");
        fill(3);
        Dataset ds(QStringLiteral("Expend"));
        ds.setDatabase(db.get());
        ds.setSql({QStringLiteral("SELECT * FROM Expense")});
        ds.open();
        ds.edit(); // the record's lock connection is kept for the next edit
        ds.setValue("Tag", "x");
        ds.post();
        dropConnections();
        auto reasonOf = [&](const std::function<void()> &post) {
            try {
                post();
            } catch (const EngineError &e) {
                if (ds.isEditing())
                    ds.cancel();
                return e.message();
            }
            return QString();
        };
        const QString edited = reasonOf([&] {
            ds.edit();
            ds.setValue("Tag", "y");
            ds.post();
        });
        const QString added = reasonOf([&] {
            ds.append();
            ds.setValue("Supplier", "New");
            ds.post();
        });
        for (const QString &m : {edited, added}) {
            QVERIFY2(m.contains(QLatin1String("was lost: ")), qPrintable(m));
            QVERIFY2(m.section(QLatin1String("was lost: "), 1).trimmed().size() > 3, qPrintable(m));
        }
        qInfo("%s", qPrintable(added));
    }

    void walkCutOffSaysItWasRolledBack()
    {
        if (!Testing::EngineFixture::postgres())
            QSKIP("a connection to the server");
        fill(600);
        Dataset ds(QStringLiteral("Expend"));
        ds.setDatabase(db.get());
        ds.setSql({QStringLiteral("SELECT * FROM Expense")});
        ds.open();
        bool rolledBack = false;
        int posted = 0;
        try {
            Dataset::Walk walk(ds);
            for (ds.first(); !ds.eof(); ds.next()) {
                if (posted == 300)
                    dropConnections();
                ds.edit();
                ds.setValue("Tag", "y");
                ds.post();
                ++posted;
            }
            walk.commit();
        } catch (const WalkRolledBack &) {
            rolledBack = true;
        }
        QVERIFY(rolledBack);
        QCOMPARE(posted, 300);
        QCOMPARE(taggedCount(), 0);
    }

    void refusedPostInAWalkKeepsTheWalk()
    {
        // a key clash refuses that one record; the walk and its other posts go on
        fill(3);
        Dataset ds(QStringLiteral("Expend"));
        ds.setDatabase(db.get());
        ds.setSql({QStringLiteral("SELECT * FROM Expense")});
        ds.open();
        Dataset::Walk walk(ds);
        int refused = 0;
        for (ds.first(); !ds.eof(); ds.next()) {
            ds.edit();
            ds.setValue("Tag", "y");
            if (ds.row() == 1) {
                ds.setValue("Date", QDate(2000, 1, 1));
                ds.setValue("Supplier", QStringLiteral("Supplier with a longer name 0"));
            }
            try {
                ds.post();
            } catch (const EngineError &e) {
                QCOMPARE(e.code(), EngineError::Code::DuplicateKey);
                ++refused;
                ds.cancel();
            }
        }
        walk.commit();
        QCOMPARE(refused, 1);
        QCOMPARE(taggedCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
