#pragma once

#include "platform/table/sqldialect.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <functional>

namespace Brelvan::Table {

// Runs the engine's statements on its connections and turns every failure into an
// EngineError that says what happened in the user's words.
class StatementRunner
{
public:
    // Told of a failed statement that reached the engine, on which connection and whether
    // the connection itself was lost; answers whether the failure undid a whole walk.
    using FailureHandler = std::function<bool(const QString &connection, bool lost)>;

    StatementRunner(const SqlDialect &dialect, const QString &mainConnection);
    ~StatementRunner();

    void setLocation(const QString &location) { m_location = location; }
    QString location() const { return m_location; }
    void setFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }

    // One statement with bound values on a connection (empty: the main one).
    QSqlQuery run(const QString &connection, const QString &sql,
                  const QVariantList &binds = {}) const;
    QSqlQuery exec(const QString &sql, const QVariantList &binds = {}) const
    {
        return run(QString(), sql, binds);
    }
    // The same for a statement run again and again: kept prepared where the engine binds
    // values, so its result lasts only until the next call with the same text.
    QSqlQuery &runCached(const QString &connection, const QString &sql,
                         const QVariantList &binds) const;
    // Drops the prepared statements (before the connections close).
    void clear();

    // The reason a driver gives for a failure, on one line.
    static QString reason(const QSqlError &error);

private:
    [[noreturn]] void raise(const QSqlQuery &query, const QString &connection) const;
    QSqlDatabase database(const QString &connection) const;

    const SqlDialect &m_dialect;
    QString m_main;
    QString m_location;
    FailureHandler m_onFailure;
    mutable QHash<QString, QSqlQuery> m_statements; // prepared for reuse, by text
    mutable QSqlQuery m_literalResult;              // the answer to runCached with literals
};

} // namespace Brelvan::Table
