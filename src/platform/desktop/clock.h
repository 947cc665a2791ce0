#pragma once

#include <QDate>
#include <QDateTime>

namespace Brelvan {

// The program's notion of the present. Tests fix it; timed steps (the one-second
// highlighting of search results, say) wait through it so tests can run them fast.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    // Waits ms milliseconds while the event loop keeps running.
    virtual void wait(int ms) = 0;
};

Clock &clock();
void installClock(Clock *clock);

} // namespace Brelvan
