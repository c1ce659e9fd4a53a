#pragma once

#include <QString>
#include <chrono>

// A duration as people read it: whole units with their full names, zero units left out, in the user's
// language ("1 second", "5 seconds", "1 minute, 30 seconds"). Fractions of a second are dropped.
QString durationText(std::chrono::milliseconds duration);
