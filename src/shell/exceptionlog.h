#pragma once

#include <QString>

namespace Brelvan {

// Every exception that reaches the application: one line appended to the log file (short
// date, long time, ":" and the message), then the message shown. The program carries on.
class ExceptionLog
{
public:
    static void setFile(const QString &path);
    static QString file();
    // Appends the line; false when the log could not be written, with *error naming the
    // file and the reason. A failed append leaves the log as it was: it is never cut short.
    static bool append(const QString &message, QString *error = nullptr);
    // Appends and shows the message; when the log could not take it, the message says so in
    // its detail text.
    static void report(const QString &message);
};

} // namespace Brelvan
