#include "ProgressLine.h"

#include <cstdio>
#include <unistd.h>

ProgressLine::ProgressLine() : onTerminal(::isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine()
{
    if (drawn)
        std::fputs("\r\033[K", stderr);
}

void ProgressLine::draw(const QString& text)
{
    if (!onTerminal)
        return;
    std::fprintf(stderr, "\r\033[K%s", text.toLocal8Bit().constData());
    std::fflush(stderr);
    drawn = true;
}
