#include "platform/settings/fonttext.h"

namespace Brelvan {

QFont fontFromSettings(const QString &family, int pointSize, int styleBits)
{
    QFont font(family);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    applyFontStyleBits(font, styleBits);
    return font;
}

void applyFontStyleBits(QFont &font, int styleBits)
{
    font.setBold(styleBits & StyleBold);
    font.setItalic(styleBits & StyleItalic);
    font.setUnderline(styleBits & StyleUnderline);
    font.setStrikeOut(styleBits & StyleStrikeOut);
}

int fontStyleBits(const QFont &font)
{
    // Bold and heavier count as bold, as Windows decides it.
    return (font.weight() >= QFont::Bold ? StyleBold : 0)
           | (font.italic() ? StyleItalic : 0) | (font.underline() ? StyleUnderline : 0)
           | (font.strikeOut() ? StyleStrikeOut : 0);
}

} // namespace Brelvan
