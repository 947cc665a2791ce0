#include "platform/desktop/failure.h"

#include <QDebug>

namespace Brelvan {

namespace {

std::function<void(const QString &)> &reporter()
{
    static std::function<void(const QString &)> r;
    return r;
}

} // namespace

void setFailureReporter(std::function<void(const QString &message)> r)
{
    reporter() = std::move(r);
}

void reportFailure(const QString &message)
{
    if (reporter())
        reporter()(message);
    else
        qWarning().noquote() << message;
}

} // namespace Brelvan
