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
    const QByteArray bytes = input.readAll();
    QStringList paths;
    // Decoded in place, as QFile::decodeName does, rather than from a copy of each path.
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\0', start);
        if (end < 0)
            end = bytes.size();
        if (end > start)
            paths.append(QString::fromLocal8Bit(QByteArrayView(bytes).sliced(start, end - start)));
        start = end + 1;
    }
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
