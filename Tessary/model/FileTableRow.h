#pragma once

#include <QString>
#include <optional>

// One row of the file table: a file, one of its fields, or one line its script logged.
struct FileTableRow {
    enum class Kind { File, Field, Log };

    Kind kind = Kind::File;
    QString original;
    QString result;
    std::optional<QString> error;
    bool changed = false; // the new name differs from the current one beyond composition
    bool renamed = false;
    std::optional<QString> warning; // shown only when there is no error
};
