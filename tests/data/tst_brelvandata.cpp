// The brelvan-data tool as a user runs it: exit codes, messages and what it leaves behind.

#include "data/demodata.h"
#include "data/schema.h"
#include "platform/settings/inifile.h"
#include "platform/table/database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Brelvan;
using Table::Database;

namespace {

struct Run
{
    int code = -1;
    QString out;   // stdout and stderr together
};

Run run(const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(BRELVAN_DATA_EXE), args);
    if (!p.waitForFinished(60000))
        return {-2, QStringLiteral("did not finish")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -3,
            QString::fromLocal8Bit(p.readAll())};
}

int count(const QString &folder, const QString &table)
{
    auto db = Database::openFolder(folder, brelvanSchema());
    QSqlQuery q = db->exec(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
    return q.next() ? q.value(0).toInt() : -1;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestBrelvanData : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_program;   // a program folder with a demo data folder "Data"
    QString m_good;

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_program = m_tmp.filePath(QStringLiteral("Brelvan"));
        m_good = m_program + QStringLiteral("/Data");
        QElapsedTimer clock;
        clock.start();
        const Run r = run({"create", m_good, "--demo", "--today", "2026-03-15"});
        qInfo("create --demo took %lld ms", clock.elapsed());
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QVERIFY2(r.out.contains(QLatin1String("40 clients")), qPrintable(r.out));
        QVERIFY2(clock.elapsed() < 10000, "create --demo is far too slow");
    }

    void demoFolder()
    {
        QCOMPARE(count(m_good, QStringLiteral("Expense")), DemoCounts::Expenses);
        // the program folder is the data folder's parent
        for (const char *f : {"Letters/QuoteSpec.Txt", "Letters/SundrySpec.Txt",
                              "Letters/Letter1.Txt", "Logo.JPG", "Data/ToDo.Txt"})
            QVERIFY2(QFile::exists(m_program + QLatin1Char('/') + QLatin1String(f)), f);
        QVERIFY(!readAll(m_program + QStringLiteral("/Data/ToDo.Txt")).endsWith('\n'));
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("says");
        const QString missing = m_tmp.filePath(QStringLiteral("nowhere"));
        QTest::newRow("help") << QStringList{"--help"} << 0 << "set-data-folder";
        QTest::newRow("check a good folder") << QStringList{"check", m_good} << 0 << "valid";
        QTest::newRow("check a missing folder") << QStringList{"check", missing} << 1
                                                << "does not exist";
        QTest::newRow("check with no folder") << QStringList{"check"} << 2 << "Usage";
        QTest::newRow("no command") << QStringList{} << 2 << "no command";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "frobnicate";
        QTest::newRow("unknown option") << QStringList{"create", missing, "--colour"} << 2
                                        << "--colour";
        QTest::newRow("two folders") << QStringList{"check", m_good, m_good} << 2 << "one";
        QTest::newRow("folder and server") << QStringList{"check", m_good, "--server", "h"} << 2
                                           << "not both";
        QTest::newRow("port without server") << QStringList{"check", m_good, "--port", "5433"}
                                             << 2 << "--server";
        QTest::newRow("port not a number") << QStringList{"check", "--server", "h", "--port", "x"}
                                           << 2 << "port";
        QTest::newRow("bad date") << QStringList{"create", missing, "--demo", "--today", "15/3"}
                                  << 2 << "YYYY-MM-DD";
        QTest::newRow("create over tables") << QStringList{"create", m_good} << 1
                                            << "already holds tables";
        QTest::newRow("upgrade a missing folder") << QStringList{"upgrade", missing} << 1
                                                  << "not upgraded";
        QTest::newRow("upgrade with --demo") << QStringList{"upgrade", m_good, "--demo"} << 2
                                             << "takes no";
        QTest::newRow("demo over tables") << QStringList{"create", m_good, "--demo"} << 1
                                          << "already holds tables";
        // a file, a folder without the tables file, and a missing folder each say so
        const QString file = m_program + QStringLiteral("/Logo.JPG");
        const QString noTables = m_program + QStringLiteral("/Letters");
        QTest::newRow("check a file") << QStringList{"check", file} << 1
                                      << "is a file, not a folder";
        QTest::newRow("check a folder without tables") << QStringList{"check", noTables} << 1
                                                       << "(Brelvan.db is missing)";
        QTest::newRow("upgrade a file") << QStringList{"upgrade", file} << 1
                                        << "is a file, not a folder";
        QTest::newRow("create over a file") << QStringList{"create", file} << 1
                                            << "is a file, not a folder";
    }
    void exitCodes()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, says);
        const Run r = run(args);
        QVERIFY2(r.code == code, qPrintable(QStringLiteral("exit %1: %2").arg(r.code).arg(r.out)));
        QVERIFY2(r.out.contains(says), qPrintable(r.out));
        // a refused create leaves the records where they were
        QCOMPARE(count(m_good, QStringLiteral("Names")), DemoCounts::Clients);
    }

    void checkListsWhatIsWrong()
    {
        QTemporaryDir dir;
        QVERIFY(run({"create", dir.path()}).code == 0);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                        QStringLiteral("break"));
            db.setDatabaseName(dir.filePath(QLatin1String(Database::FileName)));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("DROP TABLE Wages")));
            QVERIFY(q.exec(QStringLiteral("ALTER TABLE Paint RENAME COLUMN Maker TO Brand")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("break"));
        const Run r = run({"check", dir.path()});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.out.contains(QLatin1String("Wages")) && r.out.contains(QLatin1String("Maker")),
                 qPrintable(r.out));
    }

    // a page of the records written over: the engine's own check finds it, and the file
    // is left as it was; an emptied file is refused by check and upgrade and stays empty
    void checkFindsDamageAndEmptyFilesStayEmpty()
    {
        QTemporaryDir dir;
        QVERIFY(run({"create", dir.path(), "--demo", "--program-folder", dir.filePath("p")})
                    .code == 0);
        const QString file = dir.filePath(QLatin1String(Database::FileName));
        QFile::remove(file + QLatin1String("-wal"));
        QFile::remove(file + QLatin1String("-shm"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            const qint64 page = 4096;
            QVERIFY(f.size() > 40 * page);
            QVERIFY(f.seek((f.size() / page - 10) * page));
            f.write(QByteArray(int(page), char(0x5a)));
        }
        const QByteArray damaged = readAll(file);
        Run r = run({"check", dir.path()});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.out.contains(QLatin1String("damaged")), qPrintable(r.out));
        QCOMPARE(readAll(file), damaged);

        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        }
        for (const char *command : {"check", "upgrade"}) {
            r = run({QString::fromLatin1(command), dir.path()});
            QCOMPARE(r.code, 1);
            QVERIFY2(r.out.contains(QLatin1String("0 bytes")), qPrintable(r.out));
            QCOMPARE(QFileInfo(file).size(), 0);
        }
    }

    // the layouts this program knows all come from brelvanSchema(); what it cannot move
    // forward it leaves alone
    void upgrade_data()
    {
        QTest::addColumn<QString>("change");   // SQL that ages the tables; empty: none
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("says");
        QTest::newRow("current layout") << "" << 0 << "nothing to do";
        QTest::newRow("newer layout") << "UPDATE BrelvanLayout SET Version = 99" << 1
                                      << "99";
        QTest::newRow("no layout recorded") << "DROP TABLE BrelvanLayout" << 1 << "not upgraded";
    }
    void upgrade()
    {
        QFETCH(QString, change);
        QFETCH(int, code);
        QFETCH(QString, says);
        QTemporaryDir dir;
        QVERIFY(run({"create", dir.path(), "--demo", "--program-folder", dir.path()}).code == 0);
        if (!change.isEmpty()) {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                            QStringLiteral("age"));
                db.setDatabaseName(dir.filePath(QLatin1String(Database::FileName)));
                QVERIFY(db.open());
                QVERIFY(QSqlQuery(db).exec(change));
                db.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("age"));
        }
        const Run r = run({"upgrade", dir.path()});
        QVERIFY2(r.code == code, qPrintable(r.out));
        QVERIFY2(r.out.contains(says), qPrintable(r.out));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                        QStringLiteral("look"));
            db.setDatabaseName(dir.filePath(QLatin1String(Database::FileName)));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM Expense")) && q.next());
            QCOMPARE(q.value(0).toInt(), DemoCounts::Expenses);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("look"));
    }

    void createEmptyTables()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("New/Data"));   // made when missing
        const Run r = run({"create", folder});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QCOMPARE(run({"check", folder}).code, 0);
        QCOMPARE(count(folder, QStringLiteral("Names")), 0);
        QCOMPARE(count(folder, QStringLiteral("Diary")), 0);
        // no demo, so nothing beside the tables
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("New/Logo.JPG"))));
    }

    void programFolderOption()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("Prog"));
        const Run r = run({"create", dir.filePath(QStringLiteral("Elsewhere/Books")), "--demo",
                           "--program-folder", program});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QVERIFY(QFile::exists(program + QStringLiteral("/Letters/QuoteSpec.Txt")));
        QVERIFY(QFile::exists(program + QStringLiteral("/Data/ToDo.Txt")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Elsewhere/Logo.JPG"))));
    }

    void setDataFolderKeepsOtherKeys()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("brelvan.INI"));
        const QByteArray before = "[Font]\r\nCompanyFont=Arial\r\n[Detail]\r\nExpense%1=100\r\n"
                                  "DataStr=Old\r\nTIN/ABN#=ABN\r\n";
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
        f.close();
        const Run r = run({"set-data-folder", dir.path(), "Data"});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        // the folder is not made yet: a hint how to
        QVERIFY2(r.out.contains(QLatin1String("does not hold valid tables")), qPrintable(r.out));
        QCOMPARE(readAll(ini), QByteArray(before).replace("DataStr=Old", "DataStr=Data"));
        IniFile read(ini);
        QCOMPARE(read.readString(QStringLiteral("Detail"), QStringLiteral("DataStr")),
                 QStringLiteral("Data"));
    }

    void setDataFolderMakesTheIniFile()
    {
        QTemporaryDir dir;
        QVERIFY(run({"create", dir.filePath(QStringLiteral("Books"))}).code == 0);
        const Run r = run({"set-data-folder", dir.path(), "Books"});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QVERIFY2(!r.out.contains(QLatin1String("Note")), qPrintable(r.out));
        IniFile read(dir.filePath(QStringLiteral("brelvan.INI")));
        QCOMPARE(read.readString(QStringLiteral("Detail"), QStringLiteral("DataStr")),
                 QStringLiteral("Books"));
    }

    void setDataFolderRefuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::newRow("a path, not a name") << QStringList{"set-data-folder", "DIR", "a/b"} << 2;
        QTest::newRow("the parent") << QStringList{"set-data-folder", "DIR", ".."} << 2;
        QTest::newRow("no name") << QStringList{"set-data-folder", "DIR"} << 2;
        QTest::newRow("no program folder") << QStringList{"set-data-folder", "MISSING", "Data"}
                                           << 1;
        QTest::newRow("a file for the program folder")
            << QStringList{"set-data-folder", "FILE", "Data"} << 1;
        // one key is one line of the INI file
        QTest::newRow("a line break") << QStringList{"set-data-folder", "DIR", "Da\nta"} << 2;
        QTest::newRow("a carriage return") << QStringList{"set-data-folder", "DIR", "Data\r"}
                                           << 2;
    }
    void setDataFolderRefuses()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QTemporaryDir dir;
        args.replaceInStrings(QStringLiteral("MISSING"), dir.filePath(QStringLiteral("x")));
        QFile file(dir.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        args.replaceInStrings(QStringLiteral("FILE"), file.fileName());
        args.replaceInStrings(QStringLiteral("DIR"), dir.path());
        const Run r = run(args);
        QVERIFY2(r.code == code, qPrintable(r.out));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("brelvan.INI"))));
    }

    // Permissions hold no one with root's rights: as root the tool runs without the rights
    // that pass over them.
    void checkTellsAnUnreadableFolderFromAMissingFile_data()
    {
        QTest::addColumn<bool>("folder");   // the folder made unreadable, else the file
        QTest::addColumn<QString>("says");
        QTest::newRow("unreadable folder") << true << "cannot be read: permission denied";
        QTest::newRow("unreadable file") << false << "Brelvan.db cannot be read";
    }
    void checkTellsAnUnreadableFolderFromAMissingFile()
    {
        QFETCH(bool, folder);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("Data"));
        QVERIFY(run({"create", data}).code == 0);
        const QString target = folder ? data : data + QStringLiteral("/Brelvan.db");
        QVERIFY(QFile::setPermissions(target, {}));
        QStringList wrap;
        if (::geteuid() == 0)
            wrap = {"--inh-caps=-all", "--bounding-set=-dac_override,-dac_read_search"};
        auto runAs = [&wrap](const QStringList &args) {
            if (wrap.isEmpty())
                return run(args);
            QProcess p;
            p.setProcessChannelMode(QProcess::MergedChannels);
            p.start(QStringLiteral("setpriv"), wrap + args);
            p.waitForFinished(60000);
            return Run{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -3,
                       QString::fromLocal8Bit(p.readAll())};
        };
        if (!wrap.isEmpty() && runAs({"cat", data + QStringLiteral("/Brelvan.db")}).code == 0) {
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("the rights that pass over file permissions cannot be dropped here (setpriv)");
        }
        wrap.append(QStringLiteral(BRELVAN_DATA_EXE));
        const Run r = wrap.size() == 1 ? run({"check", data}) : runAs({"check", data});
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(r.code == 1, qPrintable(r.out));
        QVERIFY2(r.out.contains(says), qPrintable(r.out));
        QVERIFY2(!r.out.contains(QLatin1String("is missing")), qPrintable(r.out));
    }

    void onServer()
    {
        const QString host = qEnvironmentVariable("BRELVAN_TEST_PGHOST");
        if (host.isEmpty())
            QSKIP("no PostgreSQL test server (BRELVAN_TEST_PGHOST)");
        const QString port = qEnvironmentVariable("BRELVAN_TEST_PGPORT", QStringLiteral("5432"));
        const QString name =
            QStringLiteral("brelvan_cli_%1").arg(QCoreApplication::applicationPid());
        auto drop = [&] {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"),
                                                            QStringLiteral("admin"));
                db.setHostName(host);
                db.setPort(port.toInt());
                db.setDatabaseName(QStringLiteral("postgres"));
                if (db.open())
                    QSqlQuery(db).exec(
                        QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(name));
            }
            QSqlDatabase::removeDatabase(QStringLiteral("admin"));
        };
        drop();
        const QStringList server = {"--server", host, "--port", port, "--database", name};
        QCOMPARE(run(QStringList{"check"} + server).code, 1);   // not there yet

        QTemporaryDir program;
        Run r = run(QStringList{"create", "--demo", "--today", "2026-03-15", "--program-folder",
                                program.path()} + server);
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QVERIFY(QFile::exists(program.filePath(QStringLiteral("Logo.JPG"))));
        r = run(QStringList{"check"} + server);
        QVERIFY2(r.code == 0 && r.out.contains(QLatin1String("valid")), qPrintable(r.out));
        r = run(QStringList{"upgrade"} + server);
        QVERIFY2(r.code == 0 && r.out.contains(QLatin1String("nothing to do")), qPrintable(r.out));
        r = run(QStringList{"create"} + server);
        QVERIFY2(r.code == 1 && r.out.contains(QLatin1String("already holds tables")),
                 qPrintable(r.out));
        {
            Table::ServerAddress a;
            a.host = host;
            a.port = port.toInt();
            a.database = name;
            auto db = Database::openServer(a, brelvanSchema());
            QSqlQuery q = db->exec(QStringLiteral("SELECT count(*) FROM \"Income\""));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toInt(), DemoCounts::Incomes);
        }
        drop();
    }
};

QTEST_GUILESS_MAIN(TestBrelvanData)
#include "tst_brelvandata.moc"
