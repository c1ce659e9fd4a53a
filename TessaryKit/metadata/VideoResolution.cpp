#include "metadata/VideoResolution.h"

using namespace Qt::StringLiterals;

QString resolutionClass(double pixels)
{
    if (pixels >= 7680.0 * 4320)
        return u"8K"_s;
    if (pixels >= 3840.0 * 2160)
        return u"4K"_s;
    if (pixels >= 1920.0 * 1080)
        return u"1080p"_s;
    if (pixels >= 1280.0 * 720)
        return u"720p"_s;
    if (pixels >= 720.0 * 480)
        return u"480p"_s;
    return u"SD"_s;
}
