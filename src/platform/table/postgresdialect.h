#pragma once

#include "platform/table/sqldialect.h"

#include <QDate>

namespace Brelvan::Table {

// A database on a PostgreSQL server: values written into the statement as escaped literals,
// so a statement is one round trip and leaves nothing prepared behind in a failed transaction.
class PostgresDialect : public SqlDialect
{
public:
    Engine engine() const override { return Engine::PostgreSQL; }
    QString columnType(const FieldDef &field) const override;
    QStringList recordColumns() const override;
    QStringList keyIndexStatements(const TableDef &table) const override;
    bool typeMatches(const FieldDef &field, const Column &column) const override;
    QString tableExistsSql() const override;
    QList<Column> columns(const StatementRunner &run, const QString &table) const override;
    void afterRename(const StatementRunner &run, const TableDef &table,
                     const QString &temporary) const override;
    QString orderTerm(const FieldDef &field, bool descending) const override;
    QString likeOperand(const FieldDef &field) const override;
    QString compareOperand(const FieldDef &field) const override;
    QString beginTransaction() const override { return QStringLiteral("BEGIN"); }
    QString returningId() const override;
    QString counterTable() const override;
    QString counterUpsert() const override;
    void applySettings(QSqlDatabase &db) const override;
    bool bindsAsLiterals() const override { return true; }
    QString flushStatement() const override { return {}; }
    bool hasRowLocks() const override { return true; }
    bool remote() const override { return true; }
    bool failureSpoilsTransaction() const override { return true; }

    // A value written as a literal (text quoted, bytes in hex, NULL for empty).
    static QString literal(const QVariant &value);
    // The statement with each ? outside quotes replaced by the next value as a literal.
    static QString withLiterals(const QString &sql, const QVariantList &binds);

protected:
    QVariant storedDate(const QDate &date) const override { return date; }
};

} // namespace Brelvan::Table
