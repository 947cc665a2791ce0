#include "platform/report/printing.h"

#include "platform/report/documentpainter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace Brelvan {

namespace {

void usePageSize(QPrinter &printer, const QSizeF &mm)
{
    const bool landscape = mm.width() > mm.height();
    printer.setPageSize(QPageSize(landscape ? mm.transposed() : mm, QPageSize::Millimeter));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

} // namespace

bool printDocument(const Document &doc, QPrinter &printer)
{
    if (doc.pageCount() == 0)
        return true;
    int first = 1, last = doc.pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = qMax(1, printer.fromPage());
        last = qMin(doc.pageCount(), printer.toPage() > 0 ? printer.toPage() : last);
    }
    if (first > last)
        return true;
    // The document already holds its margins.
    printer.setFullPage(true);
    if (!printer.docName().size())
        printer.setDocName(doc.title());
    printer.setCreator(QStringLiteral("Brelvan"));
    usePageSize(printer, doc.page(first - 1).size);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int p = first; p <= last; ++p) {
        if (p > first) {
            usePageSize(printer, doc.page(p - 1).size);
            printer.newPage();
        }
        paintPage(painter, doc, p - 1, printer.resolution() / 25.4);
    }
    return painter.end();
}

} // namespace Brelvan
