#pragma once

#include <QString>

// The script helper has no catalogue: it writes its own words in English, and the engine's messages as the
// engine gives them. This puts the helper's words into the UI language, and leaves the engine's alone.
QString scriptErrorText(const QString& helperText);
