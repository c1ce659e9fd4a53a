#include "ProgressLine.h"

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <unistd.h>

ProgressLine::ProgressLine() : onTerminal(::isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine()
{
    if (drawn)
        std::fputs("\r\033[K", stderr);
}

void ProgressLine::drawUntil(std::stop_token stop, const QString& text, const std::atomic<qsizetype>& done,
                             qsizetype total)
{
    std::mutex mutex;
    std::condition_variable_any stopped;
    std::unique_lock lock(mutex);
    while (!stopped.wait_for(lock, stop, std::chrono::milliseconds(100), [] { return false; }) &&
           !stop.stop_requested())
        draw(total > 0 ? text.arg(done.load()).arg(total) : text);
}

void ProgressLine::draw(const QString& text)
{
    std::fprintf(stderr, "\r\033[K%s", text.toLocal8Bit().constData());
    std::fflush(stderr);
    drawn = true;
}
