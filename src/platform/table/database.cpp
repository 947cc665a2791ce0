#include "platform/table/database.h"

#include "platform/table/engineerror.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSqlError>
#include <QSqlRecord>
#include <QThread>

#include <algorithm>
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
{
    m_connections.push_back({m_connectionName});
}

Database::~Database()
{
    m_statements.clear();
    m_serverResult = QSqlQuery();
    for (const Connection &c : m_connections) {
        {
            QSqlDatabase db = QSqlDatabase::database(c.name, false);
            if (db.isOpen()) {
                // an unfinished walk or write is kept, as a close after a walk would keep it;
                // a record still held in edit is let go
                if (c.transactionOpen) {
                    QSqlQuery qy(db);
                    qy.exec(c.name == m_connectionName ? QStringLiteral("COMMIT")
                                                       : QStringLiteral("ROLLBACK"));
                }
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(c.name);
    }
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

Database::Connection &Database::connectionState(const QString &name)
{
    for (Connection &c : m_connections) {
        if (c.name == name || (name.isEmpty() && c.name == m_connectionName))
            return c;
    }
    return m_connections.front();
}

const Database::Connection &Database::connectionState(const QString &name) const
{
    return const_cast<Database *>(this)->connectionState(name);
}

QStringList Database::tableStatements(Engine engine, const TableDef &t, const QString &name)
{
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
    return {QStringLiteral("CREATE TABLE %1 (%2)").arg(q(name), cols.join(QLatin1String(", ")))};
}

QStringList Database::indexStatements(Engine engine, const TableDef &t)
{
    QStringList out;
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
        QStringList cols;
        for (const QString &f : ix.fields)
            cols << q(f);
        out << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                   .arg(q(ix.name), q(t.name), cols.join(QLatin1String(", ")));
    }
    return out;
}

QStringList Database::createStatements(Engine engine, const Schema &schema)
{
    QStringList out;
    for (const TableDef &t : schema.tables)
        out << tableStatements(engine, t, t.name) << indexStatements(engine, t);
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

static void applyServerSettings(QSqlDatabase &db)
{
    QSqlQuery qy(db);
    // literals are written with plain quotes doubled: backslashes must stay plain text
    qy.exec(QStringLiteral("SET standard_conforming_strings = on"));
    // a statement that meets a record held by another copy waits as the lock retries do
    // (15 tries 100 ms apart), then fails instead of freezing the window
    qy.exec(QStringLiteral("SET lock_timeout = '1500ms'"));
}

static QString serverOptions(const ServerAddress &server)
{
    return QStringLiteral("connect_timeout=%1;application_name=Brelvan")
        .arg(qMax(2, server.connectTimeoutSeconds));
}

static QString firstLine(const QString &text)
{
    const QString t = text.trimmed();
    const int nl = t.indexOf(QLatin1Char('\n'));
    return nl < 0 ? t : t.left(nl).trimmed();
}

std::unique_ptr<Database> Database::connectFolder(const QString &folder, const Schema &schema)
{
    const QString file = QDir(folder).filePath(QLatin1String(FileName));
    if (!QFileInfo(folder).isDir())
        throw EngineError(QStringLiteral("The data folder %1 does not exist.").arg(folder));
    // SQLite would make an empty file: a folder without tables is refused instead
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
    const QString file = QDir(folder).filePath(QLatin1String(FileName));
    if (QFileInfo::exists(file))
        throw EngineError(QStringLiteral("%1 already holds tables.").arg(folder));
    std::unique_ptr<Database> d(new Database(Engine::SQLite, schema));
    d->m_location = QDir(folder).absolutePath();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->m_connectionName);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1500"));
    if (!db.open())
        throw EngineError(QStringLiteral("%1 cannot be written: %2").arg(file, db.lastError().text()));
    applySqlitePragmas(db);
    WriteToken t = d->beginWrite();
    for (const QString &sql : createStatements(Engine::SQLite, schema))
        d->exec(sql);
    d->commitWrite(t);
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

std::unique_ptr<Database> Database::connectServer(const ServerAddress &server,
                                                  const Schema &schema)
{
    std::unique_ptr<Database> d(new Database(Engine::PostgreSQL, schema));
    d->m_location = QStringLiteral("%1:%2/%3").arg(server.host).arg(server.port).arg(server.database);
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
        const QString why = firstLine(db.lastError().databaseText());
        if (why.contains(QLatin1String("does not exist")))
            throw EngineError(QStringLiteral("The server %1:%2 answers but holds no database %3 "
                                             "(brelvan-data create --server makes it): %4")
                                  .arg(server.host).arg(server.port).arg(server.database, why));
        throw EngineError(QStringLiteral("The server %1 cannot be reached: %2")
                              .arg(d->m_location, why));
    }
    applyServerSettings(db);
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
            a->exec(QStringLiteral("CREATE DATABASE %1").arg(q(server.database)));
    }
    std::unique_ptr<Database> d = connectServer(server, schema);
    if (d->exec(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_name = ?"),
                {QLatin1String(LayoutTable)}).next())
        throw EngineError(QStringLiteral("The database %1 already holds tables.").arg(d->m_location));
    WriteToken t = d->beginWrite();
    try {
        for (const QString &sql : createStatements(Engine::PostgreSQL, schema))
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

qint64 Database::rowCount(const QString &table) const
{
    QSqlQuery qy = exec(QStringLiteral("SELECT count(*) FROM %1").arg(q(table)));
    return qy.next() ? qy.value(0).toLongLong() : 0;
}

int Database::upgrade()
{
    readLayoutVersion();
    const int from = m_layoutVersion;
    if (from > m_schema.version)
        validate(); // says the layout is newer than this program knows
    if (from == m_schema.version) {
        validate();
        return from;
    }
    QList<const LayoutStep *> steps;
    for (int v = from + 1; v <= m_schema.version; ++v) {
        const LayoutStep *step = nullptr;
        for (const LayoutStep &s : m_schema.steps) {
            if (s.version == v)
                step = &s;
        }
        if (!step)
            throw EngineError(QStringLiteral("The tables in %1 have layout version %2; this "
                                             "version of Brelvan knows no step from version %3 "
                                             "to %4, so it changes nothing.")
                                  .arg(m_location).arg(from).arg(v - 1).arg(v));
        steps << step;
    }
    WriteToken t = beginWrite();
    try {
        // every table there now, with its records counted, so no step can lose one
        QList<QPair<QString, qint64>> before;
        for (const TableDef &def : m_schema.tables) {
            QSqlQuery probe = m_engine == Engine::SQLite
                ? exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' "
                                      "AND name = ?"), {def.name})
                : exec(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE "
                                      "table_schema = current_schema() AND table_name = ?"),
                       {def.name});
            if (probe.next())
                before.append({def.name, rowCount(def.name)});
        }
        for (const LayoutStep *step : steps) {
            for (const QString &name : step->reshapedTables) {
                const TableDef *def = m_schema.table(name);
                if (!def)
                    throw EngineError(QStringLiteral("Layout step %1 names an unknown table %2.")
                                          .arg(step->version).arg(name));
                reshapeTable(*def);
            }
            if (step->migrate)
                step->migrate(*this);
        }
        const QString layout = q(QLatin1String(LayoutTable));
        exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"Version\" INTEGER NOT NULL)")
                 .arg(layout));
        exec(QStringLiteral("DELETE FROM %1").arg(layout));
        exec(QStringLiteral("INSERT INTO %1 (\"Version\") VALUES (?)").arg(layout),
             {m_schema.version});
        for (const auto &[name, count] : before) {
            const qint64 now = rowCount(name);
            if (now < count)
                throw EngineError(QStringLiteral("Moving the layout forward would lose %1 of "
                                                 "the %2 records of table %3; nothing was "
                                                 "changed.").arg(count - now).arg(count).arg(name));
        }
        const QStringList p = problems();
        if (!p.isEmpty())
            throw EngineError(QStringLiteral("After moving the layout forward: %1 Nothing was "
                                             "changed.").arg(p.join(QLatin1Char(' '))));
        commitWrite(t);
    } catch (const EngineError &) {
        rollbackWrite(t);
        throw;
    } catch (const std::exception &e) {
        rollbackWrite(t);
        throw EngineError(QStringLiteral("A layout step failed (%1); nothing was changed.")
                              .arg(QString::fromLocal8Bit(e.what())));
    }
    validate();
    return from;
}

