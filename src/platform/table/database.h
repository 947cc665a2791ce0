#pragma once

#include "platform/table/tabledef.h"

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
    int connectTimeoutSeconds = 4;
};

// One open set of the program's tables: a SQLite file in a data folder, or a database on a
// PostgreSQL server. The datasets reach the tables only through this class, so the engine
// differences stay here.
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

    Engine engine() const { return m_engine; }
    const Schema &schema() const { return m_schema; }
    QSqlDatabase connection() const;
    QString location() const { return m_location; }
    // The version of the table layout recorded in the tables.
    int layoutVersion() const { return m_layoutVersion; }

    // Runs one statement with bound values; throws EngineError on failure.
    QSqlQuery exec(const QString &sql, const QVariantList &binds = {}) const;

    // Walks: many posts in one transaction, each post in its own savepoint.
    void beginWalk();
    void endWalk();
    bool inWalk() const { return m_walkDepth > 0; }

    // A single write: its own transaction, or a savepoint inside an open one.
    struct WriteToken
    {
        bool active = false;
        bool ownsTransaction = false;
        QString savepoint;
    };
    WriteToken beginWrite();
    void commitWrite(WriteToken &token);
    void rollbackWrite(WriteToken &token);

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

private:
    Database(Engine engine, const Schema &schema);
    void validate() const;
    void readLayoutVersion();
    QStringList problems() const;
    static QStringList createStatements(Engine engine, const Schema &schema);
    [[noreturn]] void raise(const QSqlQuery &query, const QString &sql) const;

    Engine m_engine;
    Schema m_schema;
    QString m_connectionName;
    QString m_location;
    int m_layoutVersion = 1;
    int m_walkDepth = 0;
    bool m_walkOwnsTransaction = false;
    bool m_transactionOpen = false;
    int m_savepointSeq = 0;
};

// Names of the hidden columns every table carries for updates and change checks.
inline constexpr const char *RecIdColumn = "RecId";
inline constexpr const char *RecVerColumn = "RecVer";
inline constexpr const char *LayoutTable = "BrelvanLayout";

} // namespace Brelvan::Table
