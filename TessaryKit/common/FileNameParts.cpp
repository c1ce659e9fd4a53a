#include "common/FileNameParts.h"

#include <QDir>

namespace {

QStringView parentIn(const QString& path, qsizetype lastSlash)
{
    return lastSlash < 0 ? QStringView() : QStringView(path).first(lastSlash == 0 ? 1 : lastSlash);
}

// Where the extension's dot is in `name`; -1 when the name has no extension.
qsizetype extensionDotIn(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot <= 0 || dot == name.size() - 1 ? -1 : dot;
}

QStringView nameIn(const QString& path)
{
    return QStringView(path).sliced(path.lastIndexOf(u'/') + 1);
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
    return nameIn(path).toString();
}

QString FileNameParts::stemOf(const QString& path)
{
    const QStringView name = nameIn(path);
    const qsizetype dot = extensionDotIn(name);
    return (dot < 0 ? name : name.first(dot)).toString();
}

QString FileNameParts::extensionOf(const QString& path)
{
    const QStringView name = nameIn(path);
    const qsizetype dot = extensionDotIn(name);
    return dot < 0 ? QString() : name.sliced(dot + 1).toString();
}

FileNameParts FileNameParts::of(const QString& path, const QString& knownParent)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const QStringView parent = parentIn(path, slash);
    FileNameParts parts;
    parts.parent = !knownParent.isEmpty() && parent == knownParent ? knownParent : parent.toString();
    parts.name = path.sliced(slash + 1);
    const qsizetype dot = extensionDotIn(parts.name);
    if (dot < 0) {
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
