#include "data/datasession.h"

#include "data/schema.h"
#include "platform/table/engineerror.h"

#include <QSqlQuery>

namespace Brelvan {

using Table::Dataset;

DataSession::DataSession(QObject *parent) : QObject(parent)
{
    struct Start { const char *name; const char *sql; };
    static const Start starts[] = {
        {"Diary", nullptr},
        {"DiaryQ", "SELECT * FROM Diary WHERE Tag = \"y\""},
        {"Names", "SELECT * FROM Names"},
        {"Paint", "SELECT * FROM Paint"},
        {"Quote", "SELECT * FROM Quote"},
        {"Jobs", "SELECT * FROM Jobs"},
        {"Expend", "SELECT * FROM Expense"},
        {"Income", "SELECT * FROM Income"},
        {"Invent", "SELECT * FROM Inventory"},
        {"Wages", "SELECT * FROM Wages"},
    };
    for (const Start &s : starts) {
        auto *ds = new Dataset(QString::fromLatin1(s.name), this);
        if (s.sql)
            ds->setSql({QString::fromLatin1(s.sql)});
        else
            ds->setTableName(QStringLiteral("Diary.DAT"));
        m_sets[ds->name()] = ds;
    }
    installNumbering();
}

DataSession::~DataSession()
{
    closeAll();
}

const QStringList &DataSession::datasetNames()
{
    static const QStringList names = {"Diary", "DiaryQ", "Names", "Paint", "Quote",
                                      "Jobs",  "Expend", "Income", "Invent", "Wages"};
    return names;
}

Dataset *DataSession::dataset(const QString &name) const
{
    const auto it = m_sets.find(name);
    return it == m_sets.end() ? nullptr : it->second;
}

void DataSession::closeAll()
{
    for (const QString &n : datasetNames()) {
        Dataset *ds = dataset(n);
        ds->close();
        ds->setDatabase(nullptr);
    }
    m_db.reset();
}

QString DataSession::open()
{
    closeAll();
    try {
        if (m_mode == Mode::Local)
            m_db = Table::Database::openFolder(m_folder, brelvanSchema());
        else
            m_db = Table::Database::openServer(m_server, brelvanSchema());
    } catch (const Table::EngineError &e) {
        return e.message();
    }
    // numbers come from the tables now open, also after a switch of folder or server
    readCounters();
    QString failure;
    for (const QString &n : datasetNames()) {
        Dataset *ds = dataset(n);
        ds->setDatabase(m_db.get());
        try {
            ds->open();
        } catch (const Table::EngineError &e) {
            if (failure.isEmpty())
                failure = e.message();
        }
    }
    return failure;
}

void DataSession::postEditing(const std::function<void(const std::exception &)> &onFailure)
{
    for (const QString &n : datasetNames()) {
        Dataset *ds = dataset(n);
        if (!ds->isOpen())
            continue;
        try {
            ds->postPending();
        } catch (const std::exception &e) {
            if (!onFailure)
                throw;
            onFailure(e);
        }
    }
}

void DataSession::flush()
{
    if (m_db)
        m_db->flush();
}

void DataSession::findCounters()
{
    auto lastOf = [](Dataset *ds, const QStringList &sql, const char *field) -> double {
        if (!ds->database())
            return 0;
        ds->close();
        ds->setSql(sql);
        ds->open();
        ds->last();
        return ds->number(QString::fromLatin1(field));
    };
    m_ref = lastOf(dataset("Names"), {"SELECT * FROM Names", "ORDER by Ref"}, "Ref");
    m_invoiceNo = lastOf(dataset("Income"), {"SELECT * FROM Income", "ORDER by InvoiceNo"},
                         "InvoiceNo");
    Dataset *quote = dataset("Quote");
    if (quote->isOpen()) {
        quote->last();
        m_quoteNo = int(quote->number("QuoteNo"));
    }
}

void DataSession::installNumbering()
{
    number("Names", "Ref", &m_ref);
    number("Income", "InvoiceNo", &m_invoiceNo);
    number("Quote", "QuoteNo", &m_quoteNo);
}

void DataSession::number(const char *set, const char *fieldName, double *counter)
{
    Dataset *ds = dataset(QString::fromLatin1(set));
    const QString field = QString::fromLatin1(fieldName);
    ds->setBeforePost([this, field](Dataset &d) {
        if (d.isNull(field) && m_numbered)
            m_numbered(d.name());
    });
    // a number typed by the user is kept and does not move the counter
    ds->setBeforeWrite([this, field, counter](Dataset &d, const Table::Database::WriteToken &on) {
        if (!d.isNull(field) || !m_db)
            return;
        const double n = m_db->takeNumber(on, d.table()->name + QLatin1Char('.') + field,
                                          *counter);
        d.setValue(field, n);
        *counter = n;
    });
}

void DataSession::readCounters()
{
    auto highest = [this](const char *table, const char *field) -> double {
        try {
            QSqlQuery qy = m_db->exec(QStringLiteral("SELECT max(%1) FROM %2")
                                          .arg(m_db->quoted(QString::fromLatin1(field)),
                                               m_db->quoted(QString::fromLatin1(table))));
            return qy.next() ? qy.value(0).toDouble() : 0;
        } catch (const Table::EngineError &) {
            return 0;
        }
    };
    m_ref = highest("Names", "Ref");
    m_invoiceNo = highest("Income", "InvoiceNo");
    m_quoteNo = highest("Quote", "QuoteNo");
}

Table::ServerAddress serverAddressOf(const QString &address)
{
    Table::ServerAddress server;
    const QString a = address.trimmed();
    int colon = a.lastIndexOf(QLatin1Char(':'));
    // a bare IPv6 address has colons of its own and no port
    if (colon > 0 && a.count(QLatin1Char(':')) > 1 && !a.startsWith(QLatin1Char('[')))
        colon = -1;
    bool ok = false;
    const int port = colon > 0 ? a.mid(colon + 1).toInt(&ok) : 0;
    if (ok && port > 0 && port < 65536) {
        server.host = a.left(colon);
        server.port = port;
    } else {
        server.host = a;
    }
    if (server.host.startsWith(QLatin1Char('[')) && server.host.endsWith(QLatin1Char(']')))
        server.host = server.host.mid(1, server.host.size() - 2);
    return server;
}

} // namespace Brelvan
