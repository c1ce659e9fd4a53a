#include "platform/FileLookup.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

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

} // namespace

std::optional<FileIdentity> FileLookup::identityOf(const QString& path)
{
    return identityAt(AT_FDCWD, QFile::encodeName(path));
}

int FileLookup::errorOf(const QString& path)
{
    struct statx status {};
    return ::statx(AT_FDCWD, QFile::encodeName(path).constData(), AT_SYMLINK_NOFOLLOW, 0, &status) == 0
               ? 0
               : errno;
}

std::optional<qint64> FileLookup::changeTimeOf(const QString& path)
{
    struct statx status {};
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), AT_SYMLINK_NOFOLLOW, STATX_CTIME, &status) !=
        0)
        return std::nullopt;
    return qint64(status.stx_ctime.tv_sec) * 1'000'000'000 + status.stx_ctime.tv_nsec;
}

const FolderLookup::Folder& FolderLookup::folderAt(const QString& path)
{
    auto found = folders.find(path);
    if (found != folders.end())
        return found->second;
    // O_PATH: searching a folder needs no permission to read it
    FileDescriptor descriptor(::open(QFile::encodeName(path).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    const int error = descriptor.isOpen() ? 0 : errno;
    return folders.emplace(path, Folder{std::move(descriptor), error}).first->second;
}

std::optional<FileIdentity> FolderLookup::identityOf(const QString& folder, const QString& name)
{
    const Folder& found = folderAt(folder);
    if (!found.descriptor.isOpen())
        return std::nullopt;
    return identityAt(found.descriptor.get(), QFile::encodeName(name));
}

int FolderLookup::errorOf(const QString& folder, const QString& name)
{
    const Folder& found = folderAt(folder);
    if (!found.descriptor.isOpen())
        return found.error;
    struct statx status {};
    return ::statx(found.descriptor.get(), QFile::encodeName(name).constData(), AT_SYMLINK_NOFOLLOW, 0,
                   &status) == 0
               ? 0
               : errno;
}
