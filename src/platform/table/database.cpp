#include "platform/table/database.h"

#include "platform/table/engineerror.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>
#include <QThread>

#include <atomic>

namespace Brelvan::Table {

namespace {

QString newConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("brelvan-%1").arg(++counter);
}

QString sqliteType(const FieldDef &f)
{
    switch (f.type) {
    case FieldType::Text: return QStringLiteral("VARCHAR(%1)").arg(f.width);
    case FieldType::Date: return QStringLiteral("DATE");
    case FieldType::Memo: return QStringLiteral("CLOB"); // TEXT affinity: "123" stays text
    case FieldType::Money: return QStringLiteral("DOUBLE");
    case FieldType::Float: return QStringLiteral("FLOAT");
    case FieldType::SmallInt: return QStringLiteral("SMALLINT");
    case FieldType::Integer: return QStringLiteral("INT");
    case FieldType::Picture: return QStringLiteral("BLOB");
    }
    return {};
}

QString postgresType(const FieldDef &f)
{
    switch (f.type) {
    case FieldType::Text: return QStringLiteral("varchar(%1)").arg(f.width);
    case FieldType::Date: return QStringLiteral("date");
    case FieldType::Memo: return QStringLiteral("text");
    case FieldType::Money:
    case FieldType::Float: return QStringLiteral("double precision");
    case FieldType::SmallInt: return QStringLiteral("smallint");
    case FieldType::Integer: return QStringLiteral("integer");
    case FieldType::Picture: return QStringLiteral("bytea");
    }
    return {};
}

QString q(const QString &ident)
{
    return QLatin1Char('"') + ident + QLatin1Char('"');
}

QString describe(const FieldDef &f)
{
    return f.type == FieldType::Text ? QStringLiteral("Text %1").arg(f.width)
                                     : fieldTypeName(f.type);
}

} // namespace

Database::Database(Engine engine, const Schema &schema)
    : m_engine(engine), m_schema(schema), m_connectionName(newConnectionName())
{}

Database::~Database()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen()) {
            if (m_transactionOpen)
                db.commit();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QStringList Database::createStatements(Engine engine, const Schema &schema)
{
    QStringList out;
    for (const TableDef &t : schema.tables) {
        QStringList cols;
        for (const FieldDef &f : t.fields)
            cols << q(f.name) + QLatin1Char(' ')
                        + (engine == Engine::SQLite ? sqliteType(f) : postgresType(f));
        if (engine == Engine::SQLite) {
            cols << q(QLatin1String(RecIdColumn)) + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
            cols << q(QLatin1String(RecVerColumn)) + QStringLiteral(" INTEGER NOT NULL DEFAULT 0");
        } else {
            cols << q(QLatin1String(RecIdColumn)) + QStringLiteral(" bigserial PRIMARY KEY");
            cols << q(QLatin1String(RecVerColumn)) + QStringLiteral(" integer NOT NULL DEFAULT 0");
        }
        out << QStringLiteral("CREATE TABLE %1 (%2)").arg(q(t.name), cols.join(QLatin1String(", ")));
        if (!t.key.isEmpty()) {
            QStringList plain, keyed;
            for (const QString &k : t.key) {
                plain << q(k);
                // empty key values must collide: two blank keys are a duplicate
                keyed << QStringLiteral("ifnull(%1, '')").arg(q(k));
            }
            if (engine == Engine::SQLite) {
                out << QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
                           .arg(q(t.name + QLatin1String("_Key")), q(t.name),
                                keyed.join(QLatin1String(", ")));
                out << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                           .arg(q(t.name + QLatin1String("_Order")), q(t.name),
                                plain.join(QLatin1String(", ")));
            } else {
                out << QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3) NULLS NOT DISTINCT")
                           .arg(q(t.name + QLatin1String("_Key")), q(t.name),
                                plain.join(QLatin1String(", ")));
            }
        }
        for (const IndexDef &ix : t.indexes) {
            QStringList cols2;
            for (const QString &f : ix.fields)
                cols2 << q(f);
            out << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                       .arg(q(ix.name), q(t.name), cols2.join(QLatin1String(", ")));
        }
    }
    out << QStringLiteral("CREATE TABLE %1 (\"Version\" INTEGER NOT NULL)").arg(q(QLatin1String(LayoutTable)));
    out << QStringLiteral("INSERT INTO %1 (\"Version\") VALUES (%2)")
               .arg(q(QLatin1String(LayoutTable))).arg(schema.version);
    return out;
}

