#pragma once

#include "platform/table/tabledef.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <memory>
#include <deque>
#include <vector>

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
// PostgreSQL server. The datasets reach the tables only through this class, so the engine
// differences stay here.
//
// Several copies on one set of tables: on the server a record going into edit is locked on a
// connection of its own (or, inside a walk, in the walk's transaction), so other posts stay
// their own durable writes; on SQLite every write takes the folder's write lock for its
// moment and a post checks the row is unchanged. Either way a lost update is refused aloud.
class Database
{
public:
    enum class Engine { SQLite, PostgreSQL };

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
    // What is missing or wrong in a data folder; empty when it is valid.
    static QStringList checkFolder(const QString &folder, const Schema &schema);
    // Moves tables of an older layout forward to schema.version by the schema's steps, in one
    // transaction that keeps every record or changes nothing. Returns the version found.
    // Throws EngineError for a newer layout, a missing step or a failed one.
    static int upgradeFolder(const QString &folder, const Schema &schema);
    static int upgradeServer(const ServerAddress &server, const Schema &schema);

    Engine engine() const { return m_engine; }
    const Schema &schema() const { return m_schema; }
    QSqlDatabase connection() const;
    QString location() const { return m_location; }
    // The version of the table layout recorded in the tables.
    int layoutVersion() const { return m_layoutVersion; }

    // A single write: its own transaction, or a savepoint inside an open one. On the server a
    // record held in edit has its own connection, named here (empty: the main connection).
    struct WriteToken
    {
        bool active = false;
        bool ownsTransaction = false;
        QString savepoint;
        QString connectionName;
        quint64 transaction = 0; // the transaction of that connection the write lives in
    };

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

    // Walks: many posts in one transaction, each post in its own savepoint.
    void beginWalk();
    void endWalk();
    // Ends the innermost walk undoing every post made in it.
    void cancelWalk();
    bool inWalk() const { return !m_walks.empty(); }

    WriteToken beginWrite();
    // A savepoint inside the transaction of another write, on its connection.
    WriteToken beginWrite(const WriteToken &within);
    void commitWrite(WriteToken &token);
    void rollbackWrite(WriteToken &token);

    // Rebuilds a table to the given layout inside the open transaction, keeping every record
    // and its record id: fields are copied by name, new ones start empty. For layout steps.
    void reshapeTable(const TableDef &table);

    // Makes every committed write visible to a plain copy of the data folder.
    void flush();

    // Engine-specific pieces of SQL text.
    QString quoted(const QString &identifier) const;
    QString orderTerm(const FieldDef &field, bool descending) const;
    QString likeOperand(const FieldDef &field) const;
    QVariant toStored(const FieldDef &field, const QVariant &value) const;
    QVariant fromStored(const FieldDef &field, const QVariant &value) const;

    // Locks the row of a record going into edit (PostgreSQL: a row lock tried 15 times
    // 100 ms apart, held in the returned write until it is committed or rolled back).
    // SQLite takes no lock here: the post checks the row is unchanged instead. Throws
    // EngineError (Locked) when another user holds the record.
    WriteToken lockRow(const TableDef &table, qint64 recId);
    // The same, also reading the record as the table holds it now, under the lock: its
    // stored field values in order, then its RecVer; empty when the record is gone.
    WriteToken lockRow(const TableDef &table, qint64 recId, QVariantList *current);
    // Whether the transaction a write lives in is still open (a walk may have ended it).
    bool isCurrent(const WriteToken &token) const;

    // A value written as a PostgreSQL literal (text quoted, bytes in hex, NULL for empty).
    static QString serverLiteral(const QVariant &value);

private:
    // The data folder's tables connected, not yet checked.
    static std::unique_ptr<Database> connectFolder(const QString &folder, const Schema &schema);
    struct Connection
    {
        QString name;
        bool transactionOpen = false;
        quint64 transaction = 0; // counts the transactions begun on it
        bool busy = false;       // a lock connection lent to a record in edit
        std::vector<QString> savepoints; // open ones, oldest first
    };
    static bool isCurrent(const WriteToken &token, const Connection &connection);

    Database(Engine engine, const Schema &schema);
    void validate() const;
    void readLayoutVersion();
    QStringList problems() const;
    int upgrade();
    qint64 rowCount(const QString &table) const;
    static QStringList tableStatements(Engine engine, const TableDef &t, const QString &name);
    static QStringList indexStatements(Engine engine, const TableDef &t);
    static QStringList createStatements(Engine engine, const Schema &schema);
    static std::unique_ptr<Database> connectServer(const ServerAddress &server,
                                                   const Schema &schema);
    Connection &connectionState(const QString &name);
    const Connection &connectionState(const QString &name) const;
    Connection &takeLockConnection();
    QSqlQuery run(const QString &connection, const QString &sql, const QVariantList &binds) const;
    [[noreturn]] void raise(const QSqlQuery &query, const QString &sql) const;

    Engine m_engine;
    Schema m_schema;
    QString m_connectionName;
    QString m_location;
    int m_layoutVersion = 1;
    std::vector<WriteToken> m_walks;
    std::deque<Connection> m_connections; // [0] the main one, then lock connections
    int m_savepointSeq = 0;
    mutable QHash<QString, QSqlQuery> m_statements; // SQLite: prepared for reuse, by text
    mutable QSqlQuery m_serverResult;               // the server's answer to execCached
};

// Names of the hidden columns every table carries for updates and change checks.
inline constexpr const char *RecIdColumn = "RecId";
inline constexpr const char *RecVerColumn = "RecVer";
inline constexpr const char *LayoutTable = "BrelvanLayout";

} // namespace Brelvan::Table
