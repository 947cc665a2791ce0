#pragma once

#include <QApplication>

namespace Brelvan {

// Catches, in one place, every exception a handler lets out: it is logged and shown, and
// the event loop carries on.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Runs f; an exception it raises is logged and shown instead of ending the program.
template<typename F>
bool guarded(F &&f);

} // namespace Brelvan

#include "shell/exceptionlog.h"

#include <exception>

namespace Brelvan {
template<typename F>
bool guarded(F &&f)
{
    try {
        f();
        return true;
    } catch (const std::exception &e) {
        ExceptionLog::report(QString::fromUtf8(e.what()));
    }
    return false;
}
} // namespace Brelvan
