#pragma once

#include <QString>

#include <functional>

namespace Brelvan {

// Where a failure goes that no caller is there to take (a handler run by a signal, a timer
// or a key): the application installs a reporter that logs and shows it.
void setFailureReporter(std::function<void(const QString &message)> reporter);
void reportFailure(const QString &message);

} // namespace Brelvan
