#include "platform/table/sqlitedialect.h"

#include "platform/table/statementrunner.h"

#include <QDate>
#include <QSqlQuery>

namespace Brelvan::Table {

QString SqliteDialect::columnType(const FieldDef &f) const
{
    switch (f.type) {
    case FieldType::Text: return QStringLiteral("VARCHAR(%1)").arg(f.width);
    case FieldType::Date: return QStringLiteral("DATE");
    case FieldType::Memo: return QStringLiteral("CLOB"); // TEXT affinity: "123" stays text
    case FieldType::Money: return QStringLiteral("DOUBLE");
    case FieldType::Float: return QStringLiteral("FLOAT");
    case FieldType::SmallInt: return QStringLiteral("SMALLINT");
    case FieldType::Integer: return QStringLiteral("INT");
    case FieldType::Picture: return QStringLiteral("BLOB");
    }
    return {};
}

QStringList SqliteDialect::recordColumns() const
{
    return {quoted(QStringLiteral("RecId")) + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT"),
            quoted(QStringLiteral("RecVer")) + QStringLiteral(" INTEGER NOT NULL DEFAULT 0")};
}

QStringList SqliteDialect::keyIndexStatements(const TableDef &t) const
{
    QStringList plain, keyed;
    for (const QString &k : t.key) {
        plain << quoted(k);
        // empty key values must collide: two blank keys are a duplicate
        keyed << QStringLiteral("ifnull(%1, '')").arg(quoted(k));
    }
    return {QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
                .arg(quoted(t.name + QLatin1String("_Key")), quoted(t.name),
                     keyed.join(QLatin1String(", "))),
            QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                .arg(quoted(t.name + QLatin1String("_Order")), quoted(t.name),
                     plain.join(QLatin1String(", ")))};
}

bool SqliteDialect::typeMatches(const FieldDef &field, const Column &column) const
{
    return column.type == columnType(field).toUpper();
}

QString SqliteDialect::tableExistsSql() const
{
    return QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
}

QList<SqlDialect::Column> SqliteDialect::columns(const StatementRunner &run,
                                                 const QString &table) const
{
    QList<Column> out;
    QSqlQuery qy = run.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
    while (qy.next())
        out.append({qy.value(1).toString(), qy.value(2).toString().toUpper(), 0});
    return out;
}

QString SqliteDialect::orderTerm(const FieldDef &field, bool descending) const
{
    // empty values first, as the user reads a list upwards from the blanks (SQLite sorts
    // them first by itself; saying so would stop it reading the key index)
    return quoted(field.name) + (descending ? QStringLiteral(" DESC NULLS LAST") : QString());
}

QString SqliteDialect::likeOperand(const FieldDef &field) const
{
    const QString c = quoted(field.name);
    if (field.isText())
        return c;
    // whole numbers read "10" on both engines, not SQLite's "10.0"
    if (field.isNumber())
        return QStringLiteral("(CASE WHEN %1 = CAST(%1 AS INTEGER) THEN CAST(CAST(%1 AS INTEGER) "
                              "AS TEXT) ELSE CAST(%1 AS TEXT) END)").arg(c);
    return QStringLiteral("CAST(%1 AS TEXT)").arg(c);
}

QString SqliteDialect::compareOperand(const FieldDef &field) const
{
    return quoted(field.name);
}

QString SqliteDialect::beginTransaction() const
{
    // the folder's write lock at once: a write never fails half way for want of it
    return QStringLiteral("BEGIN IMMEDIATE");
}

QString SqliteDialect::counterTable() const
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS \"BrelvanNumbers\" (\"Name\" TEXT "
                          "PRIMARY KEY, \"Last\" DOUBLE NOT NULL)");
}

QString SqliteDialect::counterUpsert() const
{
    return QStringLiteral("INSERT INTO \"BrelvanNumbers\" (\"Name\", \"Last\") VALUES (?, ? + 1) "
                          "ON CONFLICT (\"Name\") DO UPDATE SET \"Last\" = max(\"Last\", ?) + 1 "
                          "RETURNING \"Last\"");
}

void SqliteDialect::applySettings(QSqlDatabase &db) const
{
    QSqlQuery qy(db);
    // WAL keeps readers and the writer apart; FULL makes every post durable on its own.
    qy.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    qy.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    qy.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    qy.exec(QStringLiteral("PRAGMA case_sensitive_like=ON"));
}

QString SqliteDialect::flushStatement() const
{
    return QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)");
}

QVariant SqliteDialect::storedDate(const QDate &date) const
{
    return date.toString(Qt::ISODate);
}

} // namespace Brelvan::Table
