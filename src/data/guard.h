#pragma once

#include "platform/desktop/failure.h"

#include <exception>
#include <type_traits>

namespace Brelvan {

// A handler run by a signal or a timer must not let an exception out (Qt's own frames in
// between may end the program): it reports the failure instead.
// Runs f; an exception it raises is reported instead of leaving the handler. True when f
// ran through.
template<typename F>
bool guarded(F &&f)
{
    try {
        f();
        return true;
    } catch (const std::exception &e) {
        reportFailure(QString::fromUtf8(e.what()));
    } catch (...) {
        reportFailure(QStringLiteral("An unknown error occurred."));
    }
    return false;
}

// A slot for connect() that runs f guarded.
template<typename F>
auto guardedSlot(F f)
{
    return [f](auto &&...args) {
        guarded([&] {
            // a handler may take the signal's arguments or none of them
            if constexpr (std::is_invocable_v<const F &, decltype(args)...>)
                f(args...);
            else
                f();
        });
    };
}

} // namespace Brelvan
