#pragma once

#include "platform/table/sqldialect.h"

namespace Brelvan::Table {

// A data folder's tables: one SQLite file, values bound to prepared statements.
class SqliteDialect : public SqlDialect
{
public:
    Engine engine() const override { return Engine::SQLite; }
    QString columnType(const FieldDef &field) const override;
    QStringList recordColumns() const override;
    QStringList keyIndexStatements(const TableDef &table) const override;
    bool typeMatches(const FieldDef &field, const Column &column) const override;
    QString tableExistsSql() const override;
    QList<Column> columns(const StatementRunner &run, const QString &table) const override;
    void afterRename(const StatementRunner &, const TableDef &, const QString &) const override
    {
    }
    QString orderTerm(const FieldDef &field, bool descending) const override;
    QString likeOperand(const FieldDef &field) const override;
    QString compareOperand(const FieldDef &field) const override;
    QString beginTransaction() const override;
    QString returningId() const override { return {}; }
    QString counterTable() const override;
    QString counterUpsert() const override;
    void applySettings(QSqlDatabase &db) const override;
    bool bindsAsLiterals() const override { return false; }
    QString flushStatement() const override;
    bool hasRowLocks() const override { return false; }
    bool remote() const override { return false; }
    bool failureSpoilsTransaction() const override { return false; }

protected:
    QVariant storedDate(const QDate &date) const override;
};

} // namespace Brelvan::Table
