#include "InputFiles.h"

#include "FileLocations.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

QStringList pathsOnStandardInput()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return {};
    QStringList paths;
    for (const QByteArray& path : input.readAll().split('\0'))
        if (!path.isEmpty())
            paths.append(QFile::decodeName(path));
    return paths;
}

QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    return files;
}

} // namespace

QStringList inputFiles(const QStringList& arguments, bool recursive)
{
    QStringList paths;
    for (const QString& argument : arguments) {
        const QStringList given = argument == u"-" ? pathsOnStandardInput() : QStringList{argument};
        for (const QString& path : given) {
            if (recursive && QFileInfo(path).isDir())
                paths += filesBelow(path);
            else
                paths.append(path);
        }
    }
    return standardizedUniquePaths(paths);
}
