#include "FileNameParts.h"

FileNameParts FileNameParts::of(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    FileNameParts parts;
    parts.parent = slash < 0 ? QString() : slash == 0 ? path.first(1) : path.first(slash);
    parts.name = path.sliced(slash + 1);
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