static void applySqlitePragmas(QSqlDatabase &db)
{
    QSqlQuery qy(db);
    // WAL keeps readers and the writer apart; FULL makes every post durable on its own.
    qy.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    qy.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    qy.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    qy.exec(QStringLiteral("PRAGMA case_sensitive_like=ON"));
}

std::unique_ptr<Database> Database::openFolder(const QString &folder, const Schema &schema)
{
    const QString file = QDir(folder).filePath(QLatin1String(FileName));
    if (!QFileInfo(folder).isDir())
        throw EngineError(QStringLiteral("The data folder %1 does not exist.").arg(folder));
    if (!QFileInfo(file).isFile())
        throw EngineError(QStringLiteral("The data folder %1 holds no tables (%2 is missing).")
                              .arg(folder, QLatin1String(FileName)));
    std::unique_ptr<Database> d(new Database(Engine::SQLite, schema));
    d->m_location = QDir(folder).absolutePath();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->m_connectionName);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1500"));
    if (!db.open())
        throw EngineError(QStringLiteral("The tables in %1 cannot be opened: %2")
                              .arg(folder, db.lastError().text()));
    applySqlitePragmas(db);
    d->validate();
    return d;
}

std::unique_ptr<Database> Database::createFolder(const QString &folder, const Schema &schema)
{
    if (!QDir().mkpath(folder))
        throw EngineError(QStringLiteral("The folder %1 cannot be made.").arg(folder));
    const QString file = QDir(folder).filePath(QLatin1String(FileName));
    if (QFileInfo::exists(file))
        throw EngineError(QStringLiteral("%1 already holds tables.").arg(folder));
    std::unique_ptr<Database> d(new Database(Engine::SQLite, schema));
    d->m_location = QDir(folder).absolutePath();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->m_connectionName);
    db.setDatabaseName(file);
    if (!db.open())
        throw EngineError(QStringLiteral("%1 cannot be written: %2").arg(file, db.lastError().text()));
    applySqlitePragmas(db);
    db.transaction();
    for (const QString &sql : createStatements(Engine::SQLite, schema))
        d->exec(sql);
    db.commit();
    d->validate();
    return d;
}

QStringList Database::checkFolder(const QString &folder, const Schema &schema)
{
    try {
        openFolder(folder, schema);
    } catch (const EngineError &e) {
        return e.message().split(QLatin1Char('\n'));
    }
    return {};
}

std::unique_ptr<Database> Database::openServer(const ServerAddress &server, const Schema &schema)
{
    std::unique_ptr<Database> d(new Database(Engine::PostgreSQL, schema));
    d->m_location = QStringLiteral("%1:%2/%3").arg(server.host).arg(server.port).arg(server.database);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), d->m_connectionName);
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setDatabaseName(server.database);
    db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(server.connectTimeoutSeconds));
    if (!db.open())
        throw EngineError(QStringLiteral("The server %1 cannot be reached: %2")
                              .arg(d->m_location, db.lastError().text()));
    d->validate();
    return d;
}

