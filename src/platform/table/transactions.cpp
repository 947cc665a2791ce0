#include "platform/table/transactions.h"

#include "platform/table/database.h"
#include "platform/table/engineerror.h"
#include "platform/table/sqldialect.h"
#include "platform/table/statementrunner.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <algorithm>
#include <atomic>

namespace Brelvan::Table {

namespace {

constexpr int LockTries = 15;
constexpr int LockPauseMs = 100;

void quietly(const QString &connection, const QString &sql)
{
    QSqlQuery qy(QSqlDatabase::database(connection, false));
    qy.exec(sql);
}

EngineError lockedError()
{
    return EngineError(QStringLiteral("The record is being edited by another user. Try again "
                                      "when they have finished."),
                       EngineError::Code::Locked);
}

} // namespace

QString newConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("brelvan-%1").arg(++counter);
}

Transactions::Transactions(const SqlDialect &dialect, const StatementRunner &run,
                           const QString &mainConnection)
    : m_dialect(dialect), m_run(run), m_main(mainConnection)
{
    m_connections.push_back({m_main});
}

void Transactions::closeAll()
{
    for (const Connection &c : m_connections) {
        {
            QSqlDatabase db = QSqlDatabase::database(c.name, false);
            if (db.isOpen()) {
                // an unfinished walk or write is kept, as a close after a walk would keep it;
                // a record still held in edit is let go
                if (c.transactionOpen)
                    quietly(c.name, c.name == m_main && !c.aborted ? QStringLiteral("COMMIT")
                                                                   : QStringLiteral("ROLLBACK"));
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(c.name);
    }
    m_connections.clear();
    m_walks.clear();
}

Transactions::Connection &Transactions::state(const QString &name)
{
    for (Connection &c : m_connections) {
        if (c.name == name || (name.isEmpty() && c.name == m_main))
            return c;
    }
    return m_connections.front();
}

const Transactions::Connection &Transactions::state(const QString &name) const
{
    return const_cast<Transactions *>(this)->state(name);
}

bool Transactions::transactionOpen() const
{
    return state(m_main).transactionOpen;
}

bool Transactions::failed(const QString &connection, bool lost)
{
    if (m_connections.empty())
        return false;
    Connection &c = state(connection);
    if (!c.transactionOpen)
        return false;
    // on the server a failed statement spoils the transaction unless a savepoint takes it
    // back; a lost connection takes the whole transaction with it
    if (lost || (m_dialect.failureSpoilsTransaction() && c.savepoints.empty()))
        c.aborted = true;
    return c.aborted && c.name == m_main && !m_walks.empty();
}

void Transactions::beginWalk()
{
    m_walks.push_back(beginWrite());
}

void Transactions::endWalk()
{
    if (m_walks.empty())
        return;
    WriteToken t = m_walks.back();
    m_walks.pop_back();
    const bool undone = state(m_main).aborted && t.ownsTransaction;
    try {
        commitWrite(t);
    } catch (const WalkRolledBack &) {
        throw;
    } catch (const EngineError &e) {
        if (!t.ownsTransaction)
            throw;
        // a commit that failed took nothing
        throw WalkRolledBack(e.message(), e.code());
    }
    if (undone)
        throw WalkRolledBack(QStringLiteral("The tables could not keep the changes of this run: "
                                            "every one of them was undone."));
}

void Transactions::cancelWalk()
{
    if (m_walks.empty())
        return;
    WriteToken t = m_walks.back();
    m_walks.pop_back();
    rollbackWrite(t);
}

WriteToken Transactions::beginWrite()
{
    Connection &c = state(m_main);
    WriteToken t;
    if (!c.transactionOpen) {
        m_run.run(c.name, m_dialect.beginTransaction());
        c.transactionOpen = true;
        c.aborted = false;
        ++c.transaction;
        c.savepoints.clear();
        t.ownsTransaction = true;
    } else {
        t.savepoint = QStringLiteral("sp%1").arg(++m_savepointSeq);
        m_run.run(c.name, QStringLiteral("SAVEPOINT ") + t.savepoint);
        c.savepoints.push_back(t.savepoint);
    }
    t.active = true;
    t.transaction = c.transaction;
    return t;
}

WriteToken Transactions::beginWrite(const WriteToken &within)
{
    if (!within.active || within.connectionName.isEmpty())
        return beginWrite();
    Connection &c = state(within.connectionName);
    WriteToken t;
    t.savepoint = QStringLiteral("sp%1").arg(++m_savepointSeq);
    m_run.run(c.name, QStringLiteral("SAVEPOINT ") + t.savepoint);
    c.savepoints.push_back(t.savepoint);
    t.active = true;
    t.connectionName = c.name;
    t.transaction = c.transaction;
    return t;
}

void Transactions::endTransaction(Connection &c, bool commit)
{
    c.transactionOpen = false;
    c.busy = false;
    c.savepoints.clear();
    const bool aborted = c.aborted;
    c.aborted = false;
    if (!commit || aborted) {
        quietly(c.name, QStringLiteral("ROLLBACK"));
        return;
    }
    try {
        m_run.run(c.name, QStringLiteral("COMMIT"));
    } catch (...) {
        // a commit that failed took nothing: end the transaction so the refusal is true
        quietly(c.name, QStringLiteral("ROLLBACK"));
        throw;
    }
}

void Transactions::commitWrite(WriteToken &t)
{
    if (!t.active)
        return;
    t.active = false;
    Connection &c = state(t.connectionName);
    // a savepoint of a transaction that has ended, or released with one made before it,
    // went with it; a walk's row lock ends with the walk
    if (!isCurrent(t, c) || t.heldByWalk)
        return;
    if (t.ownsTransaction) {
        endTransaction(c, true);
    } else {
        c.savepoints.erase(std::find(c.savepoints.begin(), c.savepoints.end(), t.savepoint),
                           c.savepoints.end());
        m_run.run(c.name, QStringLiteral("RELEASE SAVEPOINT ") + t.savepoint);
    }
}

void Transactions::rollbackWrite(WriteToken &t)
{
    if (!t.active)
        return;
    t.active = false;
    Connection &c = state(t.connectionName);
    if (!isCurrent(t, c) || t.heldByWalk)
        return;
    if (t.ownsTransaction) {
        endTransaction(c, false);
    } else {
        c.savepoints.erase(std::find(c.savepoints.begin(), c.savepoints.end(), t.savepoint),
                           c.savepoints.end());
        quietly(c.name, QStringLiteral("ROLLBACK TO SAVEPOINT ") + t.savepoint);
        quietly(c.name, QStringLiteral("RELEASE SAVEPOINT ") + t.savepoint);
    }
}

bool Transactions::isCurrent(const WriteToken &t) const
{
    return t.active && !m_connections.empty() && isCurrent(t, state(t.connectionName));
}

bool Transactions::isCurrent(const WriteToken &t, const Connection &c)
{
    if (!c.transactionOpen || c.transaction != t.transaction)
        return false;
    return t.ownsTransaction || t.heldByWalk
           || std::find(c.savepoints.cbegin(), c.savepoints.cend(), t.savepoint)
                  != c.savepoints.cend();
}

Transactions::Connection &Transactions::takeLockConnection()
{
    for (Connection &c : m_connections) {
        if (c.name != m_main && !c.busy && !c.transactionOpen
            && QSqlDatabase::database(c.name, false).isOpen()) {
            c.busy = true;
            return c;
        }
    }
    const QString name = newConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::cloneDatabase(m_main, name);
        if (!db.open()) {
            const QString why = StatementRunner::reason(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw EngineError(QStringLiteral("The server %1 cannot be reached: %2")
                                  .arg(m_run.location(), why));
        }
        m_dialect.applySettings(db);
    }
    m_connections.push_back({name});
    m_connections.back().busy = true;
    return m_connections.back();
}

QString Transactions::selectForLock(const TableDef &table, int count, bool read) const
{
    QStringList cols;
    if (read) {
        for (const FieldDef &f : table.fields)
            cols << m_dialect.quoted(f.name);
        cols << m_dialect.quoted(QLatin1String(RecVerColumn));
    }
    cols.prepend(m_dialect.quoted(QLatin1String(RecIdColumn)));
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4)")
        .arg(cols.join(QLatin1Char(',')), m_dialect.quoted(table.name),
             m_dialect.quoted(QLatin1String(RecIdColumn)), marks.join(QLatin1Char(',')));
}

namespace {

void readLocked(QSqlQuery &qy, int columns, QHash<qint64, QVariantList> *current)
{
    while (qy.next()) {
        const qint64 id = qy.value(0).toLongLong();
        if (!current)
            continue;
        QVariantList row;
        row.reserve(columns);
        for (int i = 1; i <= columns; ++i)
            row.append(qy.value(i));
        current->insert(id, row);
    }
}

QVariantList ids(const QList<qint64> &list)
{
    QVariantList out;
    for (qint64 id : list)
        out << id;
    return out;
}

} // namespace

std::optional<WriteToken> Transactions::tryLockInWalk(const TableDef &table,
                                                      const QList<qint64> &wanted,
                                                      QHash<qint64, QVariantList> *current)
{
    // inside a walk the locks belong to the walk's transaction and end with it; rows
    // another user holds are passed over, so nothing here can spoil the transaction
    QSqlQuery qy = m_run.exec(selectForLock(table, int(wanted.size()), current != nullptr)
                                  + QStringLiteral(" FOR UPDATE SKIP LOCKED"),
                              ids(wanted));
    QHash<qint64, QVariantList> got;
    readLocked(qy, int(table.fields.size()) + 1, &got);
    const qint64 first = wanted.first();
    WriteToken t;
    t.active = true;
    t.heldByWalk = true;
    t.transaction = state(m_main).transaction;
    if (!got.contains(first)) {
        QSqlQuery probe = m_run.exec(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?")
                                         .arg(m_dialect.quoted(table.name),
                                              m_dialect.quoted(QLatin1String(RecIdColumn))),
                                     {first});
        if (probe.next())
            return std::nullopt; // held by another user
        got.insert(first, {});   // gone
    }
    if (current)
        *current = std::move(got);
    return t;
}

std::optional<WriteToken> Transactions::tryLockOnConnection(const QString &name,
                                                            const TableDef &table, qint64 id,
                                                            QHash<qint64, QVariantList> *current)
{
    // a record in edit holds its lock on a connection of its own, so the posts of other
    // datasets stay their own durable writes meanwhile
    Connection &lc = state(name);
    WriteToken t;
    try {
        m_run.run(name, m_dialect.beginTransaction());
        lc.transactionOpen = true;
        lc.aborted = false;
        ++lc.transaction;
        lc.savepoints.clear();
        t.active = true;
        t.ownsTransaction = true;
        t.connectionName = name;
        t.transaction = lc.transaction;
        QSqlQuery qy = m_run.run(name, selectForLock(table, 1, current != nullptr)
                                           + QStringLiteral(" FOR UPDATE NOWAIT"),
                                 {id});
        QHash<qint64, QVariantList> got;
        readLocked(qy, int(table.fields.size()) + 1, &got);
        if (current) {
            *current = std::move(got);
            if (!current->contains(id))
                current->insert(id, {});
        }
        return t;
    } catch (const EngineError &e) {
        if (t.active)
            rollbackWrite(t);
        lc.busy = e.code() == EngineError::Code::Locked;
        if (!lc.busy)
            throw;
        return std::nullopt;
    }
}

WriteToken Transactions::lockRows(const TableDef &table, const QList<qint64> &wanted,
                                  QHash<qint64, QVariantList> *current)
{
    if (!m_dialect.hasRowLocks()) {
        // no lock here: the post checks the row is unchanged instead
        if (current) {
            QSqlQuery &qy = m_run.runCached(QString(), selectForLock(table, 1, true),
                                            {wanted.first()});
            current->clear();
            readLocked(qy, int(table.fields.size()) + 1, current);
            qy.finish();
            if (!current->contains(wanted.first()))
                current->insert(wanted.first(), {});
        }
        return {};
    }
    const bool walk = transactionOpen();
    const QString name = walk ? QString() : takeLockConnection().name;
    for (int attempt = 0; attempt < LockTries; ++attempt) {
        if (attempt > 0)
            QThread::msleep(LockPauseMs);
        const std::optional<WriteToken> t =
            walk ? tryLockInWalk(table, attempt == 0 ? wanted : wanted.mid(0, 1), current)
                 : tryLockOnConnection(name, table, wanted.first(), current);
        if (t)
            return *t;
    }
    if (!walk)
        state(name).busy = false;
    throw lockedError();
}

} // namespace Brelvan::Table
