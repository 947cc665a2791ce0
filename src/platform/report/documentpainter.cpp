#include "platform/report/documentpainter.h"

#include <QPainter>

namespace Brelvan {

void paintPage(QPainter &painter, const Document &doc, int index, double dotsPerMm)
{
    const DocPage &page = doc.page(index);
    auto px = [dotsPerMm](const QRectF &r) {
        return QRectF(r.x() * dotsPerMm, r.y() * dotsPerMm, r.width() * dotsPerMm,
                      r.height() * dotsPerMm);
    };
    auto pen = [dotsPerMm](const DocItem &item) {
        QPen p(item.colour.isValid() ? item.colour : QColor(Qt::black));
        p.setWidthF(qMax(item.penWidth * dotsPerMm, 0.5));
        p.setCapStyle(Qt::FlatCap);
        return p;
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const DocItem &item : page.items) {
        switch (item.kind) {
        case DocItem::Kind::Text:
            painter.setPen(item.colour.isValid() ? item.colour : QColor(Qt::black));
            painter.setFont(item.font);
            painter.drawText(px(item.rect),
                             item.flags | Qt::TextDontClip | Qt::TextSingleLine, item.text);
            break;
        case DocItem::Kind::Line:
            painter.setPen(pen(item));
            painter.drawLine(QLineF(item.line().p1() * dotsPerMm, item.line().p2() * dotsPerMm));
            break;
        case DocItem::Kind::Rect:
            painter.setPen(item.penWidth > 0 ? pen(item) : QPen(Qt::NoPen));
            painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
            // Solid fills (bar code bars) stay crisp without antialiased edges.
            painter.setRenderHint(QPainter::Antialiasing, item.penWidth > 0);
            painter.drawRect(px(item.rect));
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setBrush(Qt::NoBrush);
            break;
        case DocItem::Kind::Image:
            if (item.image >= 0 && item.image < doc.imageCount())
                painter.drawImage(px(item.rect), doc.image(item.image));
            break;
        }
    }
    painter.restore();
}

QImage renderPage(const Document &doc, int index, double dpi, QImage::Format format)
{
    const QSizeF mm = doc.page(index).size;
    const double dotsPerMm = dpi / 25.4;
    QImage image(qMax(1, qRound(mm.width() * dotsPerMm)), qMax(1, qRound(mm.height() * dotsPerMm)),
                 format);
    const int dpm = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, doc, index, dotsPerMm);
    return image;
}

} // namespace Brelvan
