#pragma once

#include "platform/report/document.h"

#include <QStringList>

class QIODevice;

namespace Brelvan::ExportWriters {

// Each writer takes the 0-based pages to write; it adds every file it writes to `files`
// and returns false with `error` set when it fails.
bool writePdf(const Document &doc, const QList<int> &pages, const QString &path,
              QStringList &files, QString &error);
bool writeHtml(const Document &doc, const QList<int> &pages, const QString &path, bool xhtml,
               QStringList &files, QString &error);
bool writeRtf(const Document &doc, const QList<int> &pages, const QString &path,
              QStringList &files, QString &error);
bool writeXlsx(const Document &doc, const QList<int> &pages, const QString &path,
               QStringList &files, QString &error);
bool writeText(const Document &doc, const QList<int> &pages, const QString &path,
               QStringList &files, QString &error);
// PNG, JPEG, BMP, GIF and SVG: `format` is the suffix.
bool writePictures(const Document &doc, const QList<int> &pages, const QString &path,
                   const QString &format, QStringList &files, QString &error);

// A GIF89a picture of `image` in 256 colours.
bool writeGif(const QImage &image, QIODevice *device);

// The runs of one page grouped into the lines they print on, each left to right.
QList<QList<const DocItem *>> textRows(const Document &doc, int page);

} // namespace Brelvan::ExportWriters
