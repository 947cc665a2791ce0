// Times the table engine against the same SQL run raw through Qt SQL, on a scratch data
// folder holding 20,000 expense records, or with --server HOST [--port N] on a scratch
// database of its own on a PostgreSQL server (made for the run and dropped after it).

#include "data/schema.h"
#include "data/ui/page.h"
#include "platform/table/database.h"
#include "platform/table/dataset.h"
#include "platform/table/engineerror.h"

#include "platform/report/reportbenchmark.h"
#include "shell/application.h"

#include "testing/fixture.h"
#include "testing/screenshots.h"
#include "shell/tmainform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTableView>
#include <QDate>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

using namespace Brelvan;
using Table::Dataset;

namespace {

QTextStream out(stdout);

double timeMs(const std::function<void()> &f, int repeat = 3)
{
    double best = 1e18;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

void report(const char *what, double engine, double raw, double target)
{
    out << QString::asprintf("%-34s engine %8.1f ms   raw %8.1f ms   ratio %5.2f   %s\n", what,
                             engine, raw, raw > 0 ? engine / raw : 0.0,
                             engine <= target ? "ok" : "OVER TARGET");
    out.flush();
}

void fill(Table::Database &db, int n)
{
    db.beginWalk();
    QSqlQuery q(db.connection());
    q.prepare("INSERT INTO \"Expense\" (\"Date\",\"Bus\",\"Expense\",\"Supplier\",\"Invoice\","
              "\"Bank\",\"Cat\",\"Code\",\"F1\",\"Office\",\"Tax\",\"PaidBy\",\"Period\","
              "\"Year\") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    static const char *const suppliers[] = {"Bunnings", "Dulux Trade", "Taubmans", "Mitre 10",
                                            "Telstra", "Caltex", "Officeworks", "Haymes"};
    for (int i = 0; i < n; ++i) {
        const QDate d = QDate(2016, 7, 1).addDays(i / 6);
        const double amount = 10 + (i * 37 % 900) + (i % 100) / 100.0;
        q.addBindValue(d.toString(Qt::ISODate));
        q.addBindValue(i % 5 == 0 ? QVariant(QStringLiteral("ab")) : QVariant());
        q.addBindValue(QStringLiteral("Item %1").arg(i));
        q.addBindValue(QString::fromLatin1(suppliers[i % 8]));
        q.addBindValue(QStringLiteral("INV%1").arg(i));
        q.addBindValue(amount * 1.1);
        q.addBindValue(QStringLiteral("Materials"));
        q.addBindValue(QStringLiteral("M"));
        q.addBindValue(amount);
        q.addBindValue(QVariant());
        q.addBindValue(amount * 0.1);
        q.addBindValue(QStringLiteral("Card"));
        q.addBindValue(QStringLiteral("%1%2").arg(d.year() % 100, 2, 10, QLatin1Char('0'))
                           .arg((d.month() - 1) / 3 + 1, 2, 10, QLatin1Char('0')));
        q.addBindValue(QString::number(d.year()));
        q.exec();
    }
    db.endWalk();
}

void fillIncome(Table::Database &db, int n)
{
    db.beginWalk();
    QSqlQuery q(db.connection());
    q.prepare("INSERT INTO \"Income\" (\"Date\",\"Incom\",\"Sourc\",\"InvoiceNo\",\"Bank\","
              "\"Sales\",\"Tax\") VALUES (?,?,?,?,?,?,?)");
    for (int i = 0; i < n; ++i) {
        q.addBindValue(QDate(2016, 7, 1).addDays(i / 3).toString(Qt::ISODate));
        q.addBindValue(QStringLiteral("Job %1").arg(i));
        q.addBindValue(QStringLiteral("Client %1").arg(i % 400));
        q.addBindValue(double(i + 1));
        q.addBindValue(110.0);
        q.addBindValue(100.0);
        q.addBindValue(10.0);
        q.exec();
    }
    db.endWalk();
}

// The same work through the real window: the expenses grid over 20,000 rows, and the
// Income page's tag all over 10,000 records with its progress window.
void pageBenchmarks()
{
    Brelvan::Testing::Fixture f(Brelvan::Testing::Fixture::EmptyTables);
    {
        auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
        fill(*db, 20000);
        fillIncome(*db, 10000);
    }
    f.start();
    auto *grid = f.mainForm()->findChild<QTableView *>("ExpendGrid");
    Table::Dataset *expend = f.form()->session().dataset("Expend");
    f.form()->goToPage(Page::Expenses);
    QCoreApplication::processEvents();
    const double gridOpen = timeMs([&] {
        expend->close();
        expend->open();
        grid->repaint();
    });
    out << QString::asprintf("%-34s %8.1f ms (%d rows)   %s\n", "expenses grid opens",
                             gridOpen, expend->recordCount(), gridOpen <= 100 ? "ok" : "OVER TARGET");
    f.form()->goToPage(Page::Income);
    QCoreApplication::processEvents();
    auto *tagAll = f.mainForm()->findChild<QAbstractButton *>("TagIncomeBtn");
    const double tagMs = timeMs([&] { tagAll->click(); }, 1);
    out << QString::asprintf("%-34s %8.1f ms (%d records)   %s\n",
                             "Income page tag all, progress shown", tagMs,
                             f.form()->session().dataset("Income")->recordCount(),
                             tagMs <= 1000 ? "ok" : "OVER TARGET");
    out.flush();
    f.close();
}

void engineFigures(Table::Database &db, const QString &where);
void dropScratch(const Table::ServerAddress &server);

} // namespace

int main(int argc, char **argv)
{
    // the report benchmark measures fonts: a window system, the offscreen one will do
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Brelvan::Application app(argc, argv);
    const QStringList args = app.arguments();
    Table::ServerAddress server;
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--screenshots")) {
            // pictures of every page at the design size, to look at rather than to time
            const QString folder = args.value(i + 1, QStringLiteral("screenshots"));
            const int n = Testing::writePageScreenshots(folder);
            out << "brelvan-bench: " << n << " pages written to " << folder << "\n";
            return n == pageCount ? 0 : 1;
        }
        if (args.at(i) == QLatin1String("--server") && i + 1 < args.size())
            server.host = args.at(++i);
        else if (args.at(i) == QLatin1String("--port") && i + 1 < args.size())
            server.port = args.at(++i).toInt();
        else {
            QTextStream(stderr)
                << "usage: brelvan-bench [--server HOST [--port N] | --screenshots DIR]\n";
            return 2;
        }
    }
    if (!server.host.isEmpty()) {
        server.database = QStringLiteral("brelvan_bench_%1").arg(QCoreApplication::applicationPid());
        int rc = 0;
        try {
            auto db = Table::Database::createOnServer(server, brelvanSchema());
            engineFigures(*db, server.host + QLatin1Char(':') + QString::number(server.port)
                                   + QLatin1Char('/') + server.database);
        } catch (const Table::EngineError &e) {
            QTextStream(stderr) << "brelvan-bench: " << e.message() << "\n";
            rc = 1;
        }
        dropScratch(server);
        return rc;
    }
    QTemporaryDir dir;
    {
        auto db = Table::Database::createFolder(dir.path(), brelvanSchema());
        engineFigures(*db, dir.path());
    }
    pageBenchmarks();

    const ReportBenchmark r = renderListBenchmark(20000);
    out << QString::asprintf("%-34s %8.2f s  (%d pages)   %s\n", "report of 20,000 lines: Document",
                             r.renderSeconds, r.pages, r.renderSeconds <= 5 ? "ok" : "OVER TARGET");
    out << QString::asprintf("%-34s %8.2f s               %s\n", "report of 20,000 lines: PDF",
                             r.pdfSeconds, r.pdfSeconds <= 10 ? "ok" : "OVER TARGET");
    return 0;
}

