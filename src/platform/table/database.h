#pragma once

#include "platform/table/sqldialect.h"
#include "platform/table/statementrunner.h"
#include "platform/table/tabledef.h"
#include "platform/table/transactions.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <memory>

namespace Brelvan::Table {

// Where a remote set of tables lives: a PostgreSQL server. User, password and TLS follow
// libpq's own conventions (PGUSER, PGPASSWORD, ~/.pgpass, PGSSLMODE).
struct ServerAddress
{
    QString host;
    int port = 5432;
    QString database = QStringLiteral("Brelvan");
    // libpq gives up on an address after this long (it counts 2 s as its least)
    int connectTimeoutSeconds = 4;
};

// One open set of the program's tables: a SQLite file in a data folder, or a database on a
// PostgreSQL server. The datasets reach the tables only through this class; where the two
// engines differ it asks its SqlDialect, the layout is TableLayout's, statements run
// through StatementRunner and transactions and row locks are Transactions'.
//
// Several copies on one set of tables: on the server a record going into edit is locked on a
// connection of its own (or, inside a walk, in the walk's transaction), so other posts stay
// their own durable writes; on SQLite every write takes the folder's write lock for its
// moment and a post checks the row is unchanged. Either way a lost update is refused aloud.
class Database
{
public:
    using Engine = SqlDialect::Engine;
    using WriteToken = Table::WriteToken;

    static constexpr const char *FileName = "Brelvan.db";

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens the tables of a data folder; never creates anything. Throws EngineError saying
    // what is missing or wrong.
    static std::unique_ptr<Database> openFolder(const QString &folder, const Schema &schema);
    static std::unique_ptr<Database> openServer(const ServerAddress &server,
                                                const Schema &schema);
    // Makes the tables (for brelvan-data). Throws EngineError, also when tables exist.
    static std::unique_ptr<Database> createFolder(const QString &folder, const Schema &schema);
    static std::unique_ptr<Database> createOnServer(const ServerAddress &server,
                                                    const Schema &schema);
    // What is missing, wrong or damaged in a data folder; empty when it is valid. Reads
    // the file only: it changes nothing, and a read-only file will do.
    static QStringList checkFolder(const QString &folder, const Schema &schema);
    // Moves tables of an older layout forward to schema.version by the schema's steps, in one
    // transaction that keeps every record or changes nothing. Returns the version found.
    // Throws EngineError for a newer layout, a missing step or a failed one.
    static int upgradeFolder(const QString &folder, const Schema &schema);
    static int upgradeServer(const ServerAddress &server, const Schema &schema);

    Engine engine() const { return m_dialect->engine(); }
    const SqlDialect &dialect() const { return *m_dialect; }
    const StatementRunner &statements() const { return m_run; }
    const Schema &schema() const { return m_schema; }
    QSqlDatabase connection() const;
    QString location() const { return m_run.location(); }
    // The file the tables are read from, or the server's address: for messages.
    QString source() const { return m_source; }
    // The version of the table layout recorded in the tables.
    int layoutVersion() const { return m_layoutVersion; }

    // Runs one statement with bound values; throws EngineError on failure. On the server the
    // values go as escaped literals in one round trip, so a failed statement leaves no
    // prepared statement behind in an aborted transaction.
    QSqlQuery exec(const QString &sql, const QVariantList &binds = {}) const;
    // The same on the connection of a write (a record held in edit).
    QSqlQuery exec(const WriteToken &on, const QString &sql, const QVariantList &binds = {}) const;
    // The same for a statement run again and again (the posts of a walk): kept prepared, so
    // its result lasts only until the next call with the same text.
    QSqlQuery &execCached(const WriteToken &on, const QString &sql,
                          const QVariantList &binds = {}) const;

