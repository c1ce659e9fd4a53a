#pragma once

#include <QLoggingCategory>
#include <QString>

// Log categories of Tessary. Levels follow the system log's: "default" messages are qCInfo,
// "error" qCWarning, "fault" qCCritical.
Q_DECLARE_LOGGING_CATEGORY(appLog)
Q_DECLARE_LOGGING_CATEGORY(renameLog)
Q_DECLARE_LOGGING_CATEGORY(jsEngineLog)
Q_DECLARE_LOGGING_CATEGORY(metadataLog)
Q_DECLARE_LOGGING_CATEGORY(pointsOfInterestLog)

namespace Diagnostics {

// A value that may identify the user's files (a path, a name): logged as "<private>" unless the
// environment sets TESSARY_LOG_PRIVATE=1.
QString privateValue(const QString& value);

} // namespace Diagnostics
