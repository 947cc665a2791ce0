#include "platform/table/tablelayout.h"

#include "platform/table/database.h"
#include "platform/table/engineerror.h"
#include "platform/table/sqldialect.h"
#include "platform/table/statementrunner.h"

#include <QSqlQuery>

#include <algorithm>

namespace Brelvan::Table {

namespace {

QString describe(const FieldDef &f)
{
    return f.type == FieldType::Text ? QStringLiteral("Text %1").arg(f.width)
                                     : fieldTypeName(f.type);
}

} // namespace

TableLayout::TableLayout(Database &db) : m_db(db) {}

QStringList TableLayout::tableStatements(const SqlDialect &d, const TableDef &t,
                                         const QString &name)
{
    QStringList cols;
    for (const FieldDef &f : t.fields)
        cols << d.quoted(f.name) + QLatin1Char(' ') + d.columnType(f);
    cols << d.recordColumns();
    return {QStringLiteral("CREATE TABLE %1 (%2)")
                .arg(d.quoted(name), cols.join(QLatin1String(", ")))};
}

QStringList TableLayout::indexStatements(const SqlDialect &d, const TableDef &t)
{
    QStringList out;
    if (!t.key.isEmpty())
        out << d.keyIndexStatements(t);
    for (const IndexDef &ix : t.indexes) {
        QStringList cols;
        for (const QString &f : ix.fields)
            cols << d.quoted(f);
        out << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                   .arg(d.quoted(ix.name), d.quoted(t.name), cols.join(QLatin1String(", ")));
    }
    return out;
}

QStringList TableLayout::createStatements(const SqlDialect &d, const Schema &schema)
{
    QStringList out;
    for (const TableDef &t : schema.tables)
        out << tableStatements(d, t, t.name) << indexStatements(d, t);
    const QString layout = d.quoted(QLatin1String(LayoutTable));
    out << QStringLiteral("CREATE TABLE %1 (\"Version\" INTEGER NOT NULL)").arg(layout);
    out << QStringLiteral("INSERT INTO %1 (\"Version\") VALUES (%2)").arg(layout)
               .arg(schema.version);
    out << d.counterTable();
    return out;
}

bool TableLayout::tableExists(const QString &name) const
{
    return m_db.statements().exec(m_db.dialect().tableExistsSql(), {name}).next();
}

qint64 TableLayout::rowCount(const QString &table) const
{
    QSqlQuery qy = m_db.statements().exec(QStringLiteral("SELECT count(*) FROM %1")
                                              .arg(m_db.dialect().quoted(table)));
    return qy.next() ? qy.value(0).toLongLong() : 0;
}

int TableLayout::readVersion() const
{
    // a failed read must not spoil an open transaction on the server: look before reading
    const QString layout = QLatin1String(LayoutTable);
    if (!tableExists(layout))
        return 0;
    QSqlQuery qy = m_db.statements().exec(QStringLiteral("SELECT max(\"Version\") FROM %1")
                                              .arg(m_db.dialect().quoted(layout)));
    return qy.next() ? qy.value(0).toInt() : 0;
}

QStringList TableLayout::problems() const
{
    const SqlDialect &d = m_db.dialect();
    QStringList out;
    for (const TableDef &t : m_db.schema().tables) {
        const QList<SqlDialect::Column> cols = d.columns(m_db.statements(), t.name);
        if (cols.isEmpty()) {
            out << QStringLiteral("Table %1 is missing.").arg(t.name);
            continue;
        }
        for (int i = 0; i < t.fields.size(); ++i) {
            const FieldDef &f = t.fields.at(i);
            if (i >= cols.size()) {
                out << QStringLiteral("Table %1 lacks field %2 (%3).")
                           .arg(t.name, f.name, describe(f));
                continue;
            }
            const SqlDialect::Column &c = cols.at(i);
            if (c.name != f.name) {
                out << QStringLiteral("Table %1: field %2 is \"%3\" where \"%4\" (%5) belongs.")
                           .arg(t.name).arg(i + 1).arg(c.name, f.name, describe(f));
                continue;
            }
            if (!d.typeMatches(f, c))
                out << QStringLiteral("Table %1: field %2 is of the wrong type or width "
                                      "(should be %3).").arg(t.name, f.name, describe(f));
        }
        auto has = [&](const char *name) {
            return std::any_of(cols.cbegin(), cols.cend(), [name](const SqlDialect::Column &c) {
                return c.name == QLatin1String(name);
            });
        };
        if (!has(RecIdColumn) || !has(RecVerColumn))
            out << QStringLiteral("Table %1 lacks its record id columns.").arg(t.name);
        if (cols.size() > t.fields.size() + 2)
            out << QStringLiteral("Table %1 has fields this program does not know.").arg(t.name);
    }
    return out;
}

void TableLayout::validate(int version) const
{
    const Schema &schema = m_db.schema();
    const QString where = m_db.location();
    if (version > schema.version)
        throw EngineError(QStringLiteral("The tables in %1 have layout version %2, which this "
                                         "version of Brelvan does not know (it knows up to %3). "
                                         "Use a newer Brelvan for these tables.")
                              .arg(where).arg(version).arg(schema.version));
    const QStringList p = problems();
    if (!p.isEmpty())
        throw EngineError(p.join(QLatin1Char('\n')));
    if (version == 0)
        throw EngineError(QStringLiteral("The tables in %1 do not record their layout version.")
                              .arg(where));
    if (version < schema.version)
        throw EngineError(QStringLiteral("The tables in %1 have the older layout version %2; "
                                         "move them forward to version %3 with "
                                         "\"brelvan-data upgrade\" first.")
                              .arg(where).arg(version).arg(schema.version));
}

int TableLayout::upgrade()
{
    const Schema &schema = m_db.schema();
    const int from = readVersion();
    if (from >= schema.version) {
        validate(from); // says when the layout is newer than this program knows
        return from;
    }
    QList<const LayoutStep *> steps;
    for (int v = from + 1; v <= schema.version; ++v) {
        const LayoutStep *step = nullptr;
        for (const LayoutStep &s : schema.steps) {
            if (s.version == v)
                step = &s;
        }
        if (!step)
            throw EngineError(QStringLiteral("The tables in %1 have layout version %2; this "
                                             "version of Brelvan knows no step from version %3 "
                                             "to %4, so it changes nothing.")
                                  .arg(m_db.location()).arg(from).arg(v - 1).arg(v));
        steps << step;
    }
    const StatementRunner &run = m_db.statements();
    WriteToken t = m_db.beginWrite();
    try {
        // every table there now, with its records counted, so no step can lose one
        QList<QPair<QString, qint64>> before;
        for (const TableDef &def : schema.tables) {
            if (tableExists(def.name))
                before.append({def.name, rowCount(def.name)});
        }
        for (const LayoutStep *step : steps) {
            for (const QString &name : step->reshapedTables) {
                const TableDef *def = schema.table(name);
                if (!def)
                    throw EngineError(QStringLiteral("Layout step %1 names an unknown table %2.")
                                          .arg(step->version).arg(name));
                reshape(*def);
            }
            if (step->migrate)
                step->migrate(m_db);
        }
        const QString layout = m_db.dialect().quoted(QLatin1String(LayoutTable));
        run.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"Version\" INTEGER NOT NULL)")
                     .arg(layout));
        run.exec(QStringLiteral("DELETE FROM %1").arg(layout));
        run.exec(QStringLiteral("INSERT INTO %1 (\"Version\") VALUES (?)").arg(layout),
                 {schema.version});
        for (const auto &[name, count] : before) {
            const qint64 now = rowCount(name);
            if (now < count)
                throw EngineError(QStringLiteral("Moving the layout forward would lose %1 of "
                                                 "the %2 records of table %3; nothing was "
                                                 "changed.").arg(count - now).arg(count).arg(name));
        }
        const QStringList p = problems();
        if (!p.isEmpty())
            throw EngineError(QStringLiteral("After moving the layout forward: %1 Nothing was "
                                             "changed.").arg(p.join(QLatin1Char(' '))));
        m_db.commitWrite(t);
    } catch (const EngineError &) {
        m_db.rollbackWrite(t);
        throw;
    } catch (const std::exception &e) {
        m_db.rollbackWrite(t);
        throw EngineError(QStringLiteral("A layout step failed (%1); nothing was changed.")
                              .arg(QString::fromLocal8Bit(e.what())));
    }
    validate(readVersion());
    return from;
}

void TableLayout::reshape(const TableDef &def)
{
    const SqlDialect &d = m_db.dialect();
    const StatementRunner &run = m_db.statements();
    QStringList old;
    for (const SqlDialect::Column &c : d.columns(run, def.name))
        old << c.name;
    const QString temp = def.name + QLatin1String("_reshape");
    for (const QString &sql : tableStatements(d, def, temp))
        run.exec(sql);
    if (!old.isEmpty()) {
        QStringList common;
        for (const FieldDef &f : def.fields) {
            if (old.contains(f.name))
                common << d.quoted(f.name);
        }
        common << d.quoted(QLatin1String(RecIdColumn));
        if (old.contains(QLatin1String(RecVerColumn)))
            common << d.quoted(QLatin1String(RecVerColumn));
        const QString cols = common.join(QLatin1Char(','));
        run.exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3")
                     .arg(d.quoted(temp), cols, d.quoted(def.name)));
        run.exec(QStringLiteral("DROP TABLE %1").arg(d.quoted(def.name)));
    }
    run.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(d.quoted(temp), d.quoted(def.name)));
    d.afterRename(run, def, temp);
    for (const QString &sql : indexStatements(d, def))
        run.exec(sql);
}

} // namespace Brelvan::Table
