#pragma once

#include "platform/report/document.h"

#include <QStringList>

namespace Brelvan {

enum class ExportFormat { Pdf, Html, Xhtml, Rtf, Xlsx, Text, Png, Jpeg, Bmp, Gif, Svg };

struct ExportOptions
{
    int firstPage = 1; // 1-based
    int lastPage = 0;  // 0: to the last page
    bool openAfterwards = false;
    bool mailAfterwards = false; // the caller starts the e-mail (see PreviewWindow)
};

struct ExportResult
{
    bool ok = false;
    QString error;
    QStringList files; // every file written, the one to open first
};

QList<ExportFormat> exportFormats();
// "PDF document", "Excel workbook" ...
QString exportFormatName(ExportFormat format);
// The file name suffix without its dot.
QString exportSuffix(ExportFormat format);
// A file chooser filter: "PDF document (*.pdf)".
QString exportFilter(ExportFormat format);
// The format a file chooser filter names, or the PDF format for none.
ExportFormat exportFormatForFilter(const QString &filter);

// The 0-based pages an export of `doc` takes under `options`; empty when the range holds
// none of its pages.
QList<int> exportPages(const Document &doc, const ExportOptions &options);

// Writes the pages in range to `path`, in `format`. Picture formats write one file a page,
// numbered "name_1.png", "name_2.png" ... when there is more than one page. On success, and
// when asked, the first file is opened with its own program.
ExportResult exportDocument(const Document &doc, ExportFormat format, const QString &path,
                            const ExportOptions &options = {});

} // namespace Brelvan
