#include "platform/report/code39.h"

#include <QHash>

namespace Brelvan {

namespace {

const QHash<QChar, QString> &table()
{
    static const QHash<QChar, QString> codes = [] {
        const char *const rows[][2] = {
            {"0", "nnnwwnwnn"}, {"1", "wnnwnnnnw"}, {"2", "nnwwnnnnw"}, {"3", "wnwwnnnnn"},
            {"4", "nnnwwnnnw"}, {"5", "wnnwwnnnn"}, {"6", "nnwwwnnnn"}, {"7", "nnnwnnwnw"},
            {"8", "wnnwnnwnn"}, {"9", "nnwwnnwnn"}, {"A", "wnnnnwnnw"}, {"B", "nnwnnwnnw"},
            {"C", "wnwnnwnnn"}, {"D", "nnnnwwnnw"}, {"E", "wnnnwwnnn"}, {"F", "nnwnwwnnn"},
            {"G", "nnnnnwwnw"}, {"H", "wnnnnwwnn"}, {"I", "nnwnnwwnn"}, {"J", "nnnnwwwnn"},
            {"K", "wnnnnnnww"}, {"L", "nnwnnnnww"}, {"M", "wnwnnnnwn"}, {"N", "nnnnwnnww"},
            {"O", "wnnnwnnwn"}, {"P", "nnwnwnnwn"}, {"Q", "nnnnnnwww"}, {"R", "wnnnnnwwn"},
            {"S", "nnwnnnwwn"}, {"T", "nnnnwnwwn"}, {"U", "wwnnnnnnw"}, {"V", "nwwnnnnnw"},
            {"W", "wwwnnnnnn"}, {"X", "nwnnwnnnw"}, {"Y", "wwnnwnnnn"}, {"Z", "nwwnwnnnn"},
            {"-", "nwnnnnwnw"}, {".", "wwnnnnwnn"}, {" ", "nwwnnnwnn"}, {"$", "nwnwnwnnn"},
            {"/", "nwnwnnnwn"}, {"+", "nwnnnwnwn"}, {"%", "nnnwnwnwn"}, {"*", "nwnnwnwnn"},
        };
        QHash<QChar, QString> h;
        for (const auto &row : rows)
            h.insert(QLatin1Char(row[0][0]), QString::fromLatin1(row[1]));
        return h;
    }();
    return codes;
}

} // namespace

QString code39Text(const QString &text)
{
    QString out;
    for (const QChar c : text.toUpper()) {
        if (c != QLatin1Char('*') && table().contains(c))
            out.append(c);
    }
    return out;
}

QString code39Pattern(const QString &text)
{
    const QString symbol = QLatin1Char('*') + code39Text(text) + QLatin1Char('*');
    QString pattern;
    for (qsizetype i = 0; i < symbol.size(); ++i) {
        if (i > 0)
            pattern.append(QLatin1Char('n'));
        pattern.append(table().value(symbol.at(i)));
    }
    return pattern;
}

} // namespace Brelvan
