#include "platform/table/statementrunner.h"

#include "platform/table/engineerror.h"
#include "platform/table/postgresdialect.h"

#include <QSqlError>

namespace Brelvan::Table {

namespace {

QString firstLine(const QString &text)
{
    const QString t = text.trimmed();
    const int nl = t.indexOf(QLatin1Char('\n'));
    return nl < 0 ? t : t.left(nl).trimmed();
}

} // namespace

StatementRunner::StatementRunner(const SqlDialect &dialect, const QString &mainConnection)
    : m_dialect(dialect), m_main(mainConnection)
{}

StatementRunner::~StatementRunner()
{
    clear();
}

void StatementRunner::clear()
{
    m_statements.clear();
    m_literalResult = QSqlQuery();
}

QSqlDatabase StatementRunner::database(const QString &connection) const
{
    return QSqlDatabase::database(connection.isEmpty() ? m_main : connection, false);
}

QString StatementRunner::reason(const QSqlError &error)
{
    QString why = firstLine(error.databaseText());
    if (why.isEmpty())
        why = firstLine(error.driverText());
    if (why.isEmpty())
        why = QStringLiteral("no reason was given");
    return why;
}

QSqlQuery StatementRunner::run(const QString &connection, const QString &sql,
                               const QVariantList &binds) const
{
    QSqlQuery qy(database(connection));
    qy.setForwardOnly(true);
    if (binds.isEmpty() || m_dialect.bindsAsLiterals()) {
        const QString text = binds.isEmpty() ? sql : PostgresDialect::withLiterals(sql, binds);
        if (!qy.exec(text))
            raise(qy, connection);
        return qy;
    }
    if (!qy.prepare(sql))
        raise(qy, connection);
    for (const QVariant &v : binds)
        qy.addBindValue(v);
    if (!qy.exec())
        raise(qy, connection);
    return qy;
}

QSqlQuery &StatementRunner::runCached(const QString &connection, const QString &sql,
                                      const QVariantList &binds) const
{
    if (m_dialect.bindsAsLiterals() || !connection.isEmpty()) {
        m_literalResult = run(connection, sql, binds);
        return m_literalResult;
    }
    // a walk posts the same few statements thousands of times: prepare each once
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        QSqlQuery qy(database(QString()));
        qy.setForwardOnly(true);
        if (!qy.prepare(sql))
            raise(qy, QString());
        it = m_statements.emplace(sql, std::move(qy));
    }
    QSqlQuery &qy = it.value();
    for (int i = 0; i < binds.size(); ++i)
        qy.bindValue(i, binds.at(i));
    if (!qy.exec())
        raise(qy, QString());
    return qy;
}

void StatementRunner::raise(const QSqlQuery &query, const QString &connection) const
{
    const QSqlError err = query.lastError();
    const QString native = err.nativeErrorCode();
    const QString text = err.databaseText();
    // 08xxx and 57P0x: the server went away
    const bool lost = native.startsWith(QLatin1String("08"))
                      || native.startsWith(QLatin1String("57P0"))
                      || (m_dialect.remote() && !database(connection).isOpen());
    const bool undone = m_onFailure && m_onFailure(connection, lost);
    auto fail = [undone](const QString &message, EngineError::Code code) {
        if (undone)
            throw WalkRolledBack(message, code);
        throw EngineError(message, code);
    };
    // SQLite 2067 / PostgreSQL 23505: a unique index refused the row
    if (native == QLatin1String("2067") || native == QLatin1String("1555")
        || native == QLatin1String("23505") || text.contains(QLatin1String("UNIQUE constraint"))
        || text.contains(QLatin1String("duplicate key")))
        fail(QStringLiteral("Key violation: another record already has the same key values. "
                            "The record was not saved."),
             EngineError::Code::DuplicateKey);
    // PostgreSQL 55P03: a row held by another copy outwaited the lock timeout
    if (native == QLatin1String("55P03"))
        fail(QStringLiteral("The record is being edited by another user. Try again when they "
                            "have finished."),
             EngineError::Code::Locked);
    if (native == QLatin1String("5") || native == QLatin1String("6")
        || text.contains(QLatin1String("database is locked")))
        fail(QStringLiteral("The tables are busy with another user's change; try again."),
             EngineError::Code::Locked);
    if (lost)
        fail(QStringLiteral("The connection to the server %1 was lost: %2")
                 .arg(m_location, reason(err)),
             EngineError::Code::General);
    fail(QStringLiteral("Table engine error: %1").arg(err.text()), EngineError::Code::General);
    Q_UNREACHABLE();
}

} // namespace Brelvan::Table
