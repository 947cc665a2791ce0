#pragma once

#include <QFont>
#include <QList>
#include <QString>

namespace Brelvan::DiarySearch {

struct ShownLine
{
    int start = 0;
    int length = 0;
};

// The lines of a note as a memo of this font and text width shows them: each paragraph
// ("\n") wrapped at word boundaries, or anywhere in a word longer than the width. A width
// of 0 or less wraps nothing.
QList<ShownLine> shownLines(const QString &note, const QFont &font, int width);

// For every shown line on which an occurrence of text starts (case sensitive), the position
// in the note of the first occurrence starting there. An occurrence may run on into the next
// shown lines. An empty text is never found.
QList<int> lineMatches(const QString &note, const QString &text, const QFont &font, int width);

// Every occurrence of text in the note, from the start, not overlapping.
QList<int> occurrences(const QString &note, const QString &text);

} // namespace Brelvan::DiarySearch
