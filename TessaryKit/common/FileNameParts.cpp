#include "common/FileNameParts.h"

#include <QDir>

QString FileNameParts::parentOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : slash == 0 ? path.first(1) : path.first(slash);
}

QString FileNameParts::nameOf(const QString& path)
{
    return path.sliced(path.lastIndexOf(u'/') + 1);
}

FileNameParts FileNameParts::of(const QString& path)
{
    FileNameParts parts;
    parts.parent = parentOf(path);
    parts.name = nameOf(path);
    const qsizetype dot = parts.name.lastIndexOf(u'.');
    if (dot <= 0 || dot == parts.name.size() - 1) {
        parts.stem = parts.name;
    } else {
        parts.stem = parts.name.first(dot);
        parts.extension = parts.name.sliced(dot + 1);
    }
    return parts;
}

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

QString withHomeAsTilde(const QString& path)
{
    const QString home = QDir::homePath();
    return path == home || path.startsWith(home + u'/') ? u'~' + path.mid(home.size()) : path;
}
