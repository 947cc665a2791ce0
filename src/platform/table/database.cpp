#include "platform/table/database.h"

#include "platform/table/engineerror.h"
#include "platform/table/postgresdialect.h"
#include "platform/table/tablelayout.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>

namespace Brelvan::Table {

namespace {

QString serverOptions(const ServerAddress &server)
{
    return QStringLiteral("connect_timeout=%1;application_name=Brelvan")
        .arg(qMax(2, server.connectTimeoutSeconds));
}

QString fileOf(const QString &folder)
{
    return QDir(folder).filePath(QLatin1String(Database::FileName));
}

// A zero-length file is no set of tables: SQLite would take it for a new database and write
// one into it, hiding whatever emptied it.
void refuseEmptyFile(const QString &file)
{
    const QFileInfo wal(file + QLatin1String("-wal"));
    if (QFileInfo(file).size() == 0 && (!wal.exists() || wal.size() == 0))
        throw EngineError(QStringLiteral("%1 is empty (0 bytes), so it holds no tables. Restore "
                                         "it from a backup, or remove it and make new tables "
                                         "with \"brelvan-data create\"; it was left as it is.")
                              .arg(QDir::toNativeSeparators(file)));
}

} // namespace

Database::Database(Engine engine, const Schema &schema)
    : m_dialect(SqlDialect::create(engine)),
      m_schema(schema),
      m_connectionName(newConnectionName()),
      m_run(*m_dialect, m_connectionName),
      m_tx(*m_dialect, m_run, m_connectionName)
{
    m_run.setFailureHandler([this](const QString &connection, bool lost) {
        return m_tx.failed(connection, lost);
    });
}

Database::~Database()
{
    m_run.clear();
    m_tx.closeAll();
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

std::unique_ptr<Database> Database::connectFolder(const QString &folder, const Schema &schema,
                                                  bool readOnly)
{
    const QString file = fileOf(folder);
    if (!QFileInfo(folder).isDir())
        throw EngineError(QStringLiteral("The data folder %1 does not exist.").arg(folder));
    // SQLite would make an empty file: a folder without tables is refused instead
    if (!QFileInfo(file).isFile())
        throw EngineError(QStringLiteral("The data folder %1 holds no tables (%2 is missing).")
                              .arg(folder, QLatin1String(FileName)));
    refuseEmptyFile(file);
    std::unique_ptr<Database> d(new Database(Engine::SQLite, schema));
    d->m_run.setLocation(QDir(folder).absolutePath());
    d->m_source = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->m_connectionName);
    db.setDatabaseName(file);
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1500")
                                  : QStringLiteral("QSQLITE_BUSY_TIMEOUT=1500"));
    if (!db.open())
        throw EngineError(QStringLiteral("The tables in %1 cannot be opened: %2")
                              .arg(folder, db.lastError().text()));
    if (!readOnly)
        d->m_dialect->applySettings(db);
    return d;
}

std::unique_ptr<Database> Database::openFolder(const QString &folder, const Schema &schema)
{
    std::unique_ptr<Database> d = connectFolder(folder, schema);
    d->validate();
    return d;
}

std::unique_ptr<Database> Database::createFolder(const QString &folder, const Schema &schema)
{
    if (!QDir().mkpath(folder))
        throw EngineError(QStringLiteral("The folder %1 cannot be made.").arg(folder));
    const QString file = fileOf(folder);
    if (QFileInfo::exists(file))
        throw EngineError(QStringLiteral("%1 already holds tables.").arg(folder));
    std::unique_ptr<Database> d(new Database(Engine::SQLite, schema));
    d->m_run.setLocation(QDir(folder).absolutePath());
    d->m_source = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->m_connectionName);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1500"));
    if (!db.open())
        throw EngineError(QStringLiteral("%1 cannot be written: %2").arg(file, db.lastError().text()));
    d->m_dialect->applySettings(db);
    WriteToken t = d->beginWrite();
    for (const QString &sql : TableLayout::createStatements(*d->m_dialect, schema))
        d->exec(sql);
    d->commitWrite(t);
    d->validate();
    return d;
}

QStringList Database::checkFolder(const QString &folder, const Schema &schema)
{
    try {
        std::unique_ptr<Database> d = connectFolder(folder, schema, true);
        QStringList damage;
        // the engine's own check of every page, before the layout is read from them
        QSqlQuery qy = d->exec(QStringLiteral("PRAGMA integrity_check"));
        while (qy.next()) {
            const QString line = qy.value(0).toString();
            if (line != QLatin1String("ok"))
                damage << line;
        }
        if (!damage.isEmpty()) {
            damage.prepend(QStringLiteral("%1 is damaged:")
                               .arg(QDir::toNativeSeparators(fileOf(folder))));
            return damage;
        }
        d->validate();
    } catch (const EngineError &e) {
        return e.message().split(QLatin1Char('\n'));
    }
    return {};
}