void Database::reshapeTable(const TableDef &def)
{
    QStringList old;
    if (m_engine == Engine::SQLite) {
        QSqlQuery qy = exec(QStringLiteral("PRAGMA table_info(%1)").arg(q(def.name)));
        while (qy.next())
            old << qy.value(1).toString();
    } else {
        QSqlQuery qy = exec(QStringLiteral("SELECT column_name FROM information_schema.columns "
                                           "WHERE table_schema = current_schema() AND "
                                           "table_name = ?"), {def.name});
        while (qy.next())
            old << qy.value(0).toString();
    }
    const QString temp = def.name + QLatin1String("_reshape");
    for (const QString &sql : tableStatements(m_engine, def, temp))
        exec(sql);
    if (!old.isEmpty()) {
        QStringList common;
        for (const FieldDef &f : def.fields) {
            if (old.contains(f.name))
                common << q(f.name);
        }
        common << q(QLatin1String(RecIdColumn));
        if (old.contains(QLatin1String(RecVerColumn)))
            common << q(QLatin1String(RecVerColumn));
        const QString cols = common.join(QLatin1Char(','));
        exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3").arg(q(temp), cols, q(def.name)));
        exec(QStringLiteral("DROP TABLE %1").arg(q(def.name)));
    }
    exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(q(temp), q(def.name)));
    if (m_engine == Engine::PostgreSQL) {
        // the names the table's own pieces had when it was made under its own name
        const QString seq = def.name + QLatin1String("_RecId_seq");
        exec(QStringLiteral("ALTER TABLE %1 RENAME CONSTRAINT %2 TO %3")
                 .arg(q(def.name), q(temp + QLatin1String("_pkey")),
                      q(def.name + QLatin1String("_pkey"))));
        exec(QStringLiteral("ALTER SEQUENCE %1 RENAME TO %2")
                 .arg(q(temp + QLatin1String("_RecId_seq")), q(seq)));
        exec(QStringLiteral("SELECT setval(?, coalesce((SELECT max(%1) FROM %2), 0) + 1, false)")
                 .arg(q(QLatin1String(RecIdColumn)), q(def.name)),
             {q(seq)});
    }
    for (const QString &sql : indexStatements(m_engine, def))
        exec(sql);
}

