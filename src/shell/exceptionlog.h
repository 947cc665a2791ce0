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
    // Appends the line; false when the log could not be written (the message still shows).
    static bool append(const QString &message);
    static void report(const QString &message);
};

} // namespace Brelvan
