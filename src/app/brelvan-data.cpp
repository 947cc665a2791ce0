// brelvan-data: makes, checks and points the program at data folders (SQLite) and server
// databases (PostgreSQL). The program itself never creates tables; this tool does.

#include "data/demodata.h"
#include "data/schema.h"
#include "platform/settings/inifile.h"
#include "platform/table/database.h"
#include "platform/table/engineerror.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>

using namespace Brelvan;
using Table::Database;
using Table::EngineError;

namespace {

enum Exit { Ok = 0, Failed = 1, BadUsage = 2 };

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

const char synopsis[] =
    "Usage:\n"
    "  brelvan-data create DIR [--demo] [--program-folder P] [--today YYYY-MM-DD]\n"
    "  brelvan-data create --server HOST [--port N] [--database NAME] [--demo]\n"
    "                      [--program-folder P] [--today YYYY-MM-DD]\n"
    "  brelvan-data check DIR\n"
    "  brelvan-data check --server HOST [--port N] [--database NAME]\n"
    "  brelvan-data set-data-folder PROGRAMFOLDER NAME\n"
    "  brelvan-data upgrade DIR\n"
    "  brelvan-data upgrade --server HOST [--port N] [--database NAME]\n"
    "  brelvan-data --help\n";

const char details[] =
    "\n"
    "create           makes the tables of Brelvan in the data folder DIR (made when missing),\n"
    "                 or the database Brelvan and its tables on a PostgreSQL server. It\n"
    "                 refuses a folder or database that already holds tables.\n"
    "  --demo         fills the tables with a small painting business over the two years\n"
    "                 before today (or --today), and writes the program folder's files:\n"
    "                 Letters/QuoteSpec.Txt, Letters/SundrySpec.Txt, Letters/Letter1.Txt,\n"
    "                 Logo.JPG and Data/ToDo.Txt. Files already there are kept.\n"
    "  --program-folder P  where those files go; the default is the parent folder of DIR\n"
    "                 (with --server only when given).\n"
    "check            says whether DIR (or the server's database) holds a valid set of\n"
    "                 tables, or lists what is missing or wrong.\n"
    "set-data-folder  makes the program in PROGRAMFOLDER open the data folder NAME below it:\n"
    "                 writes DataStr=NAME in section Detail of PROGRAMFOLDER/brelvan.INI,\n"
    "                 keeping every other key.\n"
    "upgrade          moves tables made by an older Brelvan forward to the layout this one\n"
    "                 uses, keeping every record; on any failure nothing is changed.\n"
    "\n"
    "Server user and password follow libpq: PGUSER, PGPASSWORD, ~/.pgpass, PGSSLMODE.\n"
    "The port defaults to 5432 and the database to Brelvan.\n"
    "Exit status: 0 done, 1 failed, 2 bad usage.\n";

struct Options
{
    QString command;
    QStringList args;
    bool help = false;
    bool demo = false;
    QString server;
    int port = 5432;
    bool portGiven = false;
    QString database = QStringLiteral("Brelvan");
    bool databaseGiven = false;
    QString programFolder;
    QDate today;
};

int usage(const QString &problem)
{
    err() << "brelvan-data: " << problem << "\n\n" << synopsis;
    err().flush();
    return BadUsage;
}

// Returns an empty string when the command line is understood, else what is wrong with it.
QString parse(const QStringList &argv, Options &o)
{
    for (int i = 1; i < argv.size(); ++i) {
        QString a = argv.at(i);
        QString value;
        bool hasValue = false;
        if (a.startsWith(QLatin1String("--")) && a.contains(QLatin1Char('='))) {
            value = a.section(QLatin1Char('='), 1);
            a = a.section(QLatin1Char('='), 0, 0);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue)
                return true;
            if (i + 1 >= argv.size())
                return false;
            value = argv.at(++i);
            return true;
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--demo")) {
            o.demo = true;
        } else if (a == QLatin1String("--server")) {
            if (!takeValue() || value.isEmpty())
                return QStringLiteral("--server needs a host name or address.");
            o.server = value;
        } else if (a == QLatin1String("--port")) {
            bool ok = false;
            if (takeValue())
                o.port = value.toInt(&ok);
            if (!ok || o.port < 1 || o.port > 65535)
                return QStringLiteral("--port needs a port number from 1 to 65535.");
            o.portGiven = true;
        } else if (a == QLatin1String("--database")) {
            if (!takeValue() || value.isEmpty())
                return QStringLiteral("--database needs a database name.");
            o.database = value;
            o.databaseGiven = true;
        } else if (a == QLatin1String("--program-folder")) {
            if (!takeValue() || value.isEmpty())
                return QStringLiteral("--program-folder needs a folder.");
            o.programFolder = value;
        } else if (a == QLatin1String("--today")) {
            if (!takeValue())
                return QStringLiteral("--today needs a date, YYYY-MM-DD.");
            o.today = QDate::fromString(value, Qt::ISODate);
            if (!o.today.isValid())
                return QStringLiteral("--today needs a date, YYYY-MM-DD, not \"%1\".").arg(value);
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return QStringLiteral("unknown option %1.").arg(a);
        } else if (o.command.isEmpty()) {
            o.command = a;
        } else {
            o.args << a;
        }
    }
    if (o.help)
        return {};
    if (o.command.isEmpty())
        return QStringLiteral("no command given.");
    const bool serverCommand = o.command == QLatin1String("create")
                               || o.command == QLatin1String("check")
                               || o.command == QLatin1String("upgrade");
    if (!serverCommand && o.command != QLatin1String("set-data-folder"))
        return QStringLiteral("unknown command \"%1\".").arg(o.command);
    if ((o.portGiven || o.databaseGiven) && o.server.isEmpty())
        return QStringLiteral("--port and --database go with --server.");
    if (o.command == QLatin1String("set-data-folder")) {
        if (o.args.size() != 2)
            return QStringLiteral("set-data-folder needs PROGRAMFOLDER and NAME.");
        if (o.demo || !o.server.isEmpty() || !o.programFolder.isEmpty() || o.today.isValid())
            return QStringLiteral("set-data-folder takes no options.");
        return {};
    }
    if (!o.server.isEmpty() && !o.args.isEmpty())
        return QStringLiteral("give either a data folder or --server, not both.");
    if (o.server.isEmpty() && o.args.size() != 1)
        return QStringLiteral("%1 needs one data folder (or --server HOST).").arg(o.command);
    if (o.command != QLatin1String("create")
        && (o.demo || !o.programFolder.isEmpty() || o.today.isValid()))
        return QStringLiteral("%1 takes no --demo, --program-folder or --today.").arg(o.command);
    if (o.command == QLatin1String("create") && !o.demo
        && (!o.programFolder.isEmpty() || o.today.isValid()))
        return QStringLiteral("--program-folder and --today go with --demo.");
    return {};
}