QStringList Database::problems() const
{
    QStringList out;
    for (const TableDef &t : m_schema.tables) {
        struct Col { QString name; QString type; int width; };
        QList<Col> cols;
        if (m_engine == Engine::SQLite) {
            QSqlQuery qy = exec(QStringLiteral("PRAGMA table_info(%1)").arg(q(t.name)));
            while (qy.next())
                cols.append({qy.value(1).toString(), qy.value(2).toString().toUpper(), 0});
        } else {
            QSqlQuery qy = exec(QStringLiteral(
                "SELECT column_name, data_type, coalesce(character_maximum_length, 0) "
                "FROM information_schema.columns WHERE table_schema = current_schema() "
                "AND table_name = ? ORDER BY ordinal_position"), {t.name});
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
    // a failed read must not spoil an open transaction on the server: look before reading
    const QString layout = QLatin1String(LayoutTable);
    QSqlQuery probe = m_engine == Engine::SQLite
        ? exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"),
               {layout})
        : exec(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE "
                              "table_schema = current_schema() AND table_name = ?"), {layout});
    m_layoutVersion = 0;
    if (!probe.next())
        return;
    QSqlQuery qy = exec(QStringLiteral("SELECT max(\"Version\") FROM %1").arg(q(layout)));
    if (qy.next())
        m_layoutVersion = qy.value(0).toInt();
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
    if (m_layoutVersion < m_schema.version)
        throw EngineError(QStringLiteral("The tables in %1 have the older layout version %2; "
                                         "move them forward to version %3 with "
                                         "\"brelvan-data upgrade\" first.")
                              .arg(m_location).arg(m_layoutVersion).arg(m_schema.version));
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
    // PostgreSQL 55P03: a row held by another copy outwaited the lock timeout
    if (native == QLatin1String("55P03"))
        throw EngineError(QStringLiteral("The record is being edited by another user. Try "
                                         "again when they have finished."),
                          EngineError::Code::Locked);
    if (native == QLatin1String("5") || native == QLatin1String("6")
        || text.contains(QLatin1String("database is locked")))
        throw EngineError(QStringLiteral("The tables are busy with another user's change; try "
                                         "again."), EngineError::Code::Locked);
    // 08xxx and 57P0x: the server went away
    if (native.startsWith(QLatin1String("08")) || native.startsWith(QLatin1String("57P0"))
        || (m_engine == Engine::PostgreSQL && !connection().isOpen()))
        throw EngineError(QStringLiteral("The connection to the server %1 was lost: %2")
                              .arg(m_location, firstLine(text)));
    Q_UNUSED(sql)
    throw EngineError(QStringLiteral("Table engine error: %1").arg(err.text()));
}

