#include "access/FolderBookmark.h"

#include <QDataStream>
#include <QFile>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace FolderBookmark {
namespace {

constexpr quint32 magic = 0x54464231; // "TFB1"

struct Identity {
    quint64 device;
    quint64 inode;
};

std::optional<Identity> identityOf(const QString& path, int* reason = nullptr)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        if (reason)
            *reason = errno;
        return std::nullopt;
    }
    return Identity{quint64(status.st_dev), quint64(status.st_ino)};
}

} // namespace

std::optional<QByteArray> create(const QString& path, QString* error)
{
    int reason = 0;
    const auto identity = identityOf(path, &reason);
    if (!identity) {
        *error = QString::fromLocal8Bit(std::strerror(reason));
        return std::nullopt;
    }
    QByteArray bytes;
    QDataStream(&bytes, QIODevice::WriteOnly)
        << magic << QFile::encodeName(path) << identity->device << identity->inode;
    return bytes;
}

std::optional<Resolved> resolve(const QByteArray& bookmark)
{
    QDataStream stream(bookmark);
    quint32 recordMagic = 0;
    QByteArray path;
    Identity recorded{};
    stream >> recordMagic >> path >> recorded.device >> recorded.inode;
    if (stream.status() != QDataStream::Ok || !stream.atEnd() || recordMagic != magic || path.isEmpty())
        return std::nullopt;
    const auto now = identityOf(QFile::decodeName(path));
    if (!now)
        return std::nullopt;
    return Resolved{QFile::decodeName(path), now->device != recorded.device || now->inode != recorded.inode};
}

bool startAccess(const QString& path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0;
}

} // namespace FolderBookmark
