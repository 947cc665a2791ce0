#pragma once

#include <QString>

namespace Brelvan::ToDoFile {

// The to-do box's text from the file: single-byte characters, "\r\n" line breaks read as
// the box's "\n". Empty when the file does not exist.
QString load(const QString &path);
// Writes the box's text back exactly: "\n" as "\r\n", no line break added at the end.
// Throws std::runtime_error with the input-output error when the file cannot be written.
void save(const QString &path, const QString &boxText);

// The file's bytes for a box text, and the box text for a file's bytes.
QByteArray toFileBytes(const QString &boxText);
QString fromFileBytes(const QByteArray &bytes);

} // namespace Brelvan::ToDoFile
