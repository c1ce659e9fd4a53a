#include "common/DurationText.h"

#include "common/KitCatalogue.h"

#include <QLocale>
#include <QStringList>

QString durationText(std::chrono::milliseconds duration)
{
    using namespace std::chrono;
    const auto total = duration_cast<seconds>(duration);
    const auto hourCount = duration_cast<hours>(total);
    const auto minuteCount = duration_cast<minutes>(total - hourCount);
    const auto secondCount = total - hourCount - minuteCount;

    QStringList parts;
    if (hourCount.count() > 0)
        //: A part of a duration, like "2 hours, 5 minutes"
        parts.append(KitCatalogue::tr("%n hour(s)", nullptr, int(hourCount.count())));
    if (minuteCount.count() > 0)
        //: A part of a duration, like "2 hours, 5 minutes"
        parts.append(KitCatalogue::tr("%n minute(s)", nullptr, int(minuteCount.count())));
    if (secondCount.count() > 0 || parts.isEmpty())
        //: A part of a duration, like "1 minute, 30 seconds"
        parts.append(KitCatalogue::tr("%n second(s)", nullptr, int(secondCount.count())));
    return KitCatalogue::textLocale().createSeparatedList(parts);
}
