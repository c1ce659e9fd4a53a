#include "common/Signpost.h"

#include "common/Diagnostics.h"

Signpost::Signpost(const char* name, const QString& message) : name(name)
{
    timer.start();
    qCDebug(pointsOfInterestLog, "begin %s: %s", name, qUtf8Printable(message));
}

Signpost::~Signpost()
{
    qCDebug(pointsOfInterestLog, "end %s: %.3f ms", name, double(timer.nsecsElapsed()) / 1e6);
}
