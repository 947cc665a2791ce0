#include "platform/table/tabledef.h"

namespace Brelvan::Table {

int TableDef::indexOf(const QString &name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const FieldDef *TableDef::field(const QString &name) const
{
    const int i = indexOf(name);
    return i < 0 ? nullptr : &fields.at(i);
}

const TableDef *Schema::table(const QString &name) const
{
    QString bare = name;
    // the diary table is named with its old file extension
    if (bare.endsWith(QLatin1String(".DAT"), Qt::CaseInsensitive))
        bare.chop(4);
    for (const TableDef &t : tables) {
        if (t.name.compare(bare, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

QString fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::Text: return QStringLiteral("Text");
    case FieldType::Date: return QStringLiteral("Date");
    case FieldType::Memo: return QStringLiteral("Memo");
    case FieldType::Money: return QStringLiteral("Money");
    case FieldType::Float: return QStringLiteral("Float");
    case FieldType::SmallInt: return QStringLiteral("Small integer");
    case FieldType::Integer: return QStringLiteral("Integer");
    case FieldType::Picture: return QStringLiteral("Picture");
    }
    return {};
}

} // namespace Brelvan::Table
