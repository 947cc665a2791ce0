#include "diary/diarysearch.h"

#include <QTextLayout>
#include <QTextOption>

namespace Brelvan::DiarySearch {

QList<ShownLine> shownLines(const QString &note, const QFont &font, int width)
{
    QList<ShownLine> lines;
    int start = 0;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    while (start <= note.size()) {
        int end = note.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = note.size();
        const QString paragraph = note.mid(start, end - start);
        if (width <= 0 || paragraph.isEmpty()) {
            lines.append({start, int(paragraph.size())});
        } else {
            QTextLayout layout(paragraph, font);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid();
                 line = layout.createLine()) {
                line.setLineWidth(width);
                lines.append({start + line.textStart(), line.textLength()});
            }
            layout.endLayout();
        }
        if (end >= note.size())
            break;
        start = end + 1;
    }
    return lines;
}

QList<int> lineMatches(const QString &note, const QString &text, const QFont &font, int width)
{
    QList<int> found;
    // most notes do not hold the text at all: only those are laid out
    if (text.isEmpty() || !note.contains(text))
        return found;
    // the note's own text decides whether the text is there, so a phrase the memo wraps
    // is found; the shown line it starts on is the step
    int at = note.indexOf(text);
    for (const ShownLine &l : shownLines(note, font, width)) {
        if (at < 0)
            break;
        if (at < l.start)
            at = note.indexOf(text, l.start);
        if (at >= l.start && at < l.start + l.length) {
            found << at;
            at = note.indexOf(text, l.start + l.length);
        }
    }
    return found;
}

QList<int> occurrences(const QString &note, const QString &text)
{
    QList<int> found;
    if (text.isEmpty())
        return found;
    for (int at = note.indexOf(text); at >= 0; at = note.indexOf(text, at + text.size()))
        found << at;
    return found;
}

} // namespace Brelvan::DiarySearch
