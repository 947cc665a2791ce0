#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace Brelvan::Table {

enum class FieldType { Text, Date, Memo, Money, Float, SmallInt, Integer, Picture };

struct FieldDef
{
    QString name;
    FieldType type = FieldType::Text;
    int width = 0; // characters, for Text only

    bool isText() const { return type == FieldType::Text || type == FieldType::Memo; }
    bool isNumber() const
    {
        return type == FieldType::Money || type == FieldType::Float
               || type == FieldType::SmallInt || type == FieldType::Integer;
    }
};

struct IndexDef
{
    QString name;
    QStringList fields;
};

struct TableDef
{
    QString name;
    QList<FieldDef> fields;
    QStringList key;           // the unique primary index, in order
    QList<IndexDef> indexes;   // secondary indexes

    // -1 when the table has no such field; names are not case sensitive
    int indexOf(const QString &field) const;
    const FieldDef *field(const QString &name) const;
};

class Database;

// One step that moves tables from the layout before it to layout `version`.
struct LayoutStep
{
    int version = 0;
    QString description;
    QStringList reshapedTables;               // rebuilt to their layout in the schema
    std::function<void(Database &)> migrate;  // further changes, after the reshapes
};

// A set of tables: what a data folder must hold.
struct Schema
{
    int version = 1;
    QList<TableDef> tables;
    QList<LayoutStep> steps; // how older layouts are moved forward, one step per version

    const TableDef *table(const QString &name) const;
};

QString fieldTypeName(FieldType type);

} // namespace Brelvan::Table
