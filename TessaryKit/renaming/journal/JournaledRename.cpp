#include "renaming/journal/JournaledRename.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "common/KitCatalogue.h"
#include "platform/DurableFile.h"
#include "platform/FileLookup.h"
#include "platform/NonReplacingMover.h"
#include "renaming/MoveFailure.h"
#include "renaming/journal/RenameHistory.h"
#include "renaming/journal/RenameLock.h"

#include <QFile>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <future>

namespace JournaledRename {
namespace {

struct Run {
    JournalEntry entry;
    FileRenamer::Result result;
    std::optional<QString> unsynced; // why the moves may not be on the disk yet
};

QString unidentifiedText(const RenameOperation& operation)
{
    const int reason = FileLookup::errorOf(operation.source);
    return moveFailureMessage(FileNameParts::nameOf(operation.source),
                              FileNameParts::nameOf(operation.destination), reason ? reason : ENOENT,
                              operation.source);
}

// A file whose identity can't be read now could not be told from a stranger after a crash: neither it
// nor the files whose moves depend on it move. Takes their operations out of `entry`.
FileRenamer::Failures setAsideUnidentified(JournalEntry& entry)
{
    if (std::all_of(entry.operations.cbegin(), entry.operations.cend(),
                    [](const JournalOperation& operation) { return operation.identity.has_value(); }))
        return {}; // the common case, spared the grouping
    QList<RenameOperation> operations;
    for (const JournalOperation& operation : entry.operations)
        operations.append(operation.operation);
    FileRenamer::Failures failures;
    QList<bool> setAside(entry.operations.size(), false);
    for (const QList<qsizetype>& group : FileRenamer::groupsOf(operations)) {
        const auto unidentified = std::find_if(group.cbegin(), group.cend(),
                                               [&](qsizetype i) { return !entry.operations[i].identity; });
        if (unidentified == group.cend())
            continue;
        const RenameOperation& missing = operations[*unidentified];
        for (const qsizetype i : group) {
            setAside[i] = true;
            failures.insert(operations[i].id, i == *unidentified ? unidentifiedText(missing)
                                                                 : FileRenamer::keptNameMessage(
                                                                       operations[i].source, missing.source));
        }
    }
    if (!failures.isEmpty()) {
        QList<JournalOperation> kept;
        for (qsizetype i = 0; i < entry.operations.size(); ++i)
            if (!setAside[i])
                kept.append(entry.operations[i]);
        entry.operations = kept;
    }
    return failures;
}

std::optional<Run> run(JournalEntry::Kind kind, const QList<RenameOperation>& planned,
                       const QStringList& folders, const QString& journalFolder, QString* error,
                       FileMover& mover, const std::optional<RenameRules>& rules = std::nullopt)
{
    Run run{RenameJournal::prepare(journalFolder, kind, planned, rules), {}, std::nullopt};
    const FileRenamer::Failures unidentified = setAsideUnidentified(run.entry);
    QList<RenameOperation> operations;
    for (const JournalOperation& operation : run.entry.operations)
        operations.append(operation.operation);
    // The grouping needs only the moves: made while the journal goes to the disk.
    auto groups = std::async(std::launch::async, FileRenamer::groupsOf, std::cref(operations));
    QString reason;
    if (!RenameJournal::write(run.entry, &reason)) {
        //: Whole-operation error; the placeholder is the system's reason
        *error =
            KitCatalogue::tr("The rename journal can't be written (%1), so nothing was renamed.").arg(reason);
        return std::nullopt;
    }
    QStringList temporaryNames;
    temporaryNames.reserve(run.entry.operations.size());
    for (const JournalOperation& operation : run.entry.operations)
        temporaryNames.append(operation.temporaryName);
    run.result = FileRenamer::perform(operations, temporaryNames, groups.get(), mover);
    run.result.failures.insert(unidentified);
    if (const int reason = DurableFile::syncFolders(folders))
        //: Whole-operation error after a rename or undo; the placeholder is the system's reason
        run.unsynced = KitCatalogue::tr("The files were moved, but the disk didn't confirm that their names "
                                        "are stored (%1). Check the disk before relying on them.")
                           .arg(DurableFile::describe(reason));
    return run;
}

QString unrecordedText(const QString& reason)
{
    //: Whole-operation error after a rename; the placeholder is the system's reason
    return KitCatalogue::tr("The files were renamed, but the rename journal can't record that the rename "
                            "finished (%1). Finish the interrupted rename when asked, or run "
                            "“tessary-cli recover --forward”.")
        .arg(reason);
}

enum class Direction { Undo, Redo };

QString unrecordedReversalText(Direction direction, const QString& reason)
{
    if (direction == Direction::Undo)
        //: Whole-operation error after Undo; the placeholder is the system's reason
        return KitCatalogue::tr("The old names are back, but the rename history can't record it (%1), so it "
                                "may still show the files as renamed.")
            .arg(reason);
    //: Whole-operation error after Redo; the placeholder is the system's reason
    return KitCatalogue::tr("The new names are back, but the rename history can't record it (%1), so it may "
                            "still show the files as restored.")
        .arg(reason);
}

QString openRunText(Direction direction, const QString& reason)
{
    if (direction == Direction::Undo)
        //: Whole-operation error after Undo; the placeholder is the system's reason
        return KitCatalogue::tr("The old names are back, but the rename journal can't record it (%1). Run "
                                "“tessary-cli recover” to record it.")
            .arg(reason);
    //: Whole-operation error after Redo; the placeholder is the system's reason
    return KitCatalogue::tr("The new names are back, but the rename journal can't record it (%1). Run "
                            "“tessary-cli recover” to record it.")
        .arg(reason);
}

// Where a file that is on neither side of its move went, as far as the journal knows.
enum class Whereabouts { Unknown, RenamedLater, UndoneEarlier };

QString refusalText(Direction direction, const JournalOperation& operation, Whereabouts whereabouts)
{
    const RenameOperation& move = operation.operation;
    const QString name = FileNameParts::nameOf(direction == Direction::Undo ? move.destination : move.source);
    if (whereabouts == Whereabouts::RenamedLater)
        //: Error shown for a file after Undo or Redo; the placeholder is the file's name
        return KitCatalogue::tr("“%1” was renamed again later; undo that rename first.").arg(name);
    if (whereabouts == Whereabouts::UndoneEarlier)
        //: Error shown for a file after Redo; the placeholder is the file's old name
        return KitCatalogue::tr("“%1” got its old name back from the undo of an earlier rename; redo that "
                                "rename first.")
            .arg(name);
    if (direction == Direction::Undo)
        //: Error shown for a file after Undo; the placeholder is the file's new name
        return KitCatalogue::tr("“%1” was replaced or changed since the rename, so it keeps that name.")
            .arg(name);
    //: Error shown for a file after Redo; the placeholder is the file's old name
    return KitCatalogue::tr(
               "“%1” was replaced or changed since its old name was given back, so it keeps that "
               "name.")
        .arg(name);
}

bool isAtSource(const JournalOperation& operation)
{
    return operation.identity && FileLookup::identityOf(operation.operation.source) == operation.identity;
}

// What an undo or redo does with each file of the rename: moves it, finds it on that side already, leaves
// it (it was not on the other side as last recorded, and has a life of its own since), or refuses it.
struct Reversal {
    JournalEntry entry; // the rename's entry, its files marked as they are found
    QList<RenameOperation> moves;
    QList<qsizetype> moved; // the operation of each move
    FileRenamer::Failures refused;
};

Reversal planReversal(const JournalEntry& entry, Direction direction)
{
    Reversal reversal{entry, {}, {}, {}};
    const bool undoing = direction == Direction::Undo;
    QHash<QString, FileIdentity> lost; // where each file that is on neither side was last recorded
    QHash<QString, qsizetype> lostOperation;
    for (qsizetype i = 0; i < entry.operations.size(); ++i) {
        JournalOperation& operation = reversal.entry.operations[i];
        const RenameOperation& move = operation.operation;
        if (!entry.moved(operation))
            continue; // the rename never moved it
        if (undoing ? RenameJournal::isStillRenamed(operation) : RenameJournal::isRestored(operation)) {
            reversal.moves.append(undoing ? RenameOperation{move.id, move.destination, move.source} : move);
            reversal.moved.append(i);
        } else if (undoing ? isAtSource(operation) : RenameJournal::isStillRenamed(operation)) {
            operation.undone = undoing;
        } else if (operation.undone == undoing) {
            continue;
        } else if (operation.identity) {
            const QString& place = undoing ? move.destination : move.source;
            lost.insert(place, *operation.identity);
            lostOperation.insert(place, i);
        } else {
            reversal.refused.insert(move.id, refusalText(direction, operation, Whereabouts::Unknown));
        }
    }
    const QSet<QString> renamedLater = RenameHistory::renamedLater(entry, lost);
    const QSet<QString> undoneEarlier = undoing ? QSet<QString>() : RenameHistory::undoneEarlier(entry, lost);
    for (auto it = lostOperation.cbegin(); it != lostOperation.cend(); ++it) {
        const JournalOperation& operation = entry.operations[it.value()];
        const Whereabouts whereabouts = renamedLater.contains(it.key())    ? Whereabouts::RenamedLater
                                        : undoneEarlier.contains(it.key()) ? Whereabouts::UndoneEarlier
                                                                           : Whereabouts::Unknown;
        reversal.refused.insert(operation.operation.id, refusalText(direction, operation, whereabouts));
    }
    return reversal;
}

bool changesState(const JournalEntry& before, const JournalEntry& after)
{
    for (qsizetype i = 0; i < before.operations.size(); ++i)
        if (before.operations[i].undone != after.operations[i].undone ||
            before.operations[i].changedAt != after.operations[i].changedAt)
            return true;
    return false;
}

std::optional<Outcome> reverse(const JournalEntry& entry, Direction direction, const QString& journalFolder,
                               QString* error, FileMover& mover)
{
    QList<RenameOperation> renamed;
    for (const JournalOperation& operation : entry.operations)
        renamed.append(operation.operation);
    const QStringList folders = foldersOf(renamed);
    const auto lock = RenameLock::acquire(journalFolder, folders, error);
    if (!lock)
        return std::nullopt;

    Reversal reversal = planReversal(entry, direction);
    Outcome outcome;
    std::optional<Run> reversed;
    if (!reversal.moves.isEmpty()) {
        const auto kind = direction == Direction::Undo ? JournalEntry::Kind::Undo : JournalEntry::Kind::Redo;
        reversed = run(kind, reversal.moves, folders, journalFolder, error, mover);
        if (!reversed)
            return std::nullopt;
        outcome.failures = reversed->result.failures;
        outcome.stranded = reversed->result.stranded;
        outcome.unrecorded = reversed->unsynced;
    }
    outcome.failures.insert(reversal.refused);
    if (!outcome.stranded.isEmpty())
        return outcome; // the run stays open for a recovery, the rename's entry as it was
    for (const qsizetype i : reversal.moved)
        if (!outcome.failures.contains(entry.operations[i].operation.id))
            reversal.entry.operations[i].undone = direction == Direction::Undo;
    RenameJournal::recordChangeTimes(reversal.entry);
    QString reason;
    if (changesState(entry, reversal.entry) && !RenameJournal::recordReversal(reversal.entry, &reason)) {
        qCWarning(renameLog, "Failed to record an undo or redo: %s", qUtf8Printable(reason));
        outcome.unrecorded = unrecordedReversalText(direction, reason);
    }
    if (reversed && !RenameJournal::remove(reversed->entry, &reason))
        outcome.unrecorded = openRunText(direction, reason);
    outcome.entry = reversal.entry;
    return outcome;
}

} // namespace

QStringList foldersOf(const QList<RenameOperation>& operations)
{
    QSet<QString> folders;
    for (const RenameOperation& operation : operations) {
        folders.insert(FileNameParts::parentOf(operation.source));
        folders.insert(FileNameParts::parentOf(operation.destination));
    }
    return QStringList(folders.cbegin(), folders.cend());
}

std::optional<Outcome> rename(const QList<RenameOperation>& operations,
                              const std::optional<RenameRules>& rules, const QString& journalFolder,
                              QString* error)
{
    NonReplacingMover mover;
    return rename(operations, rules, journalFolder, error, mover);
}

std::optional<Outcome> rename(const QList<RenameOperation>& operations,
                              const std::optional<RenameRules>& rules, const QString& journalFolder,
                              QString* error, FileMover& mover)
{
    const QStringList folders = foldersOf(operations);
    const auto lock = RenameLock::acquire(journalFolder, folders, error);
    if (!lock)
        return std::nullopt;
    auto run = JournaledRename::run(JournalEntry::Kind::Rename, operations, folders, journalFolder, error,
                                    mover, rules);
    if (!run)
        return std::nullopt;
    Outcome outcome{run->result.failures, run->result.stranded, run->unsynced, std::nullopt};
    if (!outcome.stranded.isEmpty())
        return outcome; // the entry stays open: only a recovery can finish it

    RenameJournal::recordChangeTimes(run->entry);
    QString reason;
    if (RenameJournal::complete(run->entry, outcome.failures, &reason))
        RenameHistory::prune(journalFolder, run->entry.created);
    else // more urgent than an unconfirmed sync: it asks for a recovery
        outcome.unrecorded = unrecordedText(reason);
    if (outcome.failures.size() < operations.size())
        outcome.entry = run->entry;
    return outcome;
}

std::optional<Outcome> undo(const JournalEntry& entry, const QString& journalFolder, QString* error)
{
    NonReplacingMover mover;
    return undo(entry, journalFolder, error, mover);
}

std::optional<Outcome> undo(const JournalEntry& entry, const QString& journalFolder, QString* error,
                            FileMover& mover)
{
    return reverse(entry, Direction::Undo, journalFolder, error, mover);
}

std::optional<Outcome> redo(const JournalEntry& entry, const QString& journalFolder, QString* error)
{
    NonReplacingMover mover;
    return redo(entry, journalFolder, error, mover);
}

std::optional<Outcome> redo(const JournalEntry& entry, const QString& journalFolder, QString* error,
                            FileMover& mover)
{
    return reverse(entry, Direction::Redo, journalFolder, error, mover);
}

} // namespace JournaledRename
