#include "renaming/journal/RenameRecovery.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "common/KitCatalogue.h"
#include "platform/DurableFile.h"
#include "platform/FileLookup.h"
#include "platform/NonReplacingMover.h"
#include "renaming/FileRenamer.h"
#include "renaming/journal/JournaledRename.h"
#include "renaming/journal/RenameLock.h"

#include <QDir>
#include <numeric>

namespace RenameRecovery {
namespace {

// Where the file of `operation` is now, among the names the journal knows; nothing when it is at none.
std::optional<QString> locate(const JournalOperation& operation)
{
    if (!operation.identity)
        return std::nullopt;
    for (const QString& place : operation.places())
        if (FileLookup::identityOf(place) == operation.identity)
            return place;
    return std::nullopt;
}

bool isTemporary(const QString& place)
{
    return FileRenamer::isTemporaryName(FileNameParts::nameOf(place));
}

// Takes away the names a file still has besides `place`: the link-and-unlink fallback can leave two. A
// sentence for each name that stays.
QStringList removeExtraNames(const JournalOperation& operation, const QString& place)
{
    QStringList problems;
    for (const QString& other : operation.places()) {
        if (other == place || FileLookup::identityOf(other) != operation.identity)
            continue;
        if (const int reason = DurableFile::remove(other))
            //: Error after recovering an interrupted rename; %1 and %2 are two names of one file, %3 the
            //: system's reason
            problems.append(KitCatalogue::tr("“%1” is also still “%2”, and that second name can't be removed "
                                             "(%3).")
                                .arg(place, other, DurableFile::describe(reason)));
    }
    return problems;
}

// Where the files under temporary names are, for a recovery that could not move them.
QStringList parkedFiles(const JournalEntry& entry)
{
    QStringList parked;
    for (const JournalOperation& operation : entry.operations)
        if (const auto place = locate(operation); place && isTemporary(*place))
            //: Error when an interrupted rename could not be recovered; %1 is the file's original name, %2
            //: where it is now
            parked.append(KitCatalogue::tr("“%1” is still “%2”.")
                              .arg(FileNameParts::nameOf(operation.operation.source), *place));
    return parked;
}

class Recovery {
public:
    Recovery(const JournalEntry& entry, FileMover& mover) : entry(entry), mover(mover) {}

    QStringList run(Direction direction)
    {
        removeReservations();
        QList<std::optional<QString>> places;
        for (const JournalOperation& operation : entry.operations)
            places.append(locate(operation));
        if (isAtDestinations(places))
            direction = Direction::Forward;
        QList<qsizetype> all(entry.operations.size());
        std::iota(all.begin(), all.end(), 0);
        targets.resize(entry.operations.size());
        for (const qsizetype i : all)
            targets[i] = sideOf(entry.operations[i], direction);
        if (!moveToTargets(all))
            return problems + parkedFiles(entry);
        // A group of the rename that could not reach that side goes, as a whole, to the other one.
        const QList<qsizetype> split = splitGroups();
        for (const qsizetype i : split)
            targets[i] = sideOf(entry.operations[i], opposite(direction));
        if (!split.isEmpty() && !moveToTargets(split))
            return problems + parkedFiles(entry);
        finish(direction);
        return problems;
    }

private:
    // A move cut short on a file system without RENAME_NOREPLACE can leave its reservation behind.
    void removeReservations() const
    {
        for (const JournalOperation& operation : entry.operations)
            for (const QString& place : operation.places())
                if (FileLookup::identityOf(place) != operation.identity &&
                    NonReplacingMover::isReservation(place) && !QDir().remove(place) && !QDir().rmdir(place))
                    // An empty placeholder: in the way of a move, which then reports it, but holding nothing.
                    qCWarning(renameLog, "Failed to remove a reservation: %s", qUtf8Printable(place));
    }

    static Direction opposite(Direction direction)
    {
        return direction == Direction::Rollback ? Direction::Forward : Direction::Rollback;
    }

    static QString sideOf(const JournalOperation& operation, Direction direction)
    {
        return direction == Direction::Rollback ? operation.operation.source
                                                : operation.operation.destination;
    }

    bool isAtDestinations(const QList<std::optional<QString>>& places) const
    {
        bool any = false;
        for (qsizetype i = 0; i < places.size(); ++i) {
            if (!places[i])
                continue;
            if (*places[i] != entry.operations[i].operation.destination)
                return false;
            any = true;
        }
        return any;
    }

    QList<qsizetype> splitGroups() const
    {
        QList<RenameOperation> operations;
        for (const JournalOperation& operation : entry.operations)
            operations.append(operation.operation);
        QList<qsizetype> split;
        for (const FileRenamer::Groups::Group group : FileRenamer::layoutOf(operations).groups) {
            const bool reached = std::all_of(group.begin(), group.end(), [&](qsizetype i) {
                const auto place = locate(entry.operations[i]);
                return !place || *place == targets[i];
            });
            if (!reached)
                for (const qsizetype i : group)
                    split.append(i);
        }
        return split;
    }

