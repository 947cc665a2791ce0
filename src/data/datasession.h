#pragma once

#include "platform/table/database.h"
#include "platform/table/dataset.h"

#include <QObject>
#include <QStringList>

#include <exception>
#include <functional>
#include <map>
#include <memory>

namespace Brelvan {

// The session of the main window: one database (a local data folder or the LAN server)
// and the ten datasets every page, report and tool works on.
class DataSession : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Local, Remote };

    explicit DataSession(QObject *parent = nullptr);
    ~DataSession() override;

    // Diary, DiaryQ, Names, Paint, Quote, Jobs, Expend, Income, Invent, Wages: the order
    // in which they open, are posted and are flushed.
    static const QStringList &datasetNames();
    Table::Dataset *dataset(const QString &name) const;
    Table::Dataset &diary() const { return *dataset(QStringLiteral("Diary")); }

    Mode mode() const { return m_mode; }
    void setMode(Mode mode) { m_mode = mode; }
    void setDataFolder(const QString &folder) { m_folder = folder; }
    QString dataFolder() const { return m_folder; }
    void setServer(const Table::ServerAddress &server) { m_server = server; }
    Table::ServerAddress server() const { return m_server; }
    Table::Database *database() const { return m_db.get(); }

    // Closes everything and opens the database and every dataset again, each with the SQL
    // text it holds. Returns the engine's message when something could not be opened;
    // whatever did open stays open.
    QString open();
    void closeAll();

    // Every record being edited or typed in posted (an untouched new row is left), in the
    // datasets' order. A post that
    // fails is handed to onFailure and the others are still posted; without a handler the
    // first failure is thrown.
    void postEditing(const std::function<void(const std::exception &)> &onFailure = {});
    void flush();

    // Automatic numbers: finds the highest Ref, InvoiceNo and QuoteNo in use. Each post of
    // a record with its number empty takes the next number inside its own transaction, one
    // more than this or than the last number these tables gave out, whichever is higher, so
    // copies on one set of tables never give out the same number.
    void findCounters();
    double nextRef() const { return m_ref; }
    double invoiceCounter() const { return m_invoiceNo; }
    int quoteCounter() const { return int(m_quoteNo); }
    // Runs after a record was given an automatic number (the pages focus their grid).
    void setNumberedHandler(std::function<void(const QString &dataset)> handler)
    {
        m_numbered = std::move(handler);
    }

private:
    void installNumbering();
    void number(const char *dataset, const char *field, double *counter);
    // the highest numbers in the tables now open, before the datasets are positioned
    void readCounters();

    Mode m_mode = Mode::Local;
    QString m_folder;
    Table::ServerAddress m_server;
    std::unique_ptr<Table::Database> m_db;
    std::map<QString, Table::Dataset *> m_sets;
    double m_ref = 0;
    double m_invoiceNo = 0;
    double m_quoteNo = 0;
    std::function<void(const QString &)> m_numbered;
};

// The server of an IPaddr setting: "host" or "host:port" (a bracketed IPv6 address may carry
// a port too); the port is 5432 when none is given.
Table::ServerAddress serverAddressOf(const QString &address);

} // namespace Brelvan
