#pragma once

#include "platform/table/tabledef.h"

#include <QVariant>

#include <memory>

namespace Brelvan::Table {

// One node of a parsed WHERE condition.
struct Condition
{
    enum class Kind { And, Or, Not, Compare, Like, IsNull };
    Kind kind = Kind::Compare;
    std::shared_ptr<Condition> left, right; // And, Or; Not uses left
    int field = -1;                         // Compare, Like, IsNull
    QString op;                             // Compare: = <> < > <= >=
    QString literal;                        // Compare, Like: the value as written
    bool negated = false;                   // NOT LIKE, IS NOT NULL
};

struct OrderItem
{
    int field = -1;
    bool descending = false;
};

// The small SQL dialect the pages write:
//   SELECT * FROM table [WHERE condition] [ORDER BY field [ASC|DESC], ...]
// with LIKE, =, <>, <, >, <=, >=, IS [NOT] NULL, AND, OR, NOT and parentheses; keywords in
// any case; strings in double or single quotes (a quote doubled stands for itself); a
// double-quoted name of a field of the table names the field. In a LIKE pattern a
// backslash makes the next character plain, so typed % and _ can be matched.
struct ParsedQuery
{
    const TableDef *table = nullptr;
    std::shared_ptr<Condition> where;
    QList<OrderItem> order;
};

// Throws EngineError (Query) with a clear message for anything outside the dialect.
ParsedQuery parseQuery(const QString &text, const Schema &schema);

// Writes text as a double-quoted literal of the dialect.
QString quoteLiteral(const QString &text);
// Writes text as a double-quoted LIKE pattern "%text%" whose own %, _ and \ match plainly.
QString containsPattern(const QString &text);

} // namespace Brelvan::Table
