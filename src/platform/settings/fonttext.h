#pragma once

#include <QFont>
#include <QString>

namespace Brelvan {

// Font styles are stored as bits: 1 bold, 2 italic, 4 underline, 8 strike-out.
enum FontStyleBit { StyleBold = 1, StyleItalic = 2, StyleUnderline = 4, StyleStrikeOut = 8 };

// A font with the given face, size in points and style bits (only the low four are used).
QFont fontFromSettings(const QString &family, int pointSize, int styleBits);
// Sets the style of font from the low four style bits, clearing the others.
void applyFontStyleBits(QFont &font, int styleBits);
// The sum of the style bits the font has.
int fontStyleBits(const QFont &font);

} // namespace Brelvan
