#include "shell/application.h"

#include "shell/exceptionlog.h"

namespace Brelvan {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Brelvan"));
    setOrganizationName(QStringLiteral("Tamblow"));
    setFailureReporter([](const QString &message) { ExceptionLog::report(message); });
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ExceptionLog::report(QString::fromUtf8(e.what()));
    } catch (...) {
        ExceptionLog::report(QStringLiteral("An unknown error occurred."));
    }
    return false;
}

} // namespace Brelvan
