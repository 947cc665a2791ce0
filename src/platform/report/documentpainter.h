#pragma once

#include "platform/report/document.h"

#include <QImage>

class QPainter;

namespace Brelvan {

// Draws page `index` of `doc` with the painter's origin at the page's top left, on a device
// of `dotsPerMm` pixels a millimetre (fonts follow the device's own resolution).
void paintPage(QPainter &painter, const Document &doc, int index, double dotsPerMm);
// The page as a picture at `dpi` on white.
QImage renderPage(const Document &doc, int index, double dpi,
                  QImage::Format format = QImage::Format_RGB32);

} // namespace Brelvan