QString Database::serverLiteral(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QStringLiteral("NULL");
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const QString n = v.toString();
        return n.startsWith(QLatin1Char('-')) ? QLatin1Char('(') + n + QLatin1Char(')') : n;
    }
    case QMetaType::Double:
    case QMetaType::Float:
        // shortest text that reads back as the very same double; nan and inf included
        return QStringLiteral("float8 '%1'")
            .arg(QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest));
    case QMetaType::QDate:
        return QStringLiteral("DATE '%1'").arg(v.toDate().toString(Qt::ISODate));
    case QMetaType::QDateTime:
        return QStringLiteral("TIMESTAMP '%1'")
            .arg(v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
    case QMetaType::QByteArray:
        return QStringLiteral("'\\x%1'::bytea").arg(QString::fromLatin1(v.toByteArray().toHex()));
    default: break;
    }
    QString s = v.toString();
    // the server keeps no NUL in text, and libpq would end the statement there
    if (s.contains(QChar(0)))
        throw EngineError(QStringLiteral("A text holds a NUL character, which the tables cannot "
                                         "keep."), EngineError::Code::Value);
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QSqlQuery Database::run(const QString &connectionName, const QString &sql,
                        const QVariantList &binds) const
{
    QSqlQuery qy(QSqlDatabase::database(connectionName.isEmpty() ? m_connectionName
                                                                  : connectionName, false));
    qy.setForwardOnly(true);
    if (binds.isEmpty()) {
        if (!qy.exec(sql))
            raise(qy, sql);
        return qy;
    }
    if (m_engine == Engine::PostgreSQL) {
        // each ? outside quotes takes the next value as an escaped literal
        QString text;
        text.reserve(sql.size() + binds.size() * 8);
        int next = 0;
        QChar quote;
        for (const QChar c : sql) {
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
                text += c;
            } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
                quote = c;
                text += c;
            } else if (c == QLatin1Char('?')) {
                if (next >= binds.size())
                    throw EngineError(QStringLiteral("Table engine error: a statement has more "
                                                     "places than values."));
                text += serverLiteral(binds.at(next++));
            } else {
                text += c;
            }
        }
        if (next != binds.size())
            throw EngineError(QStringLiteral("Table engine error: a statement has fewer places "
                                             "than values."));
        if (!qy.exec(text))
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

QSqlQuery Database::exec(const QString &sql, const QVariantList &binds) const
{
    return run(m_connectionName, sql, binds);
}

QSqlQuery Database::exec(const WriteToken &on, const QString &sql, const QVariantList &binds) const
{
    return run(on.active ? on.connectionName : QString(), sql, binds);
}

QSqlQuery &Database::execCached(const WriteToken &on, const QString &sql,
                                const QVariantList &binds) const
{
    if (m_engine != Engine::SQLite) {
        m_serverResult = exec(on, sql, binds);
        return m_serverResult;
    }
    // a walk posts the same few statements thousands of times: prepare each once
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        QSqlQuery qy(connection());
        qy.setForwardOnly(true);
        if (!qy.prepare(sql))
            raise(qy, sql);
        it = m_statements.emplace(sql, std::move(qy));
    }
    QSqlQuery &qy = it.value();
    for (int i = 0; i < binds.size(); ++i)
        qy.bindValue(i, binds.at(i));
    if (!qy.exec())
        raise(qy, sql);
    return qy;
}

