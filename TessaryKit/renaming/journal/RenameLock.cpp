#include "renaming/journal/RenameLock.h"

#include "common/KitCatalogue.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

constexpr std::chrono::milliseconds retryInterval{25};

// Folders are locked in one order everywhere, so two lockers never wait for each other in a circle.
QStringList lockOrder(const QString& journalFolder, const QStringList& folders)
{
    QSet<QString> unique(folders.cbegin(), folders.cend());
    unique.remove(journalFolder);
    QStringList ordered(unique.cbegin(), unique.cend());
    std::sort(ordered.begin(), ordered.end());
    ordered.prepend(journalFolder);
    return ordered;
}

} // namespace

std::optional<RenameLock> RenameLock::acquire(const QString& journalFolder, const QStringList& folders,
                                              QString* error, std::chrono::milliseconds wait)
{
    QDir().mkpath(journalFolder);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    RenameLock lock;
    for (const QString& folder : lockOrder(journalFolder, folders)) {
        FileDescriptor descriptor(
            ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!descriptor.isOpen() && folder == journalFolder) {
            //: Whole-operation error; the placeholder is the system's reason
            *error = KitCatalogue::tr("The rename journal can't be locked (%1), so nothing was changed.")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return std::nullopt;
        }
        // A folder that cannot be opened (no permission to read it) is covered by the journal's lock alone.
        if (!descriptor.isOpen())
            continue;
        while (::flock(descriptor.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                break; // a file system without locks: nothing to wait for
            if (std::chrono::steady_clock::now() >= deadline) {
                //: Whole-operation error when another rename, undo or recovery is running
                *error = KitCatalogue::tr("Another rename is in progress, in Tessary or in a terminal. Try "
                                          "again when it has finished.");
                return std::nullopt;
            }
            std::this_thread::sleep_for(retryInterval);
        }
        lock.held.push_back(std::move(descriptor));
    }
    return lock;
}