std::unique_ptr<Database> Database::createOnServer(const ServerAddress &server, const Schema &schema)
{
    {
        const QString admin = newConnectionName();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), admin);
            db.setHostName(server.host);
            db.setPort(server.port);
            db.setDatabaseName(QStringLiteral("postgres"));
            db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(server.connectTimeoutSeconds));
            if (!db.open())
                throw EngineError(QStringLiteral("The server %1 cannot be reached: %2")
                                      .arg(server.host, db.lastError().text()));
            QSqlQuery qy(db);
            qy.exec(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = '%1'")
                        .arg(QString(server.database).replace(QLatin1Char('\''), QLatin1String("''"))));
            if (!qy.next()
                && !qy.exec(QStringLiteral("CREATE DATABASE %1").arg(q(server.database))))
                throw EngineError(QStringLiteral("The database %1 cannot be made: %2")
                                      .arg(server.database, qy.lastError().text()));
            db.close();
        }
        QSqlDatabase::removeDatabase(admin);
    }
    std::unique_ptr<Database> d(new Database(Engine::PostgreSQL, schema));
    d->m_location = QStringLiteral("%1:%2/%3").arg(server.host).arg(server.port).arg(server.database);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), d->m_connectionName);
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setDatabaseName(server.database);
    if (!db.open())
        throw EngineError(QStringLiteral("The server %1 cannot be reached: %2")
                              .arg(d->m_location, db.lastError().text()));
    {
        QSqlQuery qy(db);
        qy.exec(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_name = '%1'")
                    .arg(QLatin1String(LayoutTable)));
        if (qy.next())
            throw EngineError(QStringLiteral("The database %1 already holds tables.").arg(d->m_location));
    }
    db.transaction();
    for (const QString &sql : createStatements(Engine::PostgreSQL, schema))
        d->exec(sql);
    db.commit();
    d->validate();
    return d;
}

QStringList Database::problems() const
{
    QStringList out;
    QSqlDatabase db = connection();
    for (const TableDef &t : m_schema.tables) {
        struct Col { QString name; QString type; int width; };
        QList<Col> cols;
        QSqlQuery qy(db);
        if (m_engine == Engine::SQLite) {
            qy.exec(QStringLiteral("PRAGMA table_info(%1)").arg(q(t.name)));
            while (qy.next())
                cols.append({qy.value(1).toString(), qy.value(2).toString().toUpper(), 0});
        } else {
            qy.prepare(QStringLiteral(
                "SELECT column_name, data_type, coalesce(character_maximum_length, 0) "
                "FROM information_schema.columns WHERE table_schema = current_schema() "
                "AND table_name = ? ORDER BY ordinal_position"));
            qy.addBindValue(t.name);
            qy.exec();
            while (qy.next())
                cols.append({qy.value(0).toString(), qy.value(1).toString(), qy.value(2).toInt()});
        }
        if (cols.isEmpty()) {
            out << QStringLiteral("Table %1 is missing.").arg(t.name);
            continue;
        }
        for (int i = 0; i < t.fields.size(); ++i) {
            const FieldDef &f = t.fields.at(i);
            if (i >= cols.size()) {
                out << QStringLiteral("Table %1 lacks field %2 (%3).").arg(t.name, f.name, describe(f));
                continue;
            }
            const Col &c = cols.at(i);
            if (c.name != f.name) {
                out << QStringLiteral("Table %1: field %2 is \"%3\" where \"%4\" (%5) belongs.")
                           .arg(t.name).arg(i + 1).arg(c.name, f.name, describe(f));
                continue;
            }
            bool ok;
            if (m_engine == Engine::SQLite) {
                ok = c.type == sqliteType(f).toUpper();
            } else {
                const QString want = postgresType(f);
                ok = f.type == FieldType::Text
                         ? (c.type == QLatin1String("character varying") && c.width == f.width)
                         : c.type == want;
            }
            if (!ok)
                out << QStringLiteral("Table %1: field %2 is of the wrong type or width (should be %3).")
                           .arg(t.name, f.name, describe(f));
        }
        const bool hidden = std::any_of(cols.cbegin(), cols.cend(), [](const Col &c) {
            return c.name == QLatin1String(RecIdColumn);
        }) && std::any_of(cols.cbegin(), cols.cend(), [](const Col &c) {
            return c.name == QLatin1String(RecVerColumn);
        });
        if (!hidden)
            out << QStringLiteral("Table %1 lacks its record id columns.").arg(t.name);
        if (cols.size() > t.fields.size() + 2)
            out << QStringLiteral("Table %1 has fields this program does not know.").arg(t.name);
    }
    return out;
}

