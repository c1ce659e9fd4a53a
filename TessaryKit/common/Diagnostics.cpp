#include "common/Diagnostics.h"

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(appLog, "org.tessary.Tessary.App")
Q_LOGGING_CATEGORY(renameLog, "org.tessary.Tessary.Rename")
Q_LOGGING_CATEGORY(jsEngineLog, "org.tessary.Tessary.JSEngine")
Q_LOGGING_CATEGORY(metadataLog, "org.tessary.Tessary.Metadata")
// Signposts are debug lines: shown only when QT_LOGGING_RULES asks for them.
Q_LOGGING_CATEGORY(pointsOfInterestLog, "org.tessary.Tessary.PointsOfInterest", QtInfoMsg)

namespace Diagnostics {

QString privateValue(const QString& value)
{
    static const bool showPrivate = qEnvironmentVariableIntValue("TESSARY_LOG_PRIVATE") == 1;
    return showPrivate ? value : u"<private>"_s;
}

} // namespace Diagnostics
