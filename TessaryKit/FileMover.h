#pragma once

#include <QString>

// Moves one file system entry and never replaces one that is already at the destination.
class FileMover {
public:
    // A folder on a file system that cannot rename without replacing: refused rather than risked.
    static constexpr int unsafeFolderMove = -1;

    virtual ~FileMover() = default;
    // 0 when the entry moved; otherwise why not, as an errno value or unsafeFolderMove.
    virtual int move(const QString& source, const QString& destination) = 0;
};

// The real move: renameat2 with RENAME_NOREPLACE; where the file system refuses that flag, a file is
// linked at the destination and then unlinked at the source.
class NonReplacingMover final : public FileMover {
public:
    int move(const QString& source, const QString& destination) override;

    // The fallback on its own, for file systems without the flag.
    static int moveByLinking(const QString& source, const QString& destination);
};
