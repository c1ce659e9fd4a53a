#include "FileMover.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

int NonReplacingMover::move(const QString& source, const QString& destination)
{
    if (::renameat2(AT_FDCWD, QFile::encodeName(source).constData(), AT_FDCWD,
                    QFile::encodeName(destination).constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) // the file system has no RENAME_NOREPLACE
        return moveByLinking(source, destination);
    return errno;
}

int NonReplacingMover::moveByLinking(const QString& source, const QString& destination)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(destination);
    struct stat status {};
    if (::lstat(from.constData(), &status) != 0)
        return errno;
    if (S_ISDIR(status.st_mode))
        return unsafeFolderMove; // folders cannot be linked, and a plain rename could replace
    if (::link(from.constData(), to.constData()) != 0)
        return errno; // EEXIST when something is there: nothing was replaced
    if (::unlink(from.constData()) != 0) {
        const int reason = errno;
        ::unlink(to.constData()); // the file is still at its source: take the second name away again
        return reason;
    }
    return 0;
}
