#include "platform/DurableFile.h"

#include "common/FileNameParts.h"
#include "platform/FileDescriptor.h"

#include <QFile>
#include <QSet>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace DurableFile {
namespace {

int syncFolder(const QString& folder)
{
    const FileDescriptor descriptor(
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!descriptor.isOpen())
        return errno;
    return ::fsync(descriptor.get()) == 0 ? 0 : errno;
}

int writeAll(int descriptor, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t count = ::write(descriptor, bytes.data(), size_t(bytes.size()));
        if (count < 0 && errno != EINTR)
            return errno;
        if (count == 0)
            return EIO;
        if (count > 0)
            bytes = bytes.sliced(count);
    }
    return 0;
}

} // namespace

int create(const QString& path, const QByteArray& bytes)
{
    const QByteArray partial = QFile::encodeName(path + u".partial"_s);
    FileDescriptor file(::open(partial.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600));
    if (!file.isOpen())
        return errno;
    int reason = writeAll(file.get(), bytes);
    if (reason == 0 && ::fdatasync(file.get()) != 0)
        reason = errno;
    file.close();
    if (reason == 0)
        reason = rename(QFile::decodeName(partial), path);
    if (reason != 0)
        ::unlink(partial.constData());
    return reason;
}

int append(const QString& path, const QByteArray& bytes, qint64 after)
{
    const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC));
    struct stat status {};
    if (!file.isOpen() || ::fstat(file.get(), &status) != 0)
        return errno;
    if (after > 0 && status.st_size > after) {
        if (::ftruncate(file.get(), after) != 0)
            return errno;
        status.st_size = after;
    }
    int reason = writeAll(file.get(), bytes);
    if (reason == 0 && ::fsync(file.get()) != 0)
        reason = errno;
    if (reason != 0 && ::ftruncate(file.get(), status.st_size) == 0)
        ::fsync(file.get());
    return reason;
}

int rename(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray destination = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, destination.constData(), RENAME_NOREPLACE) != 0) {
        // The journal's names are its own and unique, so a plain rename replaces nothing.
        if (errno != EINVAL || ::rename(source.constData(), destination.constData()) != 0)
            return errno;
    }
    return syncFolder(FileNameParts::parentOf(to));
}

int remove(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0)
        return errno;
    return syncFolder(FileNameParts::parentOf(path));
}

int syncFolders(const QStringList& folders)
{
    int first = 0;
    for (const QString& folder : QSet<QString>(folders.cbegin(), folders.cend()))
        if (const int reason = syncFolder(folder); first == 0)
            first = reason;
    return first;
}

QString describe(int reason)
{
    return QString::fromLocal8Bit(std::strerror(reason));
}

} // namespace DurableFile
