#include "InputFiles.h"

#include "planning/FileLocations.h"

#include <QFile>
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

} // namespace

QStringList inputFiles(const QStringList& arguments, bool recursive)
{
    QStringList paths;
    for (const QString& argument : arguments) {
        const QStringList given = argument == u"-" ? pathsOnStandardInput() : QStringList{argument};
        paths += recursive ? filesInside(given) : given;
    }
    return standardizedUniquePaths(paths);
}
