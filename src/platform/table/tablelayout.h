#pragma once

#include "platform/table/tabledef.h"

#include <QStringList>

namespace Brelvan::Table {

class Database;
class SqlDialect;

// The shape of a set of tables: making it, checking it against the schema, and moving an
// older layout forward by the schema's steps.
class TableLayout
{
public:
    explicit TableLayout(Database &db);

    // Every statement that makes the schema's tables in an empty database.
    static QStringList createStatements(const SqlDialect &dialect, const Schema &schema);

    // The version recorded in the tables; 0 when none is.
    int readVersion() const;
    // What is missing or wrong; empty when the tables fit the schema.
    QStringList problems() const;
    // Throws EngineError unless the tables fit the schema at its version.
    void validate(int version) const;
    // Moves the tables forward in one transaction; returns the version found.
    int upgrade();
    // Rebuilds a table to its layout inside the open transaction, keeping every record.
    void reshape(const TableDef &table);

private:
    static QStringList tableStatements(const SqlDialect &dialect, const TableDef &table,
                                       const QString &name);
    static QStringList indexStatements(const SqlDialect &dialect, const TableDef &table);
    bool tableExists(const QString &name) const;
    qint64 rowCount(const QString &table) const;

    Database &m_db;
};

} // namespace Brelvan::Table
