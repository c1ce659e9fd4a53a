#pragma once

#include <QString>
#include <optional>

// Whether a new name may be used: nothing when it may, otherwise the first broken rule's message.
// `newStem` is the rendered pattern; `newName` the complete name with the file's extension.
std::optional<QString> validateName(const QString& newStem, const QString& newName);

// The limit of a file name, in bytes of UTF-8.
inline constexpr qsizetype maxNameBytes = 255;