namespace {

// The figures of the engine itself, the same on a data folder and on a server.
void engineFigures(Table::Database &database, const QString &where)
{
    Table::Database *db = &database;
    const int rows = 20000;
    fill(*db, rows);
    out << "brelvan-bench: " << rows << " expense records in " << where << "\n";
    const QString cols = [&] {
        QStringList c;
        for (const auto &f : brelvanSchema().table("Expense")->fields)
            c << '"' + f.name + '"';
        return c.join(',');
    }();
    auto rawRead = [&](const QString &where, const QVariantList &binds, const QString &order) {
        QSqlQuery q(db->connection());
        q.setForwardOnly(true);
        q.prepare("SELECT " + cols + ",\"RecId\",\"RecVer\" FROM \"Expense\"" + where
                  + " ORDER BY " + order);
        for (const QVariant &b : binds)
            q.addBindValue(b);
        q.exec();
        int n = 0;
        const int fields = q.record().count();
        while (q.next()) {
            for (int i = 0; i < fields; ++i)
                (void)q.value(i);
            ++n;
        }
        return n;
    };
    const QString keyOrder = "\"Date\",\"Bus\",\"Expense\",\"Supplier\",\"Invoice\",\"RecId\"";

    Dataset ds("Expend");
    ds.setDatabase(db);
    ds.setSql({"SELECT * FROM Expense"});
    report("open SELECT * FROM Expense",
           timeMs([&] { ds.close(); ds.open(); }),
           timeMs([&] { rawRead(QString(), {}, keyOrder); }), 50);

    Dataset like("Expend");
    like.setDatabase(db);
    like.setSql({"SELECT * FROM Expense WHERE Bus LIKE \"%ab%\"", "ORDER by Date,Bus"});
    report("re-query Bus LIKE \"%ab%\"",
           timeMs([&] { like.close(); like.open(); }),
           timeMs([&] {
               rawRead(" WHERE \"Bus\" LIKE ? ESCAPE '\\'", {QStringLiteral("%ab%")},
                       "\"Date\",\"Bus\",\"RecId\"");
           }),
           50);

    double engineSum = 0, rawSum = 0;
    const int bank = ds.fieldIndex("Bank"), tax = ds.fieldIndex("Tax"), f1 = ds.fieldIndex("F1");
    report("Sum walk (Bank, Tax, F1)",
           timeMs([&] {
               engineSum = 0;
               ds.disableControls();
               for (ds.first(); !ds.eof(); ds.next())
                   engineSum += ds.value(bank).toDouble() + ds.value(tax).toDouble()
                                + ds.value(f1).toDouble();
               ds.enableControls();
           }),
           timeMs([&] {
               rawSum = 0;
               QSqlQuery q(db->connection());
               q.setForwardOnly(true);
               q.exec("SELECT \"Bank\",\"Tax\",\"F1\" FROM \"Expense\" ORDER BY " + keyOrder);
               while (q.next())
                   rawSum += q.value(0).toDouble() + q.value(1).toDouble() + q.value(2).toDouble();
           }),
           50);
    if (std::abs(engineSum - rawSum) > 0.001)
        out << "  the two sums differ: " << engineSum << " and " << rawSum << "\n";

    // tag all over 10,000 shown records, each edit posted in the walk's transaction
    Dataset tagged("Expend");
    tagged.setDatabase(db);
    tagged.setSql({"SELECT * FROM Expense WHERE Date >= \"2021-01-01\""});
    tagged.open();
    const int shown = tagged.recordCount();
    const double engineTag = timeMs([&] {
        tagged.disableControls();
        Dataset::Walk walk(tagged);
        int n = 0;
        for (tagged.first(); !tagged.eof() && n < 10000; tagged.next(), ++n) {
            tagged.edit();
            tagged.setValue("Tag", n % 2 ? "y" : "x");
            tagged.post();
        }
        tagged.enableControls();
    }, 1);
    const double rawTag = timeMs([&] {
        db->beginWalk();
        QSqlQuery q(db->connection());
        q.prepare("UPDATE \"Expense\" SET \"Tag\" = ? WHERE \"RecId\" = ?");
        for (int i = 1; i <= 10000; ++i) {
            q.addBindValue(i % 2 ? "y" : "z");
            q.addBindValue(i);
            q.exec();
        }
        db->endWalk();
    }, 1);
    out << "  (" << shown << " records shown for the tag walk)\n";
    const bool server = db->engine() == Table::Database::Engine::PostgreSQL;
    report("tag all, 10,000 posts", engineTag, rawTag, server ? 2000 : 1000);
}

// The scratch database goes when the run ends, also after a failed one.
void dropScratch(const Table::ServerAddress &server)
{
    const QString name = QStringLiteral("brelvan-bench-drop");
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        admin.setHostName(server.host);
        admin.setPort(server.port);
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (admin.open()) {
            QSqlQuery q(admin);
            q.exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(server.database));
            admin.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace
