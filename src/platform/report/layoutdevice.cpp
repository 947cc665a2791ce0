#include "platform/report/layoutdevice.h"

#include <QImage>

namespace Brelvan::ReportLayout {

QPaintDevice *device()
{
    static QImage image = [] {
        QImage img(8, 8, QImage::Format_ARGB32_Premultiplied);
        const int dpm = qRound(Dpi / 0.0254);
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        return img;
    }();
    return &image;
}

QFontMetricsF metrics(const QFont &font)
{
    return QFontMetricsF(font, device());
}

double textWidth(const QString &text, const QFont &font)
{
    return toMm(metrics(font).horizontalAdvance(text));
}

double lineHeight(const QFont &font)
{
    return toMm(metrics(font).height());
}

} // namespace Brelvan::ReportLayout
