#include "platform/table/postgresdialect.h"

#include "platform/table/engineerror.h"
#include "platform/table/statementrunner.h"

#include <QDate>
#include <QLocale>
#include <QSqlQuery>

namespace Brelvan::Table {

QString PostgresDialect::columnType(const FieldDef &f) const
{
    switch (f.type) {
    case FieldType::Text: return QStringLiteral("varchar(%1)").arg(f.width);
    case FieldType::Date: return QStringLiteral("date");
    case FieldType::Memo: return QStringLiteral("text");
    case FieldType::Money:
    case FieldType::Float: return QStringLiteral("double precision");
    case FieldType::SmallInt: return QStringLiteral("smallint");
    case FieldType::Integer: return QStringLiteral("integer");
    case FieldType::Picture: return QStringLiteral("bytea");
    }
    return {};
}

QStringList PostgresDialect::recordColumns() const
{
    return {quoted(QStringLiteral("RecId")) + QStringLiteral(" bigserial PRIMARY KEY"),
            quoted(QStringLiteral("RecVer")) + QStringLiteral(" integer NOT NULL DEFAULT 0")};
}

QStringList PostgresDialect::keyIndexStatements(const TableDef &t) const
{
    QStringList plain;
    for (const QString &k : t.key)
        plain << quoted(k);
    // empty key values must collide: two blank keys are a duplicate
    return {QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3) NULLS NOT DISTINCT")
                .arg(quoted(t.name + QLatin1String("_Key")), quoted(t.name),
                     plain.join(QLatin1String(", ")))};
}

bool PostgresDialect::typeMatches(const FieldDef &f, const Column &c) const
{
    if (f.type == FieldType::Text)
        return c.type == QLatin1String("character varying") && c.width == f.width;
    return c.type == columnType(f);
}

QString PostgresDialect::tableExistsSql() const
{
    return QStringLiteral("SELECT 1 FROM information_schema.tables WHERE "
                          "table_schema = current_schema() AND table_name = ?");
}

QList<SqlDialect::Column> PostgresDialect::columns(const StatementRunner &run,
                                                   const QString &table) const
{
    QList<Column> out;
    QSqlQuery qy = run.exec(QStringLiteral(
        "SELECT column_name, data_type, coalesce(character_maximum_length, 0) "
        "FROM information_schema.columns WHERE table_schema = current_schema() "
        "AND table_name = ? ORDER BY ordinal_position"), {table});
    while (qy.next())
        out.append({qy.value(0).toString(), qy.value(1).toString(), qy.value(2).toInt()});
    return out;
}

void PostgresDialect::afterRename(const StatementRunner &run, const TableDef &def,
                                  const QString &temp) const
{
    // the names the table's own pieces had when it was made under its own name
    const QString seq = def.name + QLatin1String("_RecId_seq");
    run.exec(QStringLiteral("ALTER TABLE %1 RENAME CONSTRAINT %2 TO %3")
                 .arg(quoted(def.name), quoted(temp + QLatin1String("_pkey")),
                      quoted(def.name + QLatin1String("_pkey"))));
    run.exec(QStringLiteral("ALTER SEQUENCE %1 RENAME TO %2")
                 .arg(quoted(temp + QLatin1String("_RecId_seq")), quoted(seq)));
    run.exec(QStringLiteral("SELECT setval(?, coalesce((SELECT max(%1) FROM %2), 0) + 1, false)")
                 .arg(quoted(QStringLiteral("RecId")), quoted(def.name)),
             {quoted(seq)});
}

QString PostgresDialect::orderTerm(const FieldDef &field, bool descending) const
{
    QString t = quoted(field.name);
    if (field.isText())
        t += QStringLiteral(" COLLATE \"C\"");
    // empty values first, as the user reads a list upwards from the blanks
    return t + (descending ? QStringLiteral(" DESC NULLS LAST") : QStringLiteral(" ASC NULLS FIRST"));
}

QString PostgresDialect::likeOperand(const FieldDef &field) const
{
    const QString c = quoted(field.name);
    return field.isText() ? c : c + QStringLiteral("::text");
}

QString PostgresDialect::compareOperand(const FieldDef &field) const
{
    return field.isText() ? quoted(field.name) + QStringLiteral(" COLLATE \"C\"")
                          : quoted(field.name);
}

QString PostgresDialect::returningId() const
{
    return QStringLiteral(" RETURNING ") + quoted(QStringLiteral("RecId"));
}

QString PostgresDialect::counterTable() const
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS \"BrelvanNumbers\" (\"Name\" text "
                          "PRIMARY KEY, \"Last\" double precision NOT NULL)");
}

QString PostgresDialect::counterUpsert() const
{
    return QStringLiteral("INSERT INTO \"BrelvanNumbers\" AS n (\"Name\", \"Last\") VALUES "
                          "(?, ? + 1) ON CONFLICT (\"Name\") DO UPDATE SET \"Last\" = "
                          "greatest(n.\"Last\", ?) + 1 RETURNING \"Last\"");
}

void PostgresDialect::applySettings(QSqlDatabase &db) const
{
    QSqlQuery qy(db);
    // literals are written with plain quotes doubled: backslashes must stay plain text
    qy.exec(QStringLiteral("SET standard_conforming_strings = on"));
    // a statement that meets a record held by another copy waits as the lock retries do
    // (15 tries 100 ms apart), then fails instead of freezing the window
    qy.exec(QStringLiteral("SET lock_timeout = '1500ms'"));
}

QString PostgresDialect::literal(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QStringLiteral("NULL");
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const QString n = v.toString();
        return n.startsWith(QLatin1Char('-')) ? QLatin1Char('(') + n + QLatin1Char(')') : n;
    }
    case QMetaType::Double:
    case QMetaType::Float:
        // shortest text that reads back as the very same double; nan and inf included
        return QStringLiteral("float8 '%1'")
            .arg(QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest));
    case QMetaType::QDate:
        return QStringLiteral("DATE '%1'").arg(v.toDate().toString(Qt::ISODate));
    case QMetaType::QDateTime:
        return QStringLiteral("TIMESTAMP '%1'")
            .arg(v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
    case QMetaType::QByteArray:
        return QStringLiteral("'\\x%1'::bytea").arg(QString::fromLatin1(v.toByteArray().toHex()));
    default: break;
    }
    QString s = v.toString();
    // the server keeps no NUL in text, and libpq would end the statement there
    if (s.contains(QChar(0)))
        throw EngineError(QStringLiteral("A text holds a NUL character, which the tables cannot "
                                         "keep."), EngineError::Code::Value);
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString PostgresDialect::withLiterals(const QString &sql, const QVariantList &binds)
{
    QString text;
    text.reserve(sql.size() + binds.size() * 8);
    int next = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            text += c;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            text += c;
        } else if (c == QLatin1Char('?')) {
            if (next >= binds.size())
                throw EngineError(QStringLiteral("Table engine error: a statement has more "
                                                 "places than values."));
            text += literal(binds.at(next++));
        } else {
            text += c;
        }
    }
    if (next != binds.size())
        throw EngineError(QStringLiteral("Table engine error: a statement has fewer places "
                                         "than values."));
    return text;
}

} // namespace Brelvan::Table