std::unique_ptr<Database> Database::connectServer(const ServerAddress &server,
                                                  const Schema &schema)
{
    std::unique_ptr<Database> d(new Database(Engine::PostgreSQL, schema));
    d->m_run.setLocation(
        QStringLiteral("%1:%2/%3").arg(server.host).arg(server.port).arg(server.database));
    d->m_source = QStringLiteral("the server %1").arg(d->location());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), d->m_connectionName);
    if (!db.isValid())
        throw EngineError(QStringLiteral("The PostgreSQL driver of Qt SQL (QPSQL) is not "
                                         "installed, so no table server can be reached."));
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setDatabaseName(server.database);
    db.setConnectOptions(serverOptions(server));
    if (server.host.trimmed().isEmpty())
        throw EngineError(QStringLiteral("No server address is set for the remote tables."));
    if (!db.open()) {
        const QString why = StatementRunner::reason(db.lastError());
        if (why.contains(QLatin1String("does not exist")))
            throw EngineError(QStringLiteral("The server %1:%2 answers but holds no database %3 "
                                             "(brelvan-data create --server makes it): %4")
                                  .arg(server.host).arg(server.port).arg(server.database, why));
        throw EngineError(QStringLiteral("The server %1 cannot be reached: %2")
                              .arg(d->location(), why));
    }
    d->m_dialect->applySettings(db);
    return d;
}

std::unique_ptr<Database> Database::openServer(const ServerAddress &server, const Schema &schema)
{
    std::unique_ptr<Database> d = connectServer(server, schema);
    d->validate();
    return d;
}

std::unique_ptr<Database> Database::createOnServer(const ServerAddress &server, const Schema &schema)
{
    {
        ServerAddress admin = server;
        admin.database = QStringLiteral("postgres");
        std::unique_ptr<Database> a = connectServer(admin, schema);
        QSqlQuery qy = a->exec(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"),
                               {server.database});
        if (!qy.next())
            a->exec(QStringLiteral("CREATE DATABASE %1").arg(a->quoted(server.database)));
    }
    std::unique_ptr<Database> d = connectServer(server, schema);
    if (d->exec(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_name = ?"),
                {QLatin1String(LayoutTable)}).next())
        throw EngineError(QStringLiteral("The database %1 already holds tables.").arg(d->location()));
    WriteToken t = d->beginWrite();
    try {
        for (const QString &sql : TableLayout::createStatements(*d->m_dialect, schema))
            d->exec(sql);
        d->commitWrite(t);
    } catch (...) {
        d->rollbackWrite(t);
        throw;
    }
    d->validate();
    return d;
}

int Database::upgradeFolder(const QString &folder, const Schema &schema)
{
    return connectFolder(folder, schema)->upgrade();
}

int Database::upgradeServer(const ServerAddress &server, const Schema &schema)
{
    return connectServer(server, schema)->upgrade();
}

int Database::upgrade()
{
    TableLayout layout(*this);
    const int from = layout.upgrade();
    m_layoutVersion = layout.readVersion();
    return from;
}

void Database::validate()
{
    TableLayout layout(*this);
    m_layoutVersion = layout.readVersion();
    layout.validate(m_layoutVersion);
}

void Database::reshapeTable(const TableDef &table)
{
    TableLayout(*this).reshape(table);
}

QSqlQuery Database::exec(const QString &sql, const QVariantList &binds) const
{
    return m_run.exec(sql, binds);
}

QSqlQuery Database::exec(const WriteToken &on, const QString &sql, const QVariantList &binds) const
{
    return m_run.run(on.active ? on.connectionName : QString(), sql, binds);
}

QSqlQuery &Database::execCached(const WriteToken &on, const QString &sql,
                                const QVariantList &binds) const
{
    return m_run.runCached(on.active ? on.connectionName : QString(), sql, binds);
}

Database::WriteToken Database::lockRow(const TableDef &table, qint64 recId)
{
    return m_tx.lockRows(table, {recId}, nullptr);
}

Database::WriteToken Database::lockRow(const TableDef &table, qint64 recId,
                                       QVariantList *current)
{
    if (!current)
        return lockRow(table, recId);
    QHash<qint64, QVariantList> rows;
    WriteToken t = m_tx.lockRows(table, {recId}, &rows);
    *current = rows.value(recId);
    return t;
}

double Database::takeNumber(const WriteToken &on, const QString &counter, double floor)
{
    if (!m_numbersReady) {
        // tables made before automatic numbers were kept with them get the table now
        if (!exec(on, m_dialect->tableExistsSql(), {QStringLiteral("BrelvanNumbers")}).next())
            exec(on, m_dialect->counterTable());
        m_numbersReady = true;
    }
    QSqlQuery qy = exec(on, m_dialect->counterUpsert(), {counter, floor, floor});
    if (!qy.next())
        throw EngineError(QStringLiteral("No automatic number could be taken for %1.").arg(counter));
    return qy.value(0).toDouble();
}

void Database::flush()
{
    const QString sql = m_dialect->flushStatement();
    if (!sql.isEmpty() && !m_tx.transactionOpen()) {
        QSqlQuery qy(connection());
        qy.exec(sql);
    }
}

QString Database::serverLiteral(const QVariant &value)
{
    return PostgresDialect::literal(value);
}

} // namespace Brelvan::Table
