#include "platform/report/documentpainter.h"
#include "platform/report/exportwriters.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace Brelvan::ExportWriters {

namespace {

constexpr double PictureDpi = 150;
constexpr double SvgDpi = 96;

QString pagePath(const QString &path, int number, int count)
{
    if (count == 1)
        return path;
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString base = info.suffix().isEmpty() ? path
                                                 : path.left(path.size() - suffix.size());
    return base + QLatin1Char('_') + QString::number(number) + suffix;
}

bool writeSvg(const Document &doc, int page, const QString &path, QString &error)
{
    const QSizeF mm = doc.page(page).size;
    const QSize size(qRound(mm.width() / 25.4 * SvgDpi), qRound(mm.height() / 25.4 * SvgDpi));
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(int(SvgDpi));
    generator.setTitle(doc.title());
    generator.setDescription(QStringLiteral("Brelvan"));
    QPainter painter;
    if (!painter.begin(&generator)) {
        error = QStringLiteral("Cannot write \"%1\".").arg(path);
        return false;
    }
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    paintPage(painter, doc, page, SvgDpi / 25.4);
    painter.end();
    if (!QFileInfo::exists(path)) {
        error = QStringLiteral("Cannot write \"%1\".").arg(path);
        return false;
    }
    return true;
}

bool writeImage(const QImage &page, const QString &format, const QString &path, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    bool ok = false;
    if (format == QLatin1String("gif")) {
        ok = writeGif(page, &file);
    } else {
        QImageWriter writer(&file, format == QLatin1String("jpg") ? "jpeg" : format.toLatin1());
        if (format == QLatin1String("jpg")) {
            writer.setQuality(90);
            writer.setProgressiveScanWrite(true);
        }
        ok = writer.write(page);
        if (!ok)
            error = writer.errorString();
    }
    if (!ok || !file.commit()) {
        if (error.isEmpty())
            error = QStringLiteral("Cannot write \"%1\".").arg(path);
        return false;
    }
    return true;
}

} // namespace

bool writePictures(const Document &doc, const QList<int> &pages, const QString &path,
                   const QString &format, QStringList &files, QString &error)
{
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QString target = pagePath(path, int(i) + 1, int(pages.size()));
        if (format == QLatin1String("svg")) {
            if (!writeSvg(doc, pages.at(i), target, error))
                return false;
        } else {
            // 24-bit colour throughout.
            const QImage page = renderPage(doc, pages.at(i), PictureDpi)
                                    .convertToFormat(QImage::Format_RGB888);
            if (!writeImage(page, format, target, error))
                return false;
        }
        files.append(target);
    }
    return true;
}

} // namespace Brelvan::ExportWriters
