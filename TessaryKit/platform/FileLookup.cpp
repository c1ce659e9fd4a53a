#include "platform/FileLookup.h"

#include <QFile>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The generation number that file systems such as ext2 give each new inode; 0 when there is none.
qint64 generationAt(int folder, const QByteArray& path)
{
    // Only files and folders are opened: opening a device or a pipe can have effects of its own.
    const FileDescriptor file(
        ::openat(folder, path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    int generation = 0;
    if (!file.isOpen() || ::ioctl(file.get(), FS_IOC_GETVERSION, &generation) != 0)
        return 0;
    return -(qint64(quint32(generation)) + 1);
}

// Why no item is at `path`, relative to `folder`: the system's error number, 0 when there is one.
int errorAt(int folder, const QByteArray& path)
{
    struct statx status {};
    return ::statx(folder, path.constData(), AT_SYMLINK_NOFOLLOW, 0, &status) == 0 ? 0 : errno;
}

std::optional<FileIdentity> identityAt(int folder, const QByteArray& path)
{
    struct statx status {};
    if (::statx(folder, path.constData(), AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_INO | STATX_BTIME,
                &status) != 0)
        return std::nullopt;
    qint64 stamp = 0;
    if (status.stx_mask & STATX_BTIME)
        stamp = qint64(status.stx_btime.tv_sec) * 1'000'000'000 + status.stx_btime.tv_nsec;
    else if (S_ISREG(status.stx_mode) || S_ISDIR(status.stx_mode))
        stamp = generationAt(folder, path);
    return FileIdentity{(quint64(status.stx_dev_major) << 32) | status.stx_dev_minor, status.stx_ino, stamp};
}

// A few names are asked for one by one; beyond this many, reading the folder once costs less.
constexpr int namesReadAfter = 64;

// Whether a name in another case is another name in this folder, as the names read from it assume. A
// folder on FAT, or with ext4's casefold, finds "IMG.JPG" under "img.jpg": the disk must be asked.
bool isCaseSensitive(int folder, const QSet<FolderLookup::Name>& names)
{
    for (const FolderLookup::Name& name : names) {
        QByteArray flipped = name.bytes.toByteArray();
        for (char& c : flipped) // ASCII letters only: the other bytes are parts of UTF-8 sequences
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                c ^= 0x20;
        if (flipped == name.bytes || names.contains(FolderLookup::Name(flipped)))
            continue;
        return errorAt(folder, flipped) != 0;
    }
    return true; // no name with a letter: case can't make two names one
}

// The names of the entries of the folder open at `folder`; nothing when it cannot be read, or when it
// doesn't tell names apart by case.
std::optional<FolderLookup::Names> namesIn(int folder)
{
    const int readable = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = readable < 0 ? nullptr : ::fdopendir(readable);
    if (!listing) {
        if (readable >= 0)
            ::close(readable);
        return std::nullopt;
    }
    FolderLookup::Names names;
    std::vector<qsizetype> ends;
    errno = 0;
    while (const dirent* entry = ::readdir(listing)) {
        names.text.append(entry->d_name);
        ends.push_back(names.text.size());
    }
    const bool complete = errno == 0;
    ::closedir(listing);
    // The views are taken once the text no longer grows.
    names.views.reserve(qsizetype(ends.size()));
    qsizetype start = 0;
    for (const qsizetype end : ends) {
        names.views.insert(FolderLookup::Name(QByteArrayView(names.text).sliced(start, end - start)));
        start = end;
    }
    if (!complete || !isCaseSensitive(folder, names.views))
        return std::nullopt;
    return names;
}

} // namespace

std::optional<FileIdentity> FileLookup::identityOf(const QString& path)
{
    return identityAt(AT_FDCWD, QFile::encodeName(path));
}

int FileLookup::errorOf(const QString& path)
{
    return errorAt(AT_FDCWD, QFile::encodeName(path));
}

std::optional<qint64> FileLookup::changeTimeOf(const QString& path)
{
    struct statx status {};
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), AT_SYMLINK_NOFOLLOW, STATX_CTIME, &status) !=
        0)
        return std::nullopt;
    return qint64(status.stx_ctime.tv_sec) * 1'000'000'000 + status.stx_ctime.tv_nsec;
}

FolderLookup::Folder& FolderLookup::folderAt(const QString& path)
{
    auto found = folders.find(path);
    if (found != folders.end())
        return found->second;
    // O_PATH: searching a folder needs no permission to read it
    FileDescriptor descriptor(::open(QFile::encodeName(path).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    const int error = descriptor.isOpen() ? 0 : errno;
    return folders.emplace(path, Folder{std::move(descriptor), error, 0, std::nullopt}).first->second;
}

std::optional<FileIdentity> FolderLookup::identityOf(const QString& folder, const QString& name)
{
    Folder& found = folderAt(folder);
    if (!found.descriptor.isOpen())
        return std::nullopt;
    return identityAt(found.descriptor.get(), QFile::encodeName(name));
}

bool FolderLookup::exists(const QString& folder, const QString& name)
{
    return existsIn(folderAt(folder), QFile::encodeName(name));
}

int FolderLookup::errorOf(const QString& folder, const QString& name)
{
    Folder& found = folderAt(folder);
    const QByteArray encoded = QFile::encodeName(name);
    if (!found.descriptor.isOpen())
        return found.error;
    return existsIn(found, encoded) ? 0 : errorAt(found.descriptor.get(), encoded);
}

bool FolderLookup::existsIn(Folder& found, const QByteArray& name)
{
    if (!found.descriptor.isOpen())
        return false;
    if (!found.names && ++found.questions == namesReadAfter)
        found.names = namesIn(found.descriptor.get()); // stays empty where the folder can't be read
    if (found.names)
        return found.names->views.contains(Name(name));
    return errorAt(found.descriptor.get(), name) == 0;
}