    // One pass of the renamer over the files of `indices` not at their targets, group by group, with the
    // temporary names journaled first; then one move to the other visible name for a file left parked.
    bool moveToTargets(const QList<qsizetype>& indices)
    {
        QList<RenameOperation> moves;
        QList<qsizetype> movedOperation;
        for (const qsizetype i : indices) {
            const auto place = locate(entry.operations[i]);
            if (place && *place != targets[i]) {
                moves.append({entry.operations[i].operation.id, *place, targets[i]});
                movedOperation.append(i);
            }
        }
        const QList<bool> parks = FileRenamer::layoutOf(moves).parks;
        QStringList temporaryNames;
        QHash<qsizetype, QString> recorded;
        for (qsizetype k = 0; k < moves.size(); ++k) {
            temporaryNames.append(parks[k] ? FileRenamer::newTemporaryName() : QString());
            if (parks[k])
                recorded.insert(movedOperation[k], temporaryNames.last());
        }
        QString reason;
        if (!RenameJournal::addRecoveryNames(entry, recorded, &reason)) {
            //: Error when recovering an interrupted rename; the placeholder is the system's reason
            problems.append(
                KitCatalogue::tr("The rename journal can't be written (%1), so nothing was recovered.")
                    .arg(reason));
            return false;
        }
        const FileRenamer::Failures passFailures =
            FileRenamer::perform(moves, temporaryNames, mover).failures;
        for (auto it = passFailures.cbegin(); it != passFailures.cend(); ++it)
            if (!failures.contains(it.key()))
                failures.insert(it.key(), it.value());
        for (const qsizetype i : movedOperation) {
            const JournalOperation& operation = entry.operations[i];
            const auto place = locate(operation);
            const QString otherSide = targets[i] == operation.operation.source
                                          ? operation.operation.destination
                                          : operation.operation.source;
            // A file that stays parked is found there by finish, which tells where it is.
            if (place && isTemporary(*place))
                if (const int reason = mover.move(*place, otherSide))
                    qCWarning(renameLog, "Failed to move a parked file to its other name: %s",
                              qUtf8Printable(DurableFile::describe(reason)));
        }
        if (const int reason = DurableFile::syncFolders(JournaledRename::foldersOf(moves)))
            //: Error when recovering an interrupted rename; the placeholder is the system's reason
            problems.append(
                KitCatalogue::tr("The disk didn't confirm that the recovered names are stored (%1).")
                    .arg(DurableFile::describe(reason)));
        return true;
    }

    void finish(Direction direction)
    {
        bool parked = false, anyRenamed = false;
        FileRenamer::Failures notRenamed;
        for (const JournalOperation& operation : entry.operations) {
            const auto place = locate(operation);
            if (!place) {
                if (operation.identity)
                    //: Error after recovering an interrupted rename; the placeholder is the file's original
                    //: name
                    problems.append(
                        KitCatalogue::tr("“%1” was found neither under its original name, nor its "
                                         "new name, nor its temporary name.")
                            .arg(FileNameParts::nameOf(operation.operation.source)));
                notRenamed.insert(operation.operation.id, notCompletedText());
                continue;
            }
            problems += removeExtraNames(operation, *place);
            parked = parked || isTemporary(*place);
            anyRenamed = anyRenamed || *place == operation.operation.destination;
            if (*place != operation.operation.destination)
                notRenamed.insert(operation.operation.id, notCompletedText());
            if (*place != sideOf(operation, direction))
                //: Error after recovering an interrupted rename; %1 says what failed and why, %2 is where
                //: the file is now
                problems.append(KitCatalogue::tr("%1 It is now “%2”.")
                                    .arg(failures.value(operation.operation.id, notCompletedText()), *place));
        }
        if (parked)
            return; // the entry stays open, so that a later recovery can finish it
        QString reason;
        if (entry.kind != JournalEntry::Kind::Rename || !anyRenamed) {
            if (!RenameJournal::remove(entry, &reason))
                problems.append(recordingFailedText(reason));
            return;
        }
        RenameJournal::recordChangeTimes(entry);
        if (!RenameJournal::complete(entry, notRenamed, &reason))
            problems.append(recordingFailedText(reason));
    }

    static QString recordingFailedText(const QString& reason)
    {
        //: Error after recovering an interrupted rename; the placeholder is the system's reason
        return KitCatalogue::tr("The rename journal can't record the recovery (%1).").arg(reason);
    }

    static QString notCompletedText()
    {
        //: Error shown for a file whose interrupted rename could not be completed
        return KitCatalogue::tr("The interrupted rename of this file could not be completed.");
    }

    JournalEntry entry;
    FileMover& mover;
    QStringList targets;            // where each operation's file is to go
    FileRenamer::Failures failures; // of both passes, the first pass's kept
    QStringList problems;
};

} // namespace

QStringList recover(const JournalEntry& entry, Direction direction)
{
    NonReplacingMover mover;
    return recover(entry, direction, mover);
}

QStringList recover(const JournalEntry& entry, Direction direction, FileMover& mover)
{
    QList<RenameOperation> operations;
    for (const JournalOperation& operation : entry.operations)
        operations.append(operation.operation);
    QString error;
    const auto lock = RenameLock::acquire(FileNameParts::parentOf(entry.file),
                                          JournaledRename::foldersOf(operations), &error);
    if (!lock)
        return QStringList{error} + parkedFiles(entry);
    return Recovery(entry, mover).run(direction);
}

} // namespace RenameRecovery
