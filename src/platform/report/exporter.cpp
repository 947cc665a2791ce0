#include "platform/report/exporter.h"

#include "platform/desktop/shell.h"
#include "platform/report/exportwriters.h"

#include <QFileInfo>

#include <algorithm>

namespace Brelvan {

QList<ExportFormat> exportFormats()
{
    return {ExportFormat::Pdf,  ExportFormat::Html, ExportFormat::Xhtml, ExportFormat::Rtf,
            ExportFormat::Xlsx, ExportFormat::Text, ExportFormat::Png,   ExportFormat::Jpeg,
            ExportFormat::Bmp,  ExportFormat::Gif,  ExportFormat::Svg};
}

QString exportFormatName(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Pdf: return QStringLiteral("PDF document");
    case ExportFormat::Html: return QStringLiteral("HTML page");
    case ExportFormat::Xhtml: return QStringLiteral("XHTML page");
    case ExportFormat::Rtf: return QStringLiteral("Rich text document");
    case ExportFormat::Xlsx: return QStringLiteral("Excel workbook");
    case ExportFormat::Text: return QStringLiteral("Plain text");
    case ExportFormat::Png: return QStringLiteral("PNG picture");
    case ExportFormat::Jpeg: return QStringLiteral("JPEG picture");
    case ExportFormat::Bmp: return QStringLiteral("Bitmap picture");
    case ExportFormat::Gif: return QStringLiteral("GIF picture");
    case ExportFormat::Svg: return QStringLiteral("SVG drawing");
    }
    return {};
}

QString exportSuffix(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Pdf: return QStringLiteral("pdf");
    case ExportFormat::Html: return QStringLiteral("html");
    case ExportFormat::Xhtml: return QStringLiteral("xhtml");
    case ExportFormat::Rtf: return QStringLiteral("rtf");
    case ExportFormat::Xlsx: return QStringLiteral("xlsx");
    case ExportFormat::Text: return QStringLiteral("txt");
    case ExportFormat::Png: return QStringLiteral("png");
    case ExportFormat::Jpeg: return QStringLiteral("jpg");
    case ExportFormat::Bmp: return QStringLiteral("bmp");
    case ExportFormat::Gif: return QStringLiteral("gif");
    case ExportFormat::Svg: return QStringLiteral("svg");
    }
    return {};
}

QString exportFilter(ExportFormat format)
{
    return exportFormatName(format) + QStringLiteral(" (*.") + exportSuffix(format)
           + QLatin1Char(')');
}

ExportFormat exportFormatForFilter(const QString &filter)
{
    for (ExportFormat format : exportFormats()) {
        if (filter == exportFilter(format))
            return format;
    }
    return ExportFormat::Pdf;
}

QList<int> exportPages(const Document &doc, const ExportOptions &options)
{
    const int first = qMax(1, options.firstPage);
    const int last = options.lastPage <= 0 ? doc.pageCount()
                                           : qMin(options.lastPage, doc.pageCount());
    QList<int> pages;
    for (int p = first; p <= last; ++p)
        pages.append(p - 1);
    return pages;
}

ExportResult exportDocument(const Document &doc, ExportFormat format, const QString &path,
                            const ExportOptions &options)
{
    using namespace ExportWriters;
    ExportResult result;
    const QList<int> pages = exportPages(doc, options);
    if (pages.isEmpty()) {
        result.error = QStringLiteral("There are no pages in the chosen range.");
        return result;
    }
    QString error;
    bool ok = false;
    switch (format) {
    case ExportFormat::Pdf:
        ok = writePdf(doc, pages, path, result.files, error);
        break;
    case ExportFormat::Html:
    case ExportFormat::Xhtml:
        ok = writeHtml(doc, pages, path, format == ExportFormat::Xhtml, result.files, error);
        break;
    case ExportFormat::Rtf:
        ok = writeRtf(doc, pages, path, result.files, error);
        break;
    case ExportFormat::Xlsx:
        ok = writeXlsx(doc, pages, path, result.files, error);
        break;
    case ExportFormat::Text:
        ok = writeText(doc, pages, path, result.files, error);
        break;
    case ExportFormat::Png:
    case ExportFormat::Jpeg:
    case ExportFormat::Bmp:
    case ExportFormat::Gif:
    case ExportFormat::Svg:
        ok = writePictures(doc, pages, path, exportSuffix(format), result.files, error);
        break;
    }
    result.ok = ok;
    result.error = ok ? QString() : error;
    if (ok && options.openAfterwards && !result.files.isEmpty())
        shell().open(result.files.first());
    return result;
}

namespace ExportWriters {

QList<QList<const DocItem *>> textRows(const Document &doc, int page)
{
    QList<QList<const DocItem *>> rows;
    const DocItem *rowFirst = nullptr;
    for (const DocItem *run : doc.textsInReadingOrder(page)) {
        // A run belongs to the line above while its top lies in that line's upper half.
        if (!rowFirst
            || run->rect.top() >= rowFirst->rect.top() + qMax(0.5, rowFirst->rect.height() / 2)) {
            rows.append(QList<const DocItem *>());
            rowFirst = run;
        }
        rows.last().append(run);
    }
    for (auto &row : rows) {
        std::stable_sort(row.begin(), row.end(), [](const DocItem *a, const DocItem *b) {
            return a->rect.left() < b->rect.left();
        });
    }
    return rows;
}

} // namespace ExportWriters

} // namespace Brelvan