Table::ServerAddress serverOf(const Options &o)
{
    Table::ServerAddress a;
    a.host = o.server;
    a.port = o.port;
    a.database = o.database;
    return a;
}

QString serverName(const Options &o)
{
    return QStringLiteral("%1:%2/%3").arg(o.server).arg(o.port).arg(o.database);
}

void printCounts(Database &db, qint64 ms)
{
    struct Count
    {
        const char *table;
        const char *what;
    };
    const Count counts[] = {{"Names", "clients"},   {"Diary", "diary days"},
                            {"Expense", "expenses"}, {"Income", "income records"},
                            {"Wages", "pays"},       {"Inventory", "inventory lots"},
                            {"Paint", "paints"},     {"Quote", "quotes"},
                            {"Jobs", "jobs"}};
    QStringList parts;
    for (const Count &c : counts) {
        QSqlQuery q = db.exec(QStringLiteral("SELECT count(*) FROM %1")
                                  .arg(db.quoted(QString::fromLatin1(c.table))));
        parts << QStringLiteral("%1 %2").arg(q.next() ? q.value(0).toInt() : 0).arg(c.what);
    }
    out() << "Demo business written: " << parts.join(QLatin1String(", "))
          << QStringLiteral(" (%1 s).\n").arg(ms / 1000.0, 0, 'f', 2);
}

int writeFolderFiles(const QString &programFolder)
{
    QString error;
    QStringList written, kept;
    const bool ok = writeProgramFolderFiles(programFolder, &error, &written, &kept);
    const QDir root(programFolder);
    for (const QString &f : written)
        out() << "Wrote " << QDir::toNativeSeparators(root.filePath(f)) << "\n";
    for (const QString &f : kept)
        out() << "Kept the existing " << QDir::toNativeSeparators(root.filePath(f)) << "\n";
    if (!ok) {
        err() << "brelvan-data: the program folder's files were not all written: " << error
              << "\n";
        return Failed;
    }
    return Ok;
}

