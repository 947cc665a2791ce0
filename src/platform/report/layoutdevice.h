#pragma once

#include <QFontMetricsF>

class QPaintDevice;

namespace Brelvan::ReportLayout {

// Text is measured on one fixed, fine device so that a report lays out the same whatever
// it is later drawn on.
constexpr double Dpi = 600.0;

QPaintDevice *device();
inline double toMm(double px) { return px * 25.4 / Dpi; }
inline double toPx(double mm) { return mm * Dpi / 25.4; }
QFontMetricsF metrics(const QFont &font);
// The width in mm that `text` takes in `font`.
double textWidth(const QString &text, const QFont &font);
// The height of one line of `font` in mm.
double lineHeight(const QFont &font);

} // namespace Brelvan::ReportLayout
