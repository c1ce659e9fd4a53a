#pragma once

#include "platform/KitInternal.h"

#include <chrono>

// How long one library may take over one file. A damaged file of gigabytes can keep a parser walking
// through zeros for minutes; past the deadline the adapter makes its library stop, and the file keeps
// what was read.
class ReadDeadline {
public:
    static constexpr std::chrono::milliseconds budget{1500};

    bool passed() const { return std::chrono::steady_clock::now() >= end; }

private:
    std::chrono::steady_clock::time_point end = std::chrono::steady_clock::now() + budget;
};
