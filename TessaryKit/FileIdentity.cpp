#include "FileIdentity.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

std::optional<FileIdentity> identityAt(int folder, const QByteArray& path)
{
    struct stat status {};
    if (::fstatat(folder, path.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

} // namespace

std::optional<FileIdentity> FileIdentity::of(const QString& path)
{
    return identityAt(AT_FDCWD, QFile::encodeName(path));
}

std::optional<FileIdentity> FolderLookup::identityOf(const QString& folder, const QString& name)
{
    auto found = folders.find(folder);
    if (found == folders.end()) // O_PATH: searching a folder needs no permission to read it
        found = folders
                    .emplace(folder, FileDescriptor(::open(QFile::encodeName(folder).constData(),
                                                           O_PATH | O_DIRECTORY | O_CLOEXEC)))
                    .first;
    if (!found->second.isOpen())
        return std::nullopt;
    return identityAt(found->second.get(), QFile::encodeName(name));
}
