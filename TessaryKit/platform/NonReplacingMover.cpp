#include "platform/NonReplacingMover.h"

#include "platform/FileDescriptor.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isUnsupported(int reason)
{
    return reason == EINVAL || reason == ENOSYS || reason == EOPNOTSUPP;
}

bool sameItem(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Creates an empty placeholder of the source's kind at `to`; fails with EEXIST when anything is there. It
// has no permission bits, which marks it as ours should a crash leave it behind.
int reserve(const QByteArray& to, bool folder, struct stat& reservation)
{
    if (folder) {
        if (::mkdir(to.constData(), 0) != 0 || ::lstat(to.constData(), &reservation) != 0)
            return errno;
        return 0;
    }
    const FileDescriptor file(::open(to.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0));
    if (!file.isOpen() || ::fstat(file.get(), &reservation) != 0)
        return errno;
    return 0;
}

void release(const QByteArray& to, bool folder, const struct stat& reservation)
{
    struct stat now {};
    if (::lstat(to.constData(), &now) == 0 && sameItem(now, reservation))
        folder ? ::rmdir(to.constData()) : ::unlink(to.constData());
}

// Where the folder part of `source` ends when `destination` is in the same folder; 0 when it is not.
qsizetype sharedFolderEnd(const QString& source, const QString& destination)
{
    const qsizetype slash = source.lastIndexOf(u'/');
    if (slash <= 0 || destination.lastIndexOf(u'/') != slash)
        return 0;
    return QStringView(source).first(slash) == QStringView(destination).first(slash) ? slash : 0;
}

int moveWithin(int folder, QStringView from, QStringView to)
{
    return ::renameat2(folder, from.toLocal8Bit().constData(), folder, to.toLocal8Bit().constData(),
                       RENAME_NOREPLACE);
}

// Where renameat2 refused the flag (`reason`), the fallbacks move the entry; otherwise `reason` stands.
int withoutTheFlag(int reason, const QString& source, const QString& destination)
{
    if (!isUnsupported(reason))
        return reason;
    reason = NonReplacingMover::moveByLinking(source, destination);
    if (reason == EPERM || reason == EISDIR || isUnsupported(reason)) // no hard links here, or a folder
        return NonReplacingMover::moveByReserving(source, destination);
    return reason;
}

} // namespace

int NonReplacingMover::folderAt(QStringView path)
{
    if (!held.isOpen() || heldPath != path) {
        heldPath = path.toString();
        // O_PATH: moving entries needs write and search permission on the folder, not read permission
        held =
            FileDescriptor(::open(QFile::encodeName(heldPath).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    return held.get();
}

int NonReplacingMover::move(const QString& source, const QString& destination)
{
    const qsizetype slash = sharedFolderEnd(source, destination);
    const int folder = slash > 0 ? folderAt(QStringView(source).first(slash)) : -1;
    if (folder >= 0) {
        if (moveWithin(folder, QStringView(source).sliced(slash + 1),
                       QStringView(destination).sliced(slash + 1)) == 0)
            return 0;
        if (errno != ENOENT)
            return withoutTheFlag(errno, source, destination);
        // The folder held open may have been removed and made anew under its path since: the path decides.
        held = FileDescriptor();
    }
    if (::renameat2(AT_FDCWD, QFile::encodeName(source).constData(), AT_FDCWD,
                    QFile::encodeName(destination).constData(), RENAME_NOREPLACE) == 0)
        return 0;
    return withoutTheFlag(errno, source, destination);
}

int NonReplacingMover::moveByLinking(const QString& source, const QString& destination)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(destination);
    struct stat status {};
    if (::lstat(from.constData(), &status) != 0)
        return errno;
    if (S_ISDIR(status.st_mode))
        return EISDIR; // folders cannot be linked
    if (::link(from.constData(), to.constData()) != 0)
        return errno; // EEXIST when something is there: nothing was replaced
    if (::unlink(from.constData()) != 0) {
        const int reason = errno;
        ::unlink(to.constData()); // the file is still at its source: take the second name away again
        return reason;
    }
    return 0;
}

int NonReplacingMover::moveByReserving(const QString& source, const QString& destination)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(destination);
    struct stat status {};
    if (::lstat(from.constData(), &status) != 0)
        return errno;
    const bool folder = S_ISDIR(status.st_mode);
    struct stat reservation {};
    if (const int reason = reserve(to, folder, reservation))
        return reason;
    // The plain rename replaces only our own empty placeholder: checked just before.
    struct stat now {};
    if (::lstat(to.constData(), &now) != 0 || !sameItem(now, reservation))
        return EEXIST;
    if (::rename(from.constData(), to.constData()) != 0) {
        const int reason = errno;
        release(to, folder, reservation);
        return reason;
    }
    return 0;
}

bool NonReplacingMover::isReservation(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0 || (status.st_mode & 07777) != 0)
        return false;
    if (S_ISREG(status.st_mode))
        return status.st_size == 0;
    return S_ISDIR(status.st_mode) && status.st_nlink <= 2;
}