void Database::readLayoutVersion()
{
    QSqlQuery qy(connection());
    if (qy.exec(QStringLiteral("SELECT max(\"Version\") FROM %1").arg(q(QLatin1String(LayoutTable))))
        && qy.next())
        m_layoutVersion = qy.value(0).toInt();
    else
        m_layoutVersion = 0;
}

void Database::validate() const
{
    const_cast<Database *>(this)->readLayoutVersion();
    if (m_layoutVersion > m_schema.version)
        throw EngineError(QStringLiteral("The tables in %1 have layout version %2, which this "
                                         "version of Brelvan does not know (it knows up to %3). "
                                         "Use a newer Brelvan for these tables.")
                              .arg(m_location).arg(m_layoutVersion).arg(m_schema.version));
    const QStringList p = problems();
    if (!p.isEmpty())
        throw EngineError(p.join(QLatin1Char('\n')));
    if (m_layoutVersion == 0)
        throw EngineError(QStringLiteral("The tables in %1 do not record their layout version.")
                              .arg(m_location));
}

void Database::raise(const QSqlQuery &query, const QString &sql) const
{
    const QSqlError err = query.lastError();
    const QString native = err.nativeErrorCode();
    const QString text = err.databaseText();
    // SQLite 2067 / PostgreSQL 23505: a unique index refused the row
    if (native == QLatin1String("2067") || native == QLatin1String("1555")
        || native == QLatin1String("23505") || text.contains(QLatin1String("UNIQUE constraint"))
        || text.contains(QLatin1String("duplicate key")))
        throw EngineError(QStringLiteral("Key violation: another record already has the same "
                                         "key values. The record was not saved."),
                          EngineError::Code::DuplicateKey);
    if (native == QLatin1String("5") || native == QLatin1String("55P03")
        || text.contains(QLatin1String("database is locked")))
        throw EngineError(QStringLiteral("The tables are busy with another user's change; try "
                                         "again."), EngineError::Code::Locked);
    Q_UNUSED(sql)
    throw EngineError(QStringLiteral("Table engine error: %1").arg(err.text()));
}

QSqlQuery Database::exec(const QString &sql, const QVariantList &binds) const
{
    QSqlQuery qy(connection());
    qy.setForwardOnly(true);
    if (binds.isEmpty()) {
        if (!qy.exec(sql))
            raise(qy, sql);
        return qy;
    }
    if (!qy.prepare(sql))
        raise(qy, sql);
    for (const QVariant &v : binds)
        qy.addBindValue(v);
    if (!qy.exec())
        raise(qy, sql);
    return qy;
}

void Database::beginWalk()
{
    if (m_walkDepth++ == 0 && !m_transactionOpen) {
        exec(m_engine == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
        m_transactionOpen = true;
        m_walkOwnsTransaction = true;
    }
}

void Database::endWalk()
{
    if (m_walkDepth == 0 || --m_walkDepth > 0)
        return;
    if (m_walkOwnsTransaction) {
        m_walkOwnsTransaction = false;
        m_transactionOpen = false;
        exec(QStringLiteral("COMMIT"));
    }
}

Database::WriteToken Database::beginWrite()
{
    WriteToken t;
    t.active = true;
    if (!m_transactionOpen) {
        exec(m_engine == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
        m_transactionOpen = true;
        t.ownsTransaction = true;
    } else {
        t.savepoint = QStringLiteral("sp%1").arg(++m_savepointSeq);
        exec(QStringLiteral("SAVEPOINT ") + t.savepoint);
    }
    return t;
}

void Database::commitWrite(WriteToken &t)
{
    if (!t.active)
        return;
    t.active = false;
    if (t.ownsTransaction) {
        m_transactionOpen = false;
        exec(QStringLiteral("COMMIT"));
    } else {
        exec(QStringLiteral("RELEASE SAVEPOINT ") + t.savepoint);
    }
}

void Database::rollbackWrite(WriteToken &t)
{
    if (!t.active)
        return;
    t.active = false;
    QSqlQuery qy(connection());
    if (t.ownsTransaction) {
        m_transactionOpen = false;
        qy.exec(QStringLiteral("ROLLBACK"));
    } else {
        qy.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + t.savepoint);
        qy.exec(QStringLiteral("RELEASE SAVEPOINT ") + t.savepoint);
    }
}

Database::WriteToken Database::lockRow(const TableDef &table, qint64 recId)
{
    if (m_engine == Engine::SQLite)
        return {};
    WriteToken t = beginWrite();
    const QString sql = QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? FOR UPDATE NOWAIT")
                            .arg(q(table.name), q(QLatin1String(RecIdColumn)));
    for (int attempt = 0; attempt < 15; ++attempt) {
        const QString sp = QStringLiteral("lk%1").arg(++m_savepointSeq);
        exec(QStringLiteral("SAVEPOINT ") + sp);
        QSqlQuery qy(connection());
        qy.prepare(sql);
        qy.addBindValue(recId);
        if (qy.exec()) {
            exec(QStringLiteral("RELEASE SAVEPOINT ") + sp);
            return t;
        }
        const bool busy = qy.lastError().nativeErrorCode() == QLatin1String("55P03");
        exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + sp);
        exec(QStringLiteral("RELEASE SAVEPOINT ") + sp);
        if (!busy) {
            rollbackWrite(t);
            raise(qy, sql);
        }
        QThread::msleep(100);
    }
    rollbackWrite(t);
    throw EngineError(QStringLiteral("The record is being edited by another user. Try again "
                                     "when they have finished."),
                      EngineError::Code::Locked);
}

