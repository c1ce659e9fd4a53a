#pragma once

#include <QString>
#include <optional>

struct GeoPosition {
    double latitude = 0;
    double longitude = 0;
};

// The position at the start of an ISO 6709 point, as videos carry it ("+37.7858-122.4064+010.000/"):
// signed degrees, or degrees and minutes (±DDMM.M), or degrees, minutes and seconds (±DDMMSS.S).
std::optional<GeoPosition> iso6709Position(const QString& text);
