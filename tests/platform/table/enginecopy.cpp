// A copy of the program's table work, run as its own process by the concurrency tests:
//   enginecopy transfers LOCATION COPY COUNT SEED LOGFILE DEADLINE_SECONDS
//     moves amounts between random Expense records (Office), COUNT times, each move one
//     walk of two posts; logs "C id-from id-to amount" for a committed move and
//     "R code message" for a refused one
//   enginecopy walk LOCATION [SLOW_AFTER]
//     one walk over every Expense record: Tag "y" and Office + 1; prints "at N" as it goes,
//     and after SLOW_AFTER records takes its time over each
//   enginecopy number LOCATION COPY COUNT
//     posts COUNT new Income records through the program's data session, each with its
//     invoice number left to the automatic numbering; prints "N number" for each
// LOCATION is a data folder, or server:port/database for PostgreSQL.

#include "data/datasession.h"
#include "data/schema.h"
#include "platform/table/database.h"
#include "platform/table/dataset.h"
#include "platform/table/engineerror.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>
#include <QThread>

#include <cstdio>
#include <optional>

using namespace Brelvan;
using namespace Brelvan::Table;

namespace {

bool isServer(const QString &location)
{
    return location.contains(QLatin1Char(':')) && !location.startsWith(QLatin1Char('/'));
}

ServerAddress serverOf(const QString &location)
{
    ServerAddress a;
    a.host = location.section(QLatin1Char(':'), 0, 0);
    const QString rest = location.section(QLatin1Char(':'), 1);
    a.port = rest.section(QLatin1Char('/'), 0, 0).toInt();
    a.database = rest.section(QLatin1Char('/'), 1);
    return a;
}

std::unique_ptr<Database> openLocation(const QString &location)
{
    if (isServer(location))
        return Database::openServer(serverOf(location), brelvanSchema());
    return Database::openFolder(location, brelvanSchema());
}

int transfers(const QStringList &args)
{
    const QString location = args.at(2);
    const int copy = args.at(3).toInt();
    const int count = args.at(4).toInt();
    QRandomGenerator random(args.at(5).toUInt());
    QFile log(args.at(6));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return 3;
    QTextStream out(&log);
    const qint64 deadline = args.at(7).toLongLong() * 1000;
    QElapsedTimer clock;
    clock.start();
    auto db = openLocation(location);
    Dataset ds(QStringLiteral("Expend"));
    ds.setDatabase(db.get());
    ds.setSql({QStringLiteral("SELECT * FROM Expense")});
    ds.open();
    const int rows = ds.rowCount();
    int committed = 0, refused = 0;
    for (int i = 0; i < count; ++i) {
        if (clock.elapsed() > deadline) {
            out << "T out of time\n";
            out.flush();
            return 2;
        }
        int a = random.bounded(rows), b = random.bounded(rows - 1);
        if (b >= a)
            ++b;
        const double amount = random.bounded(1, 51);
        // the lower row first, so two moves never wait on each other crosswise
        const int lo = qMin(a, b), hi = qMax(a, b);
        const double loDelta = lo == a ? -amount : amount;
        std::optional<Dataset::Walk> walk;
        try {
            walk.emplace(ds);
            ds.moveTo(lo);
            ds.edit(); // the edit starts from the record as it is now
            ds.setValue("Office", ds.number("Office") + loDelta);
            ds.post();
            const QString loKey = ds.date("Date").toString(Qt::ISODate);
            ds.moveTo(hi);
            ds.edit();
            ds.setValue("Office", ds.number("Office") - loDelta);
            ds.post();
            const QString hiKey = ds.date("Date").toString(Qt::ISODate);
            walk->commit();
            const QString from = lo == a ? loKey : hiKey, to = lo == a ? hiKey : loKey;
            out << "C " << from << ' ' << to << ' ' << amount << Qt::endl;
            ++committed;
        } catch (const EngineError &e) {
            if (ds.isEditing())
                ds.cancel();
            if (walk)
                walk->rollback();
            out << "R " << int(e.code()) << ' ' << e.message() << Qt::endl;
            ++refused;
        }
    }
    out.flush();
    std::printf("copy %d committed %d refused %d ms %lld\n", copy, committed, refused,
                static_cast<long long>(clock.elapsed()));
    return 0;
}

int walk(const QStringList &args)
{
    const int slowAfter = args.size() > 3 ? args.at(3).toInt() : 0;
    auto db = openLocation(args.at(2));
    Dataset ds(QStringLiteral("Expend"));
    ds.setDatabase(db.get());
    ds.setSql({QStringLiteral("SELECT * FROM Expense")});
    ds.open();
    QElapsedTimer clock;
    clock.start();
    Dataset::Walk w(ds);
    int n = 0;
    for (ds.first(); !ds.eof(); ds.next()) {
        ds.edit();
        ds.setValue("Tag", "y");
        ds.setValue("Office", ds.number("Office") + 1);
        ds.post();
        if (++n % 500 == 0) {
            std::printf("at %d\n", n);
            std::fflush(stdout);
        }
        // past the middle the walk goes slower, so a kill sent then lands inside it
        if (slowAfter > 0 && n > slowAfter)
            QThread::usleep(300);
    }
    w.commit();
    std::printf("done %d ms %lld\n", n, static_cast<long long>(clock.elapsed()));
    return 0;
}

int number(const QStringList &args)
{
    const QString location = args.at(2);
    const int copy = args.at(3).toInt();
    const int count = args.at(4).toInt();
    DataSession session;
    if (isServer(location)) {
        session.setMode(DataSession::Mode::Remote);
        session.setServer(serverOf(location));
    } else {
        session.setDataFolder(location);
    }
    const QString failure = session.open();
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return 1;
    }
    Dataset *income = session.dataset(QStringLiteral("Income"));
    for (int i = 0; i < count; ++i) {
        income->append();
        income->setValue("Date", QDate(2026, 1, 1));
        income->setValue("Sourc", QStringLiteral("copy %1 record %2").arg(copy).arg(i));
        // a post refused while the other copy writes is tried again, as a user would
        for (int attempt = 0;; ++attempt) {
            try {
                income->post();
                break;
            } catch (const EngineError &e) {
                if (e.code() != EngineError::Code::Locked || attempt >= 20)
                    throw;
            }
        }
        std::printf("N %.0f\n", income->number("InvoiceNo"));
    }
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() >= 8 && args.at(1) == QLatin1String("transfers"))
            return transfers(args);
        if (args.size() >= 3 && args.at(1) == QLatin1String("walk"))
            return walk(args);
        if (args.size() >= 5 && args.at(1) == QLatin1String("number"))
            return number(args);
    } catch (const EngineError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    std::fprintf(stderr, "usage: enginecopy transfers|walk|number ...\n");
    return 64;
}