void Database::beginWalk()
{
    m_walks.push_back(beginWrite());
}

void Database::endWalk()
{
    if (m_walks.empty())
        return;
    WriteToken t = m_walks.back();
    m_walks.pop_back();
    commitWrite(t);
}

void Database::cancelWalk()
{
    if (m_walks.empty())
        return;
    WriteToken t = m_walks.back();
    m_walks.pop_back();
    rollbackWrite(t);
}

Database::WriteToken Database::beginWrite()
{
    Connection &c = connectionState(m_connectionName);
    WriteToken t;
    if (!c.transactionOpen) {
        run(c.name, m_engine == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE")
                                               : QStringLiteral("BEGIN"), {});
        c.transactionOpen = true;
        ++c.transaction;
        c.savepoints.clear();
        t.ownsTransaction = true;
    } else {
        t.savepoint = QStringLiteral("sp%1").arg(++m_savepointSeq);
        run(c.name, QStringLiteral("SAVEPOINT ") + t.savepoint, {});
        c.savepoints.push_back(t.savepoint);
    }
    t.active = true;
    t.transaction = c.transaction;
    return t;
}

Database::WriteToken Database::beginWrite(const WriteToken &within)
{
    if (!within.active || within.connectionName.isEmpty())
        return beginWrite();
    Connection &c = connectionState(within.connectionName);
    WriteToken t;
    t.savepoint = QStringLiteral("sp%1").arg(++m_savepointSeq);
    run(c.name, QStringLiteral("SAVEPOINT ") + t.savepoint, {});
    c.savepoints.push_back(t.savepoint);
    t.active = true;
    t.connectionName = c.name;
    t.transaction = c.transaction;
    return t;
}

void Database::commitWrite(WriteToken &t)
{
    if (!t.active)
        return;
    t.active = false;
    Connection &c = connectionState(t.connectionName);
    // a savepoint of a transaction that has ended, or released with one made before it,
    // went with it
    if (!isCurrent(t, c))
        return;
    if (t.ownsTransaction) {
        c.transactionOpen = false;
        c.busy = false;
        c.savepoints.clear();
        try {
            run(c.name, QStringLiteral("COMMIT"), {});
        } catch (...) {
            // a commit that failed took nothing: end the transaction so the refusal is true
            QSqlQuery qy(QSqlDatabase::database(c.name, false));
            qy.exec(QStringLiteral("ROLLBACK"));
            throw;
        }
    } else {
        c.savepoints.erase(std::find(c.savepoints.begin(), c.savepoints.end(), t.savepoint),
                           c.savepoints.end());
        run(c.name, QStringLiteral("RELEASE SAVEPOINT ") + t.savepoint, {});
    }
}

void Database::rollbackWrite(WriteToken &t)
{
    if (!t.active)
        return;
    t.active = false;
    Connection &c = connectionState(t.connectionName);
    if (!isCurrent(t, c))
        return;
    QSqlQuery qy(QSqlDatabase::database(c.name, false));
    if (t.ownsTransaction) {
        c.transactionOpen = false;
        c.busy = false;
        c.savepoints.clear();
        qy.exec(QStringLiteral("ROLLBACK"));
    } else {
        c.savepoints.erase(std::find(c.savepoints.begin(), c.savepoints.end(), t.savepoint),
                           c.savepoints.end());
        qy.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + t.savepoint);
        qy.exec(QStringLiteral("RELEASE SAVEPOINT ") + t.savepoint);
    }
}

Database::Connection &Database::takeLockConnection()
{
    for (Connection &c : m_connections) {
        if (c.name != m_connectionName && !c.busy && !c.transactionOpen) {
            if (QSqlDatabase::database(c.name, false).isOpen()) {
                c.busy = true;
                return c;
            }
        }
    }
    const QString name = newConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::cloneDatabase(m_connectionName, name);
        if (!db.open()) {
            const QString why = firstLine(db.lastError().databaseText());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw EngineError(QStringLiteral("The server %1 cannot be reached: %2")
                                  .arg(m_location, why));
        }
        applyServerSettings(db);
    }
    m_connections.push_back({name});
    m_connections.back().busy = true;
    return m_connections.back();
}

