#pragma once

#include "data/ui/pagespec.h"

namespace Brelvan::Books {

// A grid column of the bookkeeping pages.
inline ColumnSpec column(const char *field, const char *title = nullptr,
                         ColumnSpec::Tint tint = ColumnSpec::Tint::None)
{
    ColumnSpec c;
    c.field = QString::fromLatin1(field);
    if (title)
        c.title = QString::fromLatin1(title);
    c.tint = tint;
    return c;
}

inline ColumnSpec titled(const char *field, const char *setting,
                         ColumnSpec::Tint tint = ColumnSpec::Tint::None)
{
    ColumnSpec c = column(field, nullptr, tint);
    c.titleSetting = QString::fromLatin1(setting);
    return c;
}

// The items of the repeat-by-days chooser.
inline QStringList repeatDays()
{
    return {"366",   "365",      "31",   "30",  "28", "14", "7", "2", "Tomorrow",
            "Today", "Yesterday", "-2", "-7", "-14", "-28", "-30", "-31"};
}

} // namespace Brelvan::Books
