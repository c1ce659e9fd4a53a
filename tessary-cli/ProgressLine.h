#pragma once

#include <QString>
#include <atomic>
#include <stop_token>
#include <thread>

// A line on standard error that tells how long work is going, redrawn in place; only on a terminal.
class ProgressLine {
public:
    ProgressLine();
    ~ProgressLine();

    // Does `work` while showing `text` ("%1" becomes `done`, "%2" `total` when total > 0). The work runs on
    // the calling thread, and the line is drawn from a thread of its own: glibc grows a thread's own heap a
    // page at a time, one mprotect call each, 16,000 more calls for a rename of 100,000 files.
    template <typename Work>
    auto show(Work work, const QString& text, const std::atomic<qsizetype>& done = {}, qsizetype total = 0)
    {
        if (!onTerminal)
            return work();
        const std::jthread drawing([&](std::stop_token stop) { drawUntil(stop, text, done, total); });
        return work();
    }

private:
    void drawUntil(std::stop_token stop, const QString& text, const std::atomic<qsizetype>& done,
                   qsizetype total);
    void draw(const QString& text);
    const bool onTerminal;
    bool drawn = false;
};
