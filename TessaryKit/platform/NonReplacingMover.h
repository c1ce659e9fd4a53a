#pragma once

#include "platform/FileDescriptor.h"
#include "platform/KitInternal.h"
#include "renaming/FileMover.h"

#include <QString>

// The real move: renameat2 with RENAME_NOREPLACE. Where the file system refuses that flag, a file is linked
// at the destination and then unlinked at the source; where it has no hard links either (FAT and exFAT
// through FUSE, some network shares), the destination is reserved with an exclusive create and the entry
// renamed onto its own reservation.
//
// A move within one folder names its two entries in that folder, held open from the first such move: the
// kernel then walks neither path again.
class NonReplacingMover final : public FileMover {
public:
    int move(const QString& source, const QString& destination) override;

    // The fallbacks on their own, for file systems without the flag.
    static int moveByLinking(const QString& source, const QString& destination);
    static int moveByReserving(const QString& source, const QString& destination);
    // Whether the item at `path` is a reservation that a move left behind when it was cut short: an empty
    // file or folder without any permission bits.
    static bool isReservation(const QString& path);

private:
    // The descriptor of the folder at `path`, opened once while moves stay in it; -1 when it can't be.
    int folderAt(QStringView path);

    QString heldPath;
    FileDescriptor held;
};
