#include "platform/NameEncoding.h"

#include <QFile>
#include <dirent.h>

namespace NameEncoding {
namespace {

// An entry of `folder` whose bytes differ from the UTF-8 of `name` but read as `name`.
bool hasLookalike(const QString& folder, const QString& name)
{
    DIR* listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing)
        return false;
    const QByteArray exact = QFile::encodeName(name);
    bool found = false;
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray bytes(entry->d_name);
        if (bytes != exact && QFile::decodeName(bytes) == name) {
            found = true;
            break;
        }
    }
    ::closedir(listing);
    return found;
}

} // namespace

bool isExact(const QString& path)
{
    if (!path.contains(QChar::ReplacementCharacter))
        return true;
    QString folder = path.startsWith(u'/') ? QStringLiteral("/") : QStringLiteral(".");
    for (const QString& name : path.split(u'/', Qt::SkipEmptyParts)) {
        if (name.contains(QChar::ReplacementCharacter) && hasLookalike(folder, name))
            return false;
        folder = folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
    }
    return true;
}

} // namespace NameEncoding