void Database::flush()
{
    if (m_engine == Engine::SQLite && !m_transactionOpen) {
        QSqlQuery qy(connection());
        qy.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
}

QString Database::quoted(const QString &identifier) const
{
    return q(identifier);
}

QString Database::orderTerm(const FieldDef &field, bool descending) const
{
    QString t = q(field.name);
    if (m_engine == Engine::PostgreSQL && field.isText())
        t += QStringLiteral(" COLLATE \"C\"");
    // empty values first, as the user reads a list upwards from the blanks
    t += descending ? QStringLiteral(" DESC NULLS LAST") : QStringLiteral(" ASC NULLS FIRST");
    return t;
}

QString Database::likeOperand(const FieldDef &field) const
{
    const QString c = q(field.name);
    if (field.isText())
        return c;
    if (m_engine == Engine::PostgreSQL)
        return c + QStringLiteral("::text");
    // whole numbers read "10" on both engines, not SQLite's "10.0"
    if (field.isNumber())
        return QStringLiteral("(CASE WHEN %1 = CAST(%1 AS INTEGER) THEN CAST(CAST(%1 AS INTEGER) "
                              "AS TEXT) ELSE CAST(%1 AS TEXT) END)").arg(c);
    return QStringLiteral("CAST(%1 AS TEXT)").arg(c);
}

QVariant Database::toStored(const FieldDef &f, const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (f.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        QString s = v.toString();
        if (s.isEmpty())
            return {};
        return s;
    }
    case FieldType::Date: {
        const QDate d = v.toDate();
        if (!d.isValid())
            return {};
        if (m_engine == Engine::SQLite)
            return d.toString(Qt::ISODate);
        return d;
    }
    case FieldType::Money:
    case FieldType::Float: return v.toDouble();
    case FieldType::SmallInt:
    case FieldType::Integer: return v.toInt();
    case FieldType::Picture: {
        const QByteArray b = v.toByteArray();
        return b.isEmpty() ? QVariant() : QVariant(b);
    }
    }
    return v;
}

QVariant Database::fromStored(const FieldDef &f, const QVariant &v) const
{
    if (v.isNull())
        return {};
    switch (f.type) {
    case FieldType::Text:
    case FieldType::Memo: return v.toString();
    case FieldType::Date:
        if (v.metaType().id() == QMetaType::QDate)
            return v;
        return QDate::fromString(v.toString().left(10), Qt::ISODate);
    case FieldType::Money:
    case FieldType::Float: return v.toDouble();
    case FieldType::SmallInt:
    case FieldType::Integer: return v.toInt();
    case FieldType::Picture: return v.toByteArray();
    }
    return v;
}

} // namespace Brelvan::Table
