#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A remembered folder permission. Linux desktops have no per-folder grant, so a bookmark is our own
// small record of the folder's path and identity (device and inode numbers).
namespace FolderBookmark {

struct Resolved {
    QString path;
    bool stale; // another folder is at the path now
};

// Nothing, with the reason in `error`, when nothing can be found at `path`.
std::optional<QByteArray> create(const QString& path, QString* error);
// Nothing when the bytes are not a bookmark or nothing is at its path any more.
std::optional<Resolved> resolve(const QByteArray& bookmark);
// Whether this process may change entries of the folder.
bool startAccess(const QString& path);

} // namespace FolderBookmark
