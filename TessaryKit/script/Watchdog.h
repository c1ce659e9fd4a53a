#pragma once

#include <chrono>
#include <functional>

// Guards one batch: every answer line is progress, and once no progress has come for `timeout` the
// batch has timed out. The first limit counts from the watchdog's creation. `timedOut` never goes back.
class Watchdog {
public:
    using Clock = std::function<std::chrono::nanoseconds()>;

    // The continuous clock: keeps counting while the machine sleeps.
    static std::chrono::nanoseconds continuousNow();

    explicit Watchdog(std::chrono::nanoseconds timeout, Clock clock = continuousNow);

    void recordProgress();

    // Time left until the deadline, at least zero.
    std::chrono::nanoseconds remaining() const;

    // Marks the batch timed out when the limit has passed since the last progress; true when it has
    // (now or before).
    bool checkDeadline();

    bool timedOut() const;

private:
    const std::chrono::nanoseconds timeout;
    const Clock clock;
    std::chrono::nanoseconds lastProgress;
    bool hasTimedOut = false;
};
