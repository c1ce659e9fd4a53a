#include "planning/FileLocations.h"

#include <QDir>
#include <QSet>

QStringList standardizedUniquePaths(const QStringList& paths)
{
    QStringList unique;
    QSet<QString> known;
    known.reserve(paths.size());
    const QDir current = QDir::current();
    for (const QString& path : paths) {
        const QString standard = QDir::cleanPath(current.absoluteFilePath(path));
        if (!known.contains(standard)) {
            known.insert(standard);
            unique.append(standard);
        }
    }
    return unique;
}
