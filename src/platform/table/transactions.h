#pragma once

#include "platform/table/tabledef.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <deque>
#include <optional>
#include <vector>

namespace Brelvan::Table {

class SqlDialect;
class StatementRunner;

// A single write: its own transaction, or a savepoint inside an open one. On the server a
// record held in edit has its own connection, named here (empty: the main connection).
struct WriteToken
{
    bool active = false;
    bool ownsTransaction = false;
    QString savepoint;
    QString connectionName;
    quint64 transaction = 0; // the transaction of that connection the write lives in
    // a row lock taken by a walk: it lives in the walk's transaction itself, with no
    // savepoint, and ends with the walk
    bool heldByWalk = false;
};

// A name no other connection of this process has.
QString newConnectionName();

// The transactions of one set of tables: walks, writes and their savepoints, and the row
// locks of records in edit, on the main connection and the server's lock connections.
class Transactions
{
public:
    Transactions(const SqlDialect &dialect, const StatementRunner &run,
                 const QString &mainConnection);
    Transactions(const Transactions &) = delete;
    Transactions &operator=(const Transactions &) = delete;

    // Ends every connection: an unfinished walk or write is kept, a record in edit let go.
    void closeAll();

    void beginWalk();
    // Throws WalkRolledBack when the walk's transaction could not be kept.
    void endWalk();
    void cancelWalk();
    bool inWalk() const { return !m_walks.empty(); }
    bool transactionOpen() const;

    WriteToken beginWrite();
    WriteToken beginWrite(const WriteToken &within);
    void commitWrite(WriteToken &token);
    void rollbackWrite(WriteToken &token);
    bool isCurrent(const WriteToken &token) const;

    // Locks the row of ids.first() for an edit, trying 15 times 100 ms apart, and reads
    // each locked row as the table holds it now (its stored fields, then its RecVer; the
    // first id maps to an empty list when the record is gone). Inside a walk on the server
    // the other ids are locked as well where no one else holds them: the walk is going to
    // edit them next. Throws EngineError (Locked) when another user holds the record.
    WriteToken lockRows(const TableDef &table, const QList<qint64> &ids,
                        QHash<qint64, QVariantList> *current);

    // For the statement runner: a failed statement on a connection; true when it undid
    // the walk the connection was in.
    bool failed(const QString &connection, bool lost);

private:
    struct Connection
    {
        QString name;
        bool transactionOpen = false;
        quint64 transaction = 0; // counts the transactions begun on it
        bool busy = false;       // a lock connection lent to a record in edit
        bool aborted = false;    // the open transaction can only be rolled back
        std::vector<QString> savepoints; // open ones, oldest first
    };

    Connection &state(const QString &name);
    const Connection &state(const QString &name) const;
    static bool isCurrent(const WriteToken &token, const Connection &connection);
    Connection &takeLockConnection();
    void endTransaction(Connection &c, bool commit);
    QString selectForLock(const TableDef &table, int count, bool read) const;
    std::optional<WriteToken> tryLockInWalk(const TableDef &table, const QList<qint64> &ids,
                                            QHash<qint64, QVariantList> *current);
    std::optional<WriteToken> tryLockOnConnection(const QString &name, const TableDef &table,
                                                  qint64 id, QHash<qint64, QVariantList> *current);

    const SqlDialect &m_dialect;
    const StatementRunner &m_run;
    QString m_main;
    std::vector<WriteToken> m_walks;
    std::deque<Connection> m_connections; // [0] the main one, then lock connections
    int m_savepointSeq = 0;
};

} // namespace Brelvan::Table
