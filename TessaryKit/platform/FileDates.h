#pragma once

#include "platform/KitInternal.h"

#include <QDateTime>
#include <QString>
#include <optional>

// A file's birth and content modification times, as the file system reports them, and whether it is a
// regular file (symbolic links followed) whose content can be read.
struct FileDates {
    std::optional<QDateTime> created; // absent where the file system keeps no birth time
    std::optional<QDateTime> modified;
    bool regularFile = false;

    // Nothing when the file cannot be asked; `error` then holds the system's description.
    static std::optional<FileDates> read(const QString& path, QString* error);
};
