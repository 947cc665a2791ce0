#include "platform/report/documentpainter.h"
#include "platform/report/exportwriters.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace Brelvan::ExportWriters {

namespace {

constexpr int PdfDpi = 600;

QPageLayout layoutFor(const QSizeF &mm)
{
    const bool landscape = mm.width() > mm.height();
    const QPageSize size(landscape ? mm.transposed() : mm, QPageSize::Millimeter);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF());
}

} // namespace

bool writePdf(const Document &doc, const QList<int> &pages, const QString &path,
              QStringList &files, QString &error)
{
    QPdfWriter writer(path);
    writer.setCreator(QStringLiteral("Brelvan"));
    writer.setTitle(doc.title());
    writer.setResolution(PdfDpi);
    writer.setPageLayout(layoutFor(doc.page(pages.first()).size));
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = QStringLiteral("Cannot write \"%1\".").arg(path);
        return false;
    }
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            writer.setPageLayout(layoutFor(doc.page(pages.at(i)).size));
            writer.newPage();
        }
        paintPage(painter, doc, pages.at(i), PdfDpi / 25.4);
    }
    if (!painter.end()) {
        error = QStringLiteral("Cannot write \"%1\".").arg(path);
        return false;
    }
    files.append(path);
    return true;
}

} // namespace Brelvan::ExportWriters
