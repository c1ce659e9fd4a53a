#pragma once

#include <QString>

// The class of a picture size by its pixel count: "8K", "4K", "1080p", "720p", "480p" or "SD". A portrait
// 1080 × 1920 video is 1080p too.
QString resolutionClass(double pixels);
