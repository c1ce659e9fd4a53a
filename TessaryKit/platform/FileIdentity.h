#pragma once

#include "platform/FileDescriptor.h"

#include <QString>
#include <map>
#include <optional>

// Which item a path names, without following a final symbolic link: a dangling link is an item too.
// The life stamp tells a file apart from a later one that was given the same inode number.
struct FileIdentity {
    quint64 device;
    quint64 inode;
    // The birth time in nanoseconds; where the file system keeps none, the inode's generation, negated
    // so that the two never meet (files and folders only); 0 where neither is known.
    qint64 lifeStamp;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;

    // Nothing when no item is at `path` or the question cannot be answered.
    static std::optional<FileIdentity> of(const QString& path);
    // Why `of` finds nothing at `path` now: the system's error number, 0 when there is an item.
    static int lookupErrorOf(const QString& path);
    // The status change time in nanoseconds: a rename sets it, and so does every later change.
    static std::optional<qint64> changeTimeOf(const QString& path);
};

// Asks for many names in few folders, resolving each folder once rather than once per name.
class FolderLookup {
public:
    std::optional<FileIdentity> identityOf(const QString& folder, const QString& name);

private:
    std::map<QString, FileDescriptor> folders; // closed descriptor: the folder cannot be reached
};
