#include "platform/widgets/editrefusal.h"

#include "platform/desktop/failure.h"

#include <QCoreApplication>
#include <QTimer>

namespace Brelvan::EditRefusal {

namespace {
bool active = false;
}

void report(const QString &reason)
{
    active = true;
    reportFailure(reason);
    // armed only now that the message is closed: keys already waiting are still dropped
    QTimer::singleShot(0, qApp, [] { active = false; });
}

bool swallowing()
{
    return active;
}

} // namespace Brelvan::EditRefusal