    // Walks: many posts in one transaction. A post that can fail on its own (a new record,
    // a changed key) has a savepoint of its own, so a refusal keeps the posts before it.
    void beginWalk() { m_tx.beginWalk(); }
    // Throws WalkRolledBack when the walk's changes could not be kept.
    void endWalk() { m_tx.endWalk(); }
    // Ends the innermost walk undoing every post made in it.
    void cancelWalk() { m_tx.cancelWalk(); }
    bool inWalk() const { return m_tx.inWalk(); }

    WriteToken beginWrite() { return m_tx.beginWrite(); }
    // A savepoint inside the transaction of another write, on its connection.
    WriteToken beginWrite(const WriteToken &within) { return m_tx.beginWrite(within); }
    void commitWrite(WriteToken &token) { m_tx.commitWrite(token); }
    void rollbackWrite(WriteToken &token) { m_tx.rollbackWrite(token); }

    // Rebuilds a table to the given layout inside the open transaction, keeping every record
    // and its record id: fields are copied by name, new ones start empty. For layout steps.
    void reshapeTable(const TableDef &table);

    // Makes every committed write visible to a plain copy of the data folder.
    void flush();

    // Engine-specific pieces of SQL text.
    QString quoted(const QString &identifier) const { return m_dialect->quoted(identifier); }
    QString orderTerm(const FieldDef &field, bool descending) const
    {
        return m_dialect->orderTerm(field, descending);
    }
    QString likeOperand(const FieldDef &field) const { return m_dialect->likeOperand(field); }
    QVariant toStored(const FieldDef &field, const QVariant &value) const
    {
        return m_dialect->toStored(field, value);
    }
    QVariant fromStored(const FieldDef &field, const QVariant &value) const
    {
        return m_dialect->fromStored(field, value);
    }

    // Locks the row of a record going into edit (PostgreSQL: a row lock tried 15 times
    // 100 ms apart, held in the returned write until it is committed or rolled back).
    // SQLite takes no lock here: the post checks the row is unchanged instead. Throws
    // EngineError (Locked) when another user holds the record.
    WriteToken lockRow(const TableDef &table, qint64 recId);
    // The same, also reading the record as the table holds it now, under the lock: its
    // stored field values in order, then its RecVer; empty when the record is gone.
    WriteToken lockRow(const TableDef &table, qint64 recId, QVariantList *current);
    // The same for the first of ids; inside a walk on the server the others are locked and
    // read too where no one else holds them (the walk edits them next).
    WriteToken lockRows(const TableDef &table, const QList<qint64> &ids,
                        QHash<qint64, QVariantList> *current)
    {
        return m_tx.lockRows(table, ids, current);
    }
    // Whether the transaction a write lives in is still open (a walk may have ended it).
    bool isCurrent(const WriteToken &token) const { return m_tx.isCurrent(token); }

    // The next automatic number of a counter (named "Table.Field"), given inside the write
    // it is posted in: one more than the last one given on these tables or than floor,
    // whichever is higher. Copies on one set of tables never get the same number.
    double takeNumber(const WriteToken &on, const QString &counter, double floor);

    // A value written as a PostgreSQL literal (text quoted, bytes in hex, NULL for empty).
    static QString serverLiteral(const QVariant &value);

private:
    Database(Engine engine, const Schema &schema);
    // The data folder's tables connected, not yet checked.
    static std::unique_ptr<Database> connectFolder(const QString &folder, const Schema &schema,
                                                   bool readOnly = false);
    static std::unique_ptr<Database> connectServer(const ServerAddress &server,
                                                   const Schema &schema);
    void validate();
    int upgrade();

    std::unique_ptr<SqlDialect> m_dialect;
    Schema m_schema;
    QString m_connectionName;
    QString m_source;
    int m_layoutVersion = 1;
    StatementRunner m_run;
    Transactions m_tx;
    bool m_numbersReady = false;
};

// Names of the hidden columns every table carries for updates and change checks.
inline constexpr const char *RecIdColumn = "RecId";
inline constexpr const char *RecVerColumn = "RecVer";
inline constexpr const char *LayoutTable = "BrelvanLayout";

} // namespace Brelvan::Table
