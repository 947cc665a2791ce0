#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace Brelvan {

// The program's own text files (the INI file, the to-do list) are written in UTF-8, but
// older files, and files written by other Windows programs, are in Windows-1252. Each line
// is decoded on its own: a line that is valid UTF-8 is UTF-8, any other is Windows-1252.
// Deciding per line, not per file, matters because a line the program changes is written
// in UTF-8 while its neighbours keep their bytes, so one file may hold both.

// The text of one line's bytes (no line end); *wasUtf8 tells which reading was taken.
QString decodeLine(const QByteArray &bytes, bool *wasUtf8 = nullptr);
// The Windows-1252 reading of bytes; the five bytes the code page leaves undefined read
// as the control characters of the same number, as Windows reads them.
QString fromWindows1252(const QByteArray &bytes);

// Writes all of bytes to an unbuffered device, a short write tried on until the system says
// why it stops (the device's errorString() then holds the reason); false when not all went.
bool writeAll(QIODevice &device, const QByteArray &bytes);

} // namespace Brelvan
