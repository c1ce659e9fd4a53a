#include "common/FileNameParts.h"

#include <QDir>

namespace {

QStringView parentIn(const QString& path, qsizetype lastSlash)
{
    return lastSlash < 0 ? QStringView() : QStringView(path).first(lastSlash == 0 ? 1 : lastSlash);
}

} // namespace

QString FileNameParts::parentOf(const QString& path)
{
    return parentViewOf(path).toString();
}

QStringView FileNameParts::parentViewOf(const QString& path)
{
    return parentIn(path, path.lastIndexOf(u'/'));
}

QString FileNameParts::nameOf(const QString& path)
{
    return path.sliced(path.lastIndexOf(u'/') + 1);
}

FileNameParts FileNameParts::of(const QString& path, const QString& knownParent)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const QStringView parent = parentIn(path, slash);
    FileNameParts parts;
    parts.parent = !knownParent.isEmpty() && parent == knownParent ? knownParent : parent.toString();
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

QString withHomeAsTilde(const QString& path)
{
    const QString home = QDir::homePath();
    return path == home || path.startsWith(home + u'/') ? u'~' + path.mid(home.size()) : path;
}