bool Database::isCurrent(const WriteToken &t) const
{
    return t.active && isCurrent(t, connectionState(t.connectionName));
}

bool Database::isCurrent(const WriteToken &t, const Connection &c)
{
    if (!c.transactionOpen || c.transaction != t.transaction)
        return false;
    return t.ownsTransaction
           || std::find(c.savepoints.cbegin(), c.savepoints.cend(), t.savepoint)
                  != c.savepoints.cend();
}

Database::WriteToken Database::lockRow(const TableDef &table, qint64 recId)
{
    return lockRow(table, recId, nullptr);
}

Database::WriteToken Database::lockRow(const TableDef &table, qint64 recId,
                                       QVariantList *current)
{
    QStringList cols;
    for (const FieldDef &f : table.fields)
        cols << q(f.name);
    cols << q(QLatin1String(RecVerColumn));
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                      .arg(current ? cols.join(QLatin1Char(',')) : QStringLiteral("1"),
                           q(table.name), q(QLatin1String(RecIdColumn)));
    auto read = [&](QSqlQuery &qy) {
        if (!current)
            return;
        current->clear();
        if (!qy.next())
            return;
        for (int i = 0; i < cols.size(); ++i)
            current->append(qy.value(i));
    };
    if (m_engine == Engine::SQLite) {
        // no lock here: the post checks the row is unchanged instead
        if (current) {
            QSqlQuery &qy = execCached({}, sql, {recId});
            read(qy);
            qy.finish();
        }
        return {};
    }
    sql += QStringLiteral(" FOR UPDATE NOWAIT");
    if (connectionState(m_connectionName).transactionOpen) {
        // inside a walk the lock belongs to the walk's transaction and ends with it; a refused
        // try spoils only the savepoint, which is rolled back and tried again
        WriteToken t = beginWrite();
        for (int attempt = 0; attempt < 15; ++attempt) {
            if (attempt > 0)
                QThread::msleep(100);
            try {
                QSqlQuery qy = exec(sql, {recId});
                read(qy);
                return t;
            } catch (const EngineError &e) {
                QSqlQuery undo(connection());
                undo.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + t.savepoint);
                if (e.code() != EngineError::Code::Locked) {
                    rollbackWrite(t);
                    throw;
                }
            }
        }
        rollbackWrite(t);
    } else {
        // a record in edit holds its lock on a connection of its own, so the posts of other
        // datasets stay their own durable writes meanwhile
        const QString name = takeLockConnection().name;
        for (int attempt = 0; attempt < 15; ++attempt) {
            if (attempt > 0)
                QThread::msleep(100);
            Connection &lc = connectionState(name);
            WriteToken t;
            try {
                run(name, QStringLiteral("BEGIN"), {});
                lc.transactionOpen = true;
                ++lc.transaction;
                lc.savepoints.clear();
                t.active = true;
                t.ownsTransaction = true;
                t.connectionName = name;
                t.transaction = lc.transaction;
                QSqlQuery qy = run(name, sql, {recId});
                read(qy);
                return t;
            } catch (const EngineError &e) {
                if (t.active)
                    rollbackWrite(t);
                lc.busy = false;
                if (e.code() != EngineError::Code::Locked)
                    throw;
                lc.busy = true;
            }
        }
        connectionState(name).busy = false;
    }
    throw EngineError(QStringLiteral("The record is being edited by another user. Try again "
                                     "when they have finished."),
                      EngineError::Code::Locked);
}

void Database::flush()
{
    if (m_engine == Engine::SQLite && !connectionState(m_connectionName).transactionOpen) {
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
    // (SQLite sorts them first by itself; saying so would stop it reading the key index)
    if (m_engine == Engine::SQLite)
        t += descending ? QStringLiteral(" DESC NULLS LAST") : QString();
    else
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