// What stands in the way of opening the tables of a data folder, told apart before the
// engine is asked: the engine sees a folder it may not read as one without tables.
QString folderProblem(const QString &dir)
{
    const QString folder = QDir::toNativeSeparators(QDir(dir).absolutePath());
    const QFileInfo info(dir);
    if (!info.exists())
        return QStringLiteral("The data folder %1 does not exist.").arg(folder);
    if (!info.isDir())
        return QStringLiteral("%1 is a file, not a folder.").arg(folder);
    if (!info.isReadable() || !info.isExecutable())
        return QStringLiteral("The data folder %1 cannot be read: permission denied.")
            .arg(folder);
    const QFileInfo file(QDir(dir).filePath(QLatin1String(Database::FileName)));
    const QString path = QDir::toNativeSeparators(file.absoluteFilePath());
    if (!file.exists())
        return QStringLiteral("The data folder %1 holds no tables (%2 is missing).")
            .arg(folder, QLatin1String(Database::FileName));
    if (!file.isFile())
        return QStringLiteral("%1 is a folder, not a table file.").arg(path);
    if (!file.isReadable())
        return QStringLiteral("%1 cannot be read: permission denied.").arg(path);
    return {};
}

void removeTableFiles(const QString &dir)
{
    const QString base = QDir(dir).filePath(QLatin1String(Database::FileName));
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(base + QLatin1String(suffix));
}

// The program opens the folder below its own that DataStr names; say how to point it there.
void hintDataStr(const QString &dir)
{
    const QFileInfo folder(QDir(dir).absolutePath());
    const QString programFolder = folder.absolutePath();
    IniFile ini(QDir(programFolder).filePath(QStringLiteral("brelvan.INI")));
    if (ini.readString(QStringLiteral("Detail"), QStringLiteral("DataStr"))
        == folder.fileName())
        return;
    out() << "For a Brelvan program in " << QDir::toNativeSeparators(programFolder)
          << " to open it: brelvan-data set-data-folder "
          << QDir::toNativeSeparators(programFolder) << " " << folder.fileName() << "\n";
}

int create(const Options &o)
{
    const QDate today = o.today.isValid() ? o.today : QDate::currentDate();
    const bool server = !o.server.isEmpty();
    const QString where = server ? serverName(o)
                                 : QDir::toNativeSeparators(QDir(o.args.first()).absolutePath());
    if (!server && QFileInfo(o.args.first()).exists() && !QFileInfo(o.args.first()).isDir()) {
        err() << "brelvan-data: no tables made: " << where << " is a file, not a folder.\n";
        return Failed;
    }
    std::unique_ptr<Database> db;
    try {
        db = server ? Database::createOnServer(serverOf(o), brelvanSchema())
                    : Database::createFolder(o.args.first(), brelvanSchema());
    } catch (const EngineError &e) {
        err() << "brelvan-data: no tables made in " << where << ": " << e.message() << "\n";
        return Failed;
    }
    out() << "Made the tables of Brelvan in " << where << ".\n";
    if (!o.demo) {
        db->flush();
        if (!server)
            hintDataStr(o.args.first());
        return Ok;
    }
    try {
        QElapsedTimer clock;
        clock.start();
        fillDemoData(*db, today);
        db->flush();
        printCounts(*db, clock.elapsed());
    } catch (const EngineError &e) {
        if (server) {
            err() << "brelvan-data: the demo records could not be written to " << where << ": "
                  << e.message() << "\nIts tables stay empty; drop the database "
                  << o.database << " to try again.\n";
        } else {
            // a half-filled folder would only be refused next time; take it away again
            db.reset();
            removeTableFiles(o.args.first());
            err() << "brelvan-data: the demo records could not be written, so no tables were "
                     "left in "
                  << where << ": " << e.message() << "\n";
        }
        return Failed;
    }
    QString programFolder = o.programFolder;
    if (programFolder.isEmpty() && !server)
        programFolder = QFileInfo(QDir(o.args.first()).absolutePath()).absolutePath();
    if (programFolder.isEmpty()) {
        out() << "No program folder given (--program-folder), so no letters, logo or to-do "
                 "list were written.\n";
        return Ok;
    }
    const int rc = writeFolderFiles(programFolder);
    if (!server)
        hintDataStr(o.args.first());
    return rc;
}

int check(const Options &o)
{
    QStringList problems;
    QString where;
    if (!o.server.isEmpty()) {
        where = serverName(o);
        try {
            Database::openServer(serverOf(o), brelvanSchema());
        } catch (const EngineError &e) {
            problems = e.message().split(QLatin1Char('\n'));
        }
    } else {
        where = QDir::toNativeSeparators(QDir(o.args.first()).absolutePath());
        const QString problem = folderProblem(o.args.first());
        problems = problem.isEmpty() ? Database::checkFolder(o.args.first(), brelvanSchema())
                                     : QStringList{problem};
    }
    if (problems.isEmpty()) {
        out() << where << ": valid\n";
        return Ok;
    }
    out() << where << ": not a valid set of Brelvan tables\n";
    for (const QString &p : problems)
        out() << "  - " << p << "\n";
    return Failed;
}

