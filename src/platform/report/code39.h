#pragma once

#include <QString>

namespace Brelvan {

// The text as Code 39 can carry it: upper case, characters it has no code for left out.
QString code39Text(const QString &text);
// The element widths of the whole symbol, start and stop asterisks and the narrow gaps
// between characters included: 'n' narrow or 'w' wide, bars and spaces alternating,
// starting with a bar.
QString code39Pattern(const QString &text);

} // namespace Brelvan
