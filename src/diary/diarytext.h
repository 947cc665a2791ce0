#pragma once

#include <QApplication>
#include <QString>

// Texts and small helpers the Diary page's files share.
namespace Brelvan::DiaryText {

inline const QString headingFormat = QStringLiteral("dddd d MMMM yyyy");
// the week buttons' and the search's own form, commas and trailing space included
inline const QString stepHeadingFormat = QStringLiteral("dddd, d MMMM , yyyy ");

struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// Memo texts are kept with "\r\n" breaks; the editor works with "\n".
inline QString toEditor(const QString &stored)
{
    QString t = stored;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

inline QString toStored(const QString &edited)
{
    QString t = edited;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

// A new line on the end of a stored note.
inline QString withLine(const QString &note, const QString &line)
{
    if (note.isEmpty() || note.endsWith(QLatin1String("\r\n")))
        return note + line;
    return note + QStringLiteral("\r\n") + line;
}

} // namespace Brelvan::DiaryText
