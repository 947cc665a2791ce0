#include "shell/exceptionlog.h"

#include "data/formats.h"
#include "platform/desktop/clock.h"
#include "platform/desktop/dialogs.h"

#include <QFile>

namespace Brelvan {

namespace {
QString g_logFile;
}

void ExceptionLog::setFile(const QString &path) { g_logFile = path; }
QString ExceptionLog::file() { return g_logFile; }

bool ExceptionLog::append(const QString &message)
{
    if (g_logFile.isEmpty())
        return false;
    QFile f(g_logFile);
    if (!f.open(QIODevice::Append | QIODevice::Text))
        return false;
    const QByteArray line = (dateTimeText(clock().now()) + QLatin1Char(':') + message)
                                .toLocal8Bit() + "\r\n";
    const bool ok = f.write(line) == line.size();
    f.close();
    return ok;
}

void ExceptionLog::report(const QString &message)
{
    append(message);
    dialogs().error(message);
}

} // namespace Brelvan
