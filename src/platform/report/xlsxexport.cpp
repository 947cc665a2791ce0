#include "platform/report/exportwriters.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <xlsxwriter.h>

#include <algorithm>

namespace Brelvan::ExportWriters {

namespace {

// Lefts closer than this share a spreadsheet column.
constexpr double ColumnMergeMm = 2.0;
// About the width of one character of the default cell font.
constexpr double CharMm = 1.9;

struct Formats
{
    lxw_workbook *book;
    QHash<QString, lxw_format *> cache;

    lxw_format *get(const DocItem &run, int decimals)
    {
        const QColor c = run.colour.isValid() ? run.colour : QColor(Qt::black);
        const QString key = QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                                .arg(run.font.family())
                                .arg(run.font.pointSizeF())
                                .arg(run.font.bold())
                                .arg(run.font.italic())
                                .arg(c.rgb())
                                .arg(run.flags & Qt::AlignHorizontal_Mask)
                                .arg(decimals);
        if (lxw_format *known = cache.value(key))
            return known;
        lxw_format *f = workbook_add_format(book);
        format_set_font_name(f, run.font.family().toUtf8().constData());
        format_set_font_size(f, run.font.pointSizeF() > 0 ? run.font.pointSizeF() : 10);
        if (run.font.bold())
            format_set_bold(f);
        if (run.font.italic())
            format_set_italic(f);
        if (run.font.underline())
            format_set_underline(f, LXW_UNDERLINE_SINGLE);
        format_set_font_color(f, lxw_color_t(c.rgb() & 0xffffff));
        if (run.flags & Qt::AlignRight)
            format_set_align(f, LXW_ALIGN_RIGHT);
        else if (run.flags & Qt::AlignHCenter)
            format_set_align(f, LXW_ALIGN_CENTER);
        if (decimals > 0)
            format_set_num_format(f, ("0." + QByteArray(decimals, '0')).constData());
        cache.insert(key, f);
        return f;
    }
};

// The cell's number when the text is a plain number (no leading zeros, so that phone
// numbers and codes stay text), with its decimal places.
bool asNumber(const QString &text, double &value, int &decimals)
{
    static const QRegularExpression number(
        QStringLiteral("^-?(0|[1-9]\\d{0,14})(\\.(\\d{1,6}))?$"));
    const auto match = number.match(text);
    if (!match.hasMatch())
        return false;
    value = text.toDouble();
    decimals = int(match.captured(3).size());
    return true;
}

} // namespace

bool writeXlsx(const Document &doc, const QList<int> &pages, const QString &path,
               QStringList &files, QString &error)
{
    // The columns: every distinct left edge of a text, close ones merged.
    QList<double> lefts;
    for (int page : pages) {
        for (const DocItem *run : doc.textsInReadingOrder(page))
            lefts.append(run->rect.left());
    }
    std::sort(lefts.begin(), lefts.end());
    QList<double> columns;
    for (double x : lefts) {
        if (columns.isEmpty() || x - columns.last() > ColumnMergeMm)
            columns.append(x);
    }
    auto columnOf = [&columns](double x) {
        const auto it = std::upper_bound(columns.cbegin(), columns.cend(), x + ColumnMergeMm);
        return int(qMax<qsizetype>(0, (it - columns.cbegin()) - 1));
    };

    QFile::remove(path);
    lxw_workbook *book = workbook_new(path.toUtf8().constData());
    if (!book) {
        error = QStringLiteral("Cannot write \"%1\".").arg(path);
        return false;
    }
    const QString title = doc.title().isEmpty() ? QStringLiteral("Report") : doc.title();
    QByteArray titleBytes = title.toUtf8();
    QByteArray author("Brelvan");
    lxw_doc_properties properties = {};
    properties.title = titleBytes.data();
    properties.author = author.data();
    workbook_set_properties(book, &properties);
    lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
    Formats formats{book, {}};

    QList<double> widths(columns.size(), 0.0);
    for (qsizetype c = 0; c + 1 < columns.size(); ++c)
        widths[c] = columns.at(c + 1) - columns.at(c);

    lxw_row_t row = 0;
    for (int page : pages) {
        for (const auto &line : textRows(doc, page)) {
            QHash<int, QString> cells;
            QHash<int, const DocItem *> first;
            for (const DocItem *run : line) {
                const int column = columnOf(run->rect.left());
                if (cells.contains(column)) {
                    cells[column] += QLatin1Char(' ') + run->text;
                } else {
                    cells.insert(column, run->text);
                    first.insert(column, run);
                }
                widths[column] = qMax(widths[column],
                                      column + 1 < columns.size() ? 0.0 : run->rect.width());
            }
            for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
                const DocItem *run = first.value(it.key());
                double value = 0;
                int decimals = 0;
                lxw_error result;
                if (asNumber(it.value(), value, decimals)) {
                    result = worksheet_write_number(sheet, row, lxw_col_t(it.key()), value,
                                                    formats.get(*run, decimals));
                } else {
                    result = worksheet_write_string(sheet, row, lxw_col_t(it.key()),
                                                    it.value().toUtf8().constData(),
                                                    formats.get(*run, 0));
                }
                if (result != LXW_NO_ERROR) {
                    error = QString::fromUtf8(lxw_strerror(result));
                    workbook_close(book);
                    return false;
                }
            }
            ++row;
        }
        ++row; // an empty row between pages
    }
    for (qsizetype c = 0; c < widths.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), qMax(2.0, widths.at(c) / CharMm),
                             nullptr);

    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        error = QStringLiteral("Cannot write \"%1\": %2")
                    .arg(path, QString::fromUtf8(lxw_strerror(closed)));
        return false;
    }
    files.append(path);
    return true;
}

} // namespace Brelvan::ExportWriters
