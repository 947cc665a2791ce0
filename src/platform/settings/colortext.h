#pragma once

#include <QColor>
#include <QString>

#include <optional>

namespace Brelvan {

// Colours are stored as text in the Windows colour forms: a name ("clBlue", "clBtnFace"), a
// hexadecimal "$00BBGGRR" value (blue in the high byte) or the same number in decimal
// ("16711680" is blue). System colour names and values map to the usual Windows colours.

// The colour the text names; nothing when it is none of the forms above.
std::optional<QColor> colorFromText(const QString &text);
// The colour the text names, or fallback when it names none.
QColor colorFromText(const QString &text, const QColor &fallback);
// The name of a named colour ("clTeal"), otherwise "$00BBGGRR".
QString colorToText(const QColor &color);

} // namespace Brelvan
