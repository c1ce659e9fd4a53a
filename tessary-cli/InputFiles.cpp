#include "InputFiles.h"

#include "planning/FileLocations.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <filesystem>

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

// Every item below `folder` that is not a folder, symbolic links to folders included. Walked by bytes:
// Qt's own walk leaves out names that aren't UTF-8, and the planner must see them to refuse them.
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
