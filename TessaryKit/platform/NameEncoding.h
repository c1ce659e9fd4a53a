#pragma once

#include "platform/KitInternal.h"

#include <QString>

// Linux allows any bytes in a name, but paths are carried here as Unicode text: bytes that aren't UTF-8
// read as U+FFFD, and the text then names another file, or none.
namespace NameEncoding {

// Whether `path` names exactly what it says at every level: false when one of its names holds U+FFFD and
// its folder has an entry that only reads so because its bytes aren't UTF-8. Asks the disk only then.
bool isExact(const QString& path);

} // namespace NameEncoding
