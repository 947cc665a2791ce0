#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace Brelvan::ToDoFile {

// The to-do box's text from the file's bytes: "\r\n" line breaks read as the box's "\n",
// each line read as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise.
QString fromFileBytes(const QByteArray &bytes);
// The file's bytes for a box text: "\n" as "\r\n", no line break added at the end, each line
// in UTF-8, except that a line whose text is that of a line of one of the originals keeps
// that line's bytes: a line nobody changed is written back byte for byte.
QByteArray toFileBytes(const QString &boxText, const QList<QByteArray> &originals = {});

// The file's bytes, or nothing when it does not exist. Throws std::runtime_error with the
// file and the input-output error when it cannot be read.
std::optional<QByteArray> read(const QString &path);
// Replaces the file with bytes once they are written whole; throws std::runtime_error with
// the file and the input-output error when that fails, and the old file then stays.
void write(const QString &path, const QByteArray &bytes);

// The box text of the file; empty when the file does not exist.
QString load(const QString &path);
// Writes the box's text back, the lines it shares with the file it replaces in their bytes.
void save(const QString &path, const QString &boxText);

} // namespace Brelvan::ToDoFile
