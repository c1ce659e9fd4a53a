#include "planning/FileLocations.h"

#include "common/NormalizedPath.h"
#include "common/PathKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <filesystem>

QStringList standardizedUniquePaths(const QStringList& paths)
{
    QStringList unique;
    unique.reserve(paths.size()); // never grows past: the keys point into it
    QSet<PathKey> known;
    known.reserve(paths.size());
    const QDir current = QDir::current();
    for (const QString& path : paths) {
        const QString& standard = unique.emplace_back(cleanedPath(current.absoluteFilePath(path)));
        const qsizetype before = known.size();
        known.insert(PathKey::of(standard));
        if (known.size() == before)
            unique.removeLast(); // no key points to it: the one it equals is earlier
    }
    return unique;
}

namespace {

QStringList filesBelow(const QString& folder)
{
    namespace fs = std::filesystem;
    QStringList files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(QFile::encodeName(folder).toStdString(),
                                             fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error))
        if (!it->is_directory(error))
            files.append(QFile::decodeName(QByteArray::fromStdString(it->path().native())));
    return files;
}

} // namespace

QStringList filesInside(const QStringList& paths)
{
    QStringList files;
    for (const QString& path : paths) {
        if (QFileInfo(path).isDir())
            files += filesBelow(path);
        else
            files.append(path);
    }
    return files;
}
