#pragma once

#include <QString>
#include <atomic>
#include <future>

// A line on standard error that tells how long work is going, redrawn in place; only on a terminal.
class ProgressLine {
public:
    ProgressLine();
    ~ProgressLine();

    // Waits for `work` while showing `text` ("%1" becomes `done`, "%2" `total` when total > 0).
    template <typename Result>
    Result show(std::future<Result> work, const QString& text, const std::atomic<qsizetype>& done = {},
                qsizetype total = 0)
    {
        while (work.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready)
            draw(total > 0 ? text.arg(done.load()).arg(total) : text);
        return work.get();
    }

private:
    void draw(const QString& text);
    const bool onTerminal;
    bool drawn = false;
};
