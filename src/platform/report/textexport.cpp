#include "platform/report/exportwriters.h"

#include <QSaveFile>

namespace Brelvan::ExportWriters {

namespace {

// One character of plain text stands for this much of the page's width, about the
// average width of a 10 pt Arial letter; one text line for this much of its height.
constexpr double CharMm = 2.0;
constexpr double LineMm = 4.5;

} // namespace

bool writeText(const Document &doc, const QList<int> &pages, const QString &path,
               QStringList &files, QString &error)
{
    QString out;
    for (int page : pages) {
        double left = 1e9;
        for (const DocItem *run : doc.textsInReadingOrder(page))
            left = qMin(left, run->rect.left());
        double previousBottom = -1;
        for (const auto &row : textRows(doc, page)) {
            // Gaps of a line or more between printed lines become empty lines.
            if (previousBottom >= 0) {
                const int gap = qBound(0, int((row.first()->rect.top() - previousBottom) / LineMm),
                                       3);
                out += QString(gap, QLatin1Char('\n'));
            }
            QString line;
            double bottom = 0;
            for (const DocItem *run : row) {
                int column;
                const int length = int(run->text.size());
                if (run->flags & Qt::AlignRight)
                    column = qRound((run->rect.right() - left) / CharMm) - length;
                else if (run->flags & Qt::AlignHCenter)
                    column = qRound((run->rect.center().x() - left) / CharMm) - length / 2;
                else
                    column = qRound((run->rect.left() - left) / CharMm);
                // A run never overwrites the one before it.
                const int minimum = line.isEmpty() ? 0 : int(line.size()) + 1;
                column = qMax(column, minimum);
                line += QString(column - line.size(), QLatin1Char(' '));
                line += run->text;
                bottom = qMax(bottom, run->rect.bottom());
            }
            out += line + QLatin1Char('\n');
            previousBottom = bottom;
        }
        out += QLatin1Char('\n');
    }

    QSaveFile file(path);
    const QByteArray data = out.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        error = QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    files.append(path);
    return true;
}

} // namespace Brelvan::ExportWriters
