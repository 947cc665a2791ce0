#pragma once

// Reading and preparing a fixture's tables the way a second copy of the program would,
// for the window tests of the record pages.

#include "data/schema.h"
#include "platform/table/database.h"
#include "platform/table/dataset.h"
#include "testing/fixture.h"

#include <QStringList>

namespace Brelvan::Testing {

// One field of every record of a table, in key order.
inline QStringList storedValues(const Fixture &f, const QString &table, const QString &field)
{
    auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
    Table::Dataset ds(QStringLiteral("Check"));
    ds.setDatabase(db.get());
    ds.setTableName(table);
    ds.open();
    QStringList values;
    for (ds.first(); !ds.eof(); ds.next())
        values << ds.text(field);
    ds.close();
    return values;
}

// Before start: the tags of the first records in key order, every other tag cleared.
inline void writeTags(const Fixture &f, const QString &table, const QStringList &firstTags)
{
    auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
    Table::Dataset ds(QStringLiteral("Fill"));
    ds.setDatabase(db.get());
    ds.setTableName(table);
    ds.open();
    Table::Dataset::Walk walk(ds);
    int i = 0;
    for (ds.first(); !ds.eof(); ds.next(), ++i) {
        const QString t = firstTags.value(i);
        if (ds.text("Tag") == t)
            continue;
        ds.edit();
        ds.setValue("Tag", t.isEmpty() ? QVariant() : QVariant(t));
        ds.post();
    }
    walk.commit();
    ds.close();
}

} // namespace Brelvan::Testing
