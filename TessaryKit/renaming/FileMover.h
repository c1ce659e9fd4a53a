#pragma once

#include <QString>

// Moves one file system entry and never replaces one that is already at the destination.
class FileMover {
public:
    virtual ~FileMover() = default;
    // 0 when the entry moved; otherwise why not, as an errno value.
    virtual int move(const QString& source, const QString& destination) = 0;
};
