#include "script/Watchdog.h"

#include <ctime>

using namespace std::chrono;

nanoseconds Watchdog::continuousNow()
{
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return seconds(now.tv_sec) + nanoseconds(now.tv_nsec);
}

Watchdog::Watchdog(nanoseconds timeout, Clock clock)
    : timeout(timeout), clock(std::move(clock)), lastProgress(this->clock())
{
}

void Watchdog::recordProgress()
{
    lastProgress = clock();
}

nanoseconds Watchdog::remaining() const
{
    return std::max(nanoseconds::zero(), lastProgress + timeout - clock());
}

bool Watchdog::checkDeadline()
{
    if (!hasTimedOut && clock() - lastProgress >= timeout)
        hasTimedOut = true;
    return hasTimedOut;
}

bool Watchdog::timedOut() const
{
    return hasTimedOut;
}
