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

bool ExceptionLog::append(const QString &message, QString *error)
{
    auto failed = [error](const QString &why) {
        if (error)
            *error = QStringLiteral("The message could not be added to the log file %1: %2.")
                         .arg(g_logFile, why);
        return false;
    };
    if (g_logFile.isEmpty())
        return failed(QStringLiteral("no log file is set"));
    QFile f(g_logFile);
    // binary: the line carries its own CR LF; unbuffered, so a short write shows here
    if (!f.open(QIODevice::Append | QIODevice::Unbuffered))
        return failed(f.errorString());
    const qint64 before = f.size();
    const QByteArray line = (dateTimeText(clock().now()) + QLatin1Char(':') + message)
                                .toUtf8() + "\r\n";
    // a short write is tried on until the system says why it stops
    qint64 written = 0;
    while (written < line.size()) {
        const qint64 n = f.write(line.constData() + written, line.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written == line.size())
        return true;
    // a full disk may take part of the line: cut it off again, so the log holds only
    // whole lines and never less than before
    const QString why = f.errorString();
    f.resize(before);
    return failed(why);
}

void ExceptionLog::report(const QString &message)
{
    QString logError;
    if (append(message, &logError))
        dialogs().error(message);
    else
        dialogs().error(message, logError);
}

} // namespace Brelvan
