#include "platform/table/sqldialect.h"

#include "platform/table/postgresdialect.h"
#include "platform/table/sqlitedialect.h"

#include <QDate>

namespace Brelvan::Table {

std::unique_ptr<SqlDialect> SqlDialect::create(Engine engine)
{
    if (engine == Engine::SQLite)
        return std::make_unique<SqliteDialect>();
    return std::make_unique<PostgresDialect>();
}

QString SqlDialect::quoted(const QString &identifier) const
{
    return QLatin1Char('"') + identifier + QLatin1Char('"');
}

QVariant SqlDialect::toStored(const FieldDef &f, const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (f.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        QString s = v.toString();
        if (s.isEmpty())
            return {};
        return s;
    }
    case FieldType::Date: {
        const QDate d = v.toDate();
        if (!d.isValid())
            return {};
        return storedDate(d);
    }
    case FieldType::Money:
    case FieldType::Float: return v.toDouble();
    case FieldType::SmallInt:
    case FieldType::Integer: return v.toInt();
    case FieldType::Picture: {
        const QByteArray b = v.toByteArray();
        return b.isEmpty() ? QVariant() : QVariant(b);
    }
    }
    return v;
}

QVariant SqlDialect::fromStored(const FieldDef &f, const QVariant &v) const
{
    if (v.isNull())
        return {};
    switch (f.type) {
    case FieldType::Text:
    case FieldType::Memo: return v.toString();
    case FieldType::Date:
        if (v.metaType().id() == QMetaType::QDate)
            return v;
        return QDate::fromString(v.toString().left(10), Qt::ISODate);
    case FieldType::Money:
    case FieldType::Float: return v.toDouble();
    case FieldType::SmallInt:
    case FieldType::Integer: return v.toInt();
    case FieldType::Picture: return v.toByteArray();
    }
    return v;
}

} // namespace Brelvan::Table