int upgrade(const Options &o)
{
    const bool server = !o.server.isEmpty();
    const QString where = server ? serverName(o)
                                 : QDir::toNativeSeparators(QDir(o.args.first()).absolutePath());
    const int target = brelvanSchema().version;
    if (const QString problem = server ? QString() : folderProblem(o.args.first());
        !problem.isEmpty()) {
        err() << "brelvan-data: " << where << " was not upgraded: " << problem << "\n";
        return Failed;
    }
    int found = 0;
    try {
        found = server ? Database::upgradeServer(serverOf(o), brelvanSchema())
                       : Database::upgradeFolder(o.args.first(), brelvanSchema());
    } catch (const EngineError &e) {
        err() << "brelvan-data: " << where << " was not upgraded: " << e.message() << "\n";
        return Failed;
    }
    if (found == target)
        out() << where << ": already at layout version " << target << "; nothing to do.\n";
    else
        out() << where << ": moved forward from layout version " << found << " to " << target
              << ", every record kept.\n";
    return Ok;
}

int setDataFolder(const Options &o)
{
    const QString programFolder = o.args.at(0);
    const QString name = o.args.at(1);
    // the program always takes the name below its own folder
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name == QLatin1String(".") || name == QLatin1String("..")) {
        return usage(QStringLiteral("NAME is the name of a folder below the program folder, "
                                    "not a path: \"%1\".").arg(name));
    }
    // one key is one line of the INI file: a line break would end DataStr there
    if (name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')))
        return usage(QStringLiteral("NAME holds a line break, which no folder name of the "
                                    "program can hold."));
    const QFileInfo program(programFolder);
    if (program.exists() && !program.isDir()) {
        err() << "brelvan-data: " << programFolder << " is a file, not a program folder.\n";
        return Failed;
    }
    if (!program.exists()) {
        err() << "brelvan-data: the program folder " << programFolder << " does not exist.\n";
        return Failed;
    }
    const QString iniPath = QDir(programFolder).filePath(QStringLiteral("brelvan.INI"));
    IniFile ini(iniPath);
    if (!ini.writeString(QStringLiteral("Detail"), QStringLiteral("DataStr"), name)
        || !ini.save()) {
        err() << "brelvan-data: " << QDir::toNativeSeparators(iniPath)
              << " cannot be written: " << ini.errorString() << "\n";
        return Failed;
    }
    out() << "Set DataStr=" << name << " in section Detail of "
          << QDir::toNativeSeparators(iniPath) << ".\n";
    const QString dataFolder = name.isEmpty() ? programFolder
                                              : QDir(programFolder).filePath(name);
    const QStringList problems = Database::checkFolder(dataFolder, brelvanSchema());
    if (!problems.isEmpty())
        out() << "Note: " << QDir::toNativeSeparators(dataFolder)
              << " does not hold valid tables yet (" << problems.first()
              << "); make them with: brelvan-data create "
              << QDir::toNativeSeparators(dataFolder) << "\n";
    return Ok;
}

} // namespace

int main(int argc, char **argv)
{
    // a command-line tool: the logo is painted off screen, no display needed
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // the platform's start-up chatter (a missing XDG_RUNTIME_DIR) is no business of ours
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type != QtDebugMsg && type != QtInfoMsg && type != QtWarningMsg)
                std::fprintf(stderr, "%s\n", qPrintable(text));
        });
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(previous);
    QGuiApplication::setApplicationName(QStringLiteral("brelvan-data"));

    Options o;
    const QString problem = parse(QCoreApplication::arguments(), o);
    if (o.help) {
        out() << synopsis << details;
        return Ok;
    }
    if (!problem.isEmpty())
        return usage(problem);

    int rc = Failed;
    try {
        if (o.command == QLatin1String("create"))
            rc = create(o);
        else if (o.command == QLatin1String("check"))
            rc = check(o);
        else if (o.command == QLatin1String("upgrade"))
            rc = upgrade(o);
        else
            rc = setDataFolder(o);
    } catch (const EngineError &e) {
        err() << "brelvan-data: " << e.message() << "\n";
        rc = Failed;
    } catch (const std::exception &e) {
        err() << "brelvan-data: " << e.what() << "\n";
        rc = Failed;
    }
    out().flush();
    err().flush();
    return rc;
}
