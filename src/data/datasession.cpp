#include "data/datasession.h"

#include "data/schema.h"
#include "platform/table/engineerror.h"

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
            ds->postIfEditing();
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
    // a number typed by the user is kept and does not move the counter
    dataset("Names")->setBeforePost([this](Dataset &ds) {
        if (!ds.isNull("Ref"))
            return;
        m_ref += 1;
        ds.setValue("Ref", int(m_ref));
        if (m_numbered)
            m_numbered(ds.name());
    });
    dataset("Income")->setBeforePost([this](Dataset &ds) {
        if (!ds.isNull("InvoiceNo"))
            return;
        m_invoiceNo += 1;
        ds.setValue("InvoiceNo", m_invoiceNo);
        if (m_numbered)
            m_numbered(ds.name());
    });
    dataset("Quote")->setBeforePost([this](Dataset &ds) {
        if (!ds.isNull("QuoteNo"))
            return;
        m_quoteNo += 1;
        ds.setValue("QuoteNo", m_quoteNo);
        if (m_numbered)
            m_numbered(ds.name());
    });
}

} // namespace Brelvan
