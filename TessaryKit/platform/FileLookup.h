#pragma once

#include "common/FileIdentity.h"
#include "platform/FileDescriptor.h"
#include "platform/KitInternal.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QString>
#include <map>
#include <optional>

// Asks the file system which item a path names.
namespace FileLookup {

// Nothing when no item is at `path` or the question cannot be answered.
std::optional<FileIdentity> identityOf(const QString& path);
// Why `identityOf` finds nothing at `path` now: the system's error number, 0 when there is an item.
int errorOf(const QString& path);
// The status change time in nanoseconds: a rename sets it, and so does every later change.
std::optional<qint64> changeTimeOf(const QString& path);

} // namespace FileLookup

// Asks for many names in few folders, resolving each folder once rather than once per name. A folder asked
// about many times is read once, and its names answer whether an item is there.
class FolderLookup {
public:
    std::optional<FileIdentity> identityOf(const QString& folder, const QString& name);
    bool exists(const QString& folder, const QString& name);
    // Why no item is at `name` in `folder`: the system's error number, 0 when there is one.
    int errorOf(const QString& folder, const QString& name);

    // One entry name, hashed once: a probe compares hashes, and reads names only when they are equal.
    struct Name {
        size_t hash;
        QByteArrayView bytes;

        explicit Name(QByteArrayView bytes) : hash(qHash(bytes, QHashSeed::globalSeed())), bytes(bytes) {}
        friend bool operator==(const Name& a, const Name& b)
        {
            return a.hash == b.hash && a.bytes == b.bytes;
        }
        friend size_t qHash(const Name& name, size_t) { return name.hash; }
    };
    // A folder's entry names, all in one text: 100,000 names cost two allocations rather than 100,000.
    struct Names {
        QByteArray text;
        QSet<Name> views; // into `text`, which moves along with them
    };

private:
    struct Folder {
        FileDescriptor descriptor; // closed: the folder cannot be reached, for `error`
        int error = 0;
        int questions = 0;
        std::optional<Names> names; // its entries, once it was asked about often
    };
    Folder& folderAt(const QString& path);
    bool existsIn(Folder& folder, const QByteArray& name);

    std::map<QString, Folder> folders;
};
