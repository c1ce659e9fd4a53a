#pragma once

#include <QtGlobal>
#include <future>

// Runs `work(begin, end)` over [0, count), in two halves at once when there are many. The work of each
// half must touch only its own part, or only read what they share. The calling thread always does the
// part that ends at `count`, so work that keeps per-thread state can recognise its own.
template <typename Work> void inHalves(qsizetype count, const Work& work)
{
    constexpr qsizetype perThread = 2000; // well above the cost of starting a thread
    if (count < 2 * perThread) {
        work(0, count);
        return;
    }
    auto firstHalf = std::async(std::launch::async, [&] { work(0, count / 2); });
    work(count / 2, count);
    firstHalf.get();
}
