#pragma once

#include <QtGlobal>

// Which item a path names, without following a final symbolic link: a dangling link is an item too.
// The life stamp tells a file apart from a later one that was given the same inode number.
struct FileIdentity {
    quint64 device;
    quint64 inode;
    // The birth time in nanoseconds; where the file system keeps none, the inode's generation, negated
    // so that the two never meet (files and folders only); 0 where neither is known.
    qint64 lifeStamp;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
