#include "renaming/MoveFailure.h"

#include "common/KitCatalogue.h"
#include "platform/FileLookup.h"

#include <cerrno>
#include <cstring>

namespace {

QString because(int reason, const QString& source)
{
    switch (reason) {
    case EEXIST:
    case ENOTEMPTY:
        //: Completes "“a.txt” couldn't be renamed to “b.txt” because …"
        return KitCatalogue::tr("an item with that name already exists");
    case ENOENT:
        return FileLookup::identityOf(source)
                   //: Completes "“a.txt” couldn't be renamed to “b.txt” because …"
                   ? KitCatalogue::tr("the folder it was to be moved into doesn't exist")
                   //: Completes "“a.txt” couldn't be renamed to “b.txt” because …"
                   : KitCatalogue::tr("it no longer exists");
    case EACCES:
    case EPERM:
        //: Completes "“a.txt” couldn't be renamed to “b.txt” because …"
        return KitCatalogue::tr("you don't have permission to change it");
    case ENAMETOOLONG:
        //: Completes "“a.txt” couldn't be renamed to “b.txt” because …"
        return KitCatalogue::tr("the name is too long for this file system");
    case EXDEV:
        //: Completes "“a.txt” couldn't be renamed to “b.txt” because …"
        return KitCatalogue::tr("the new location is on another volume");
    case EROFS:
        //: Completes "“a.txt” couldn't be renamed to “b.txt” because …"
        return KitCatalogue::tr("the volume is read-only");
    case ENOSPC:
    case EDQUOT:
        //: Completes "“a.txt” couldn't be renamed to “b.txt” because …"
        return KitCatalogue::tr("the disk is full");
    case EBUSY:
        //: Completes "“a.txt” couldn't be renamed to “b.txt” because …"
        return KitCatalogue::tr("it is in use");
    default:
        //: Completes "“a.txt” couldn't be renamed to “b.txt” because …"; the placeholder is the system's
        //: error
        return KitCatalogue::tr("of an error: %1").arg(QString::fromLocal8Bit(std::strerror(reason)));
    }
}

} // namespace

QString moveFailureMessage(const QString& name, const QString& newName, int reason, const QString& source)
{
    //: Error shown for a file in the file list; the placeholders are the current name, the new name and the
    //: reason
    return KitCatalogue::tr("“%1” couldn't be renamed to “%2” because %3.")
        .arg(name, newName, because(reason, source));
}
