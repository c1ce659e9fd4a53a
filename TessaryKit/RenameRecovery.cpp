#include "RenameRecovery.h"

#include "FileNameParts.h"
#include "FileRenamer.h"
#include "KitCatalogue.h"
#include "MoveFailure.h"

#include <QFile>
#include <cerrno>

namespace RenameRecovery {
namespace {

struct Pending {
    const JournalOperation* operation;
    QString target;
    QString current; // where the file is now
};

QStringList placesOf(const JournalOperation& operation)
{
    QStringList places{operation.operation.source, operation.operation.destination};
    if (!operation.temporaryName.isEmpty())
        places.append(
            joinPath(FileNameParts::of(operation.operation.source).parent, operation.temporaryName));
    return places;
}

// Takes away the names a file still has besides `target`: the link-and-unlink fallback can leave two.
void removeExtraNames(const JournalOperation& operation, const QString& target)
{
    for (const QString& place : placesOf(operation))
        if (place != target && FileIdentity::of(place) == operation.identity)
            QFile::remove(place);
}

} // namespace

QStringList recover(const JournalEntry& entry, Direction direction, FileMover& mover)
{
    QStringList problems;
    QList<Pending> pending;
    for (const JournalOperation& operation : entry.operations) {
        if (!operation.identity)
            continue; // nothing was there to move
        const QString target =
            direction == Direction::Rollback ? operation.operation.source : operation.operation.destination;
        const QStringList places = placesOf(operation);
        const auto found = std::find_if(places.cbegin(), places.cend(), [&](const QString& place) {
            return FileIdentity::of(place) == operation.identity;
        });
        if (found == places.cend()) {
            //: Error after recovering an interrupted rename; the placeholder is the file's original name
            problems.append(
                KitCatalogue::tr("“%1” was found neither under its original name, nor its new name, nor "
                                 "its temporary name.")
                    .arg(FileNameParts::of(operation.operation.source).name));
        } else if (*found == target) {
            removeExtraNames(operation, target);
        } else {
            pending.append({&operation, target, *found});
        }
    }

    // Files move onto free targets; a file whose target another of them still holds waits for the next pass.
    // When only such waiting files are left (a swap that was half done), one parks to break the cycle.
    while (!pending.isEmpty()) {
        QList<Pending> waiting;
        for (Pending& file : pending) {
            const int reason = mover.move(file.current, file.target);
            if (reason == EEXIST || reason == ENOTEMPTY) {
                waiting.append(file);
            } else if (reason != 0) {
                //: Error after recovering an interrupted rename; the placeholder says what failed and why
                problems.append(
                    KitCatalogue::tr("%1 It is now “%2”.")
                        .arg(moveFailureMessage(FileNameParts::of(file.current).name,
                                                FileNameParts::of(file.target).name, reason, file.current),
                             file.current));
            } else {
                removeExtraNames(*file.operation, file.target);
            }
        }
        if (waiting.size() == pending.size()) {
            Pending& blocked = waiting.first();
            const QString parking =
                joinPath(FileNameParts::of(blocked.current).parent, FileRenamer::newTemporaryName());
            if (mover.move(blocked.current, parking) != 0) {
                for (const Pending& file : waiting)
                    //: Error after recovering an interrupted rename; the placeholder is where the file is now
                    problems.append(
                        KitCatalogue::tr("A file of the interrupted rename could not be moved back and is "
                                         "now “%1”.")
                            .arg(file.current));
                break;
            }
            blocked.current = parking;
        }
        pending = waiting;
    }

    if (direction == Direction::Rollback) {
        RenameJournal::remove(entry);
    } else {
        FileRenamer::Failures failures;
        for (const JournalOperation& operation : entry.operations)
            if (!operation.identity ||
                FileIdentity::of(operation.operation.destination) != operation.identity)
                //: Error shown for a file whose interrupted rename could not be completed
                failures.insert(operation.operation.id,
                                KitCatalogue::tr("The interrupted rename of this file could "
                                                 "not be completed."));
        JournalEntry done = entry;
        QString reason;
        RenameJournal::complete(done, failures, &reason);
    }
    return problems;
}

} // namespace RenameRecovery
