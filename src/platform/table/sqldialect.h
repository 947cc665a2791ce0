#pragma once

#include "platform/table/tabledef.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace Brelvan::Table {

class StatementRunner;

// Everything that differs between the two engines, in one place: column types, the SQL
// text of a few statements, how values are stored and how the catalogue is read. The rest
// of the engine writes one SQL text for both and asks this object where they part.
class SqlDialect
{
public:
    enum class Engine { SQLite, PostgreSQL };

    // A column as the catalogue describes it.
    struct Column
    {
        QString name;
        QString type;
        int width = 0;
    };

    virtual ~SqlDialect() = default;
    static std::unique_ptr<SqlDialect> create(Engine engine);

    virtual Engine engine() const = 0;

    // --- the table layout
    virtual QString columnType(const FieldDef &field) const = 0;
    // the definitions of the hidden record id and version columns
    virtual QStringList recordColumns() const = 0;
    // the unique index that keeps the key (empty values collide) and any index for its order
    virtual QStringList keyIndexStatements(const TableDef &table) const = 0;
    virtual bool typeMatches(const FieldDef &field, const Column &column) const = 0;
    // SELECT 1 when a table of the name (one bound value) exists
    virtual QString tableExistsSql() const = 0;
    // the columns of a table, in order; empty when there is no such table
    virtual QList<Column> columns(const StatementRunner &run, const QString &table) const = 0;
    // after a table was rebuilt under a temporary name and renamed back
    virtual void afterRename(const StatementRunner &run, const TableDef &table,
                             const QString &temporary) const = 0;

    // --- the SQL text of queries and writes
    QString quoted(const QString &identifier) const;
    virtual QString orderTerm(const FieldDef &field, bool descending) const = 0;
    virtual QString likeOperand(const FieldDef &field) const = 0;
    // the left side of a comparison with a literal (text compares by code point)
    virtual QString compareOperand(const FieldDef &field) const = 0;
    virtual QString beginTransaction() const = 0;
    // what follows an INSERT so that it returns the new record id as its one row, or empty
    // when the id is read from the query's last insert id instead
    virtual QString returningId() const = 0;
    // the hidden table of automatic numbers, and the statement that counts one up
    virtual QString counterTable() const = 0;
    // bound: name, floor, floor; returns the number given
    virtual QString counterUpsert() const = 0;

    // --- values
    QVariant toStored(const FieldDef &field, const QVariant &value) const;
    QVariant fromStored(const FieldDef &field, const QVariant &value) const;

    // --- connections and statements
    virtual void applySettings(QSqlDatabase &db) const = 0;
    // true when values go into the statement's text as literals instead of being bound
    virtual bool bindsAsLiterals() const = 0;
    // the statement that makes committed writes visible to a plain copy; empty for none
    virtual QString flushStatement() const = 0;
    // whether a record in edit is held by a row lock of the engine (else the post checks it)
    virtual bool hasRowLocks() const = 0;
    // whether the tables are across a connection that can be lost
    virtual bool remote() const = 0;
    // whether a failed statement spoils its transaction unless a savepoint takes it back
    virtual bool failureSpoilsTransaction() const = 0;

protected:
    virtual QVariant storedDate(const QDate &date) const = 0;
};

} // namespace Brelvan::Table
