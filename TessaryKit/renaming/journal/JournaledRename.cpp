#include "renaming/journal/JournaledRename.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "common/InHalves.h"
#include "common/KitCatalogue.h"
#include "platform/DurableFile.h"
#include "platform/FileLookup.h"
#include "platform/NonReplacingMover.h"
#include "renaming/journal/JournalChunks.h"
#include "renaming/journal/RenameHistory.h"
#include "renaming/journal/RenameLock.h"

#include <QSet>
#include <future>
#include <vector>

namespace JournaledRename {
namespace {

struct Run {
    JournalEntry entry;
    FileRenamer::Result result;
    std::optional<QString> unsynced; // why the moves may not be on the disk yet
};

QString unstoredText(const QString& reason)
{
    //: Error shown for a file; the placeholder is the system's reason
    return KitCatalogue::tr("The rename journal can't be written (%1), so this file was not renamed.")
        .arg(reason);
}

// The layout reads only the paths: it is made on another core while the caller locks the folders.
std::future<FileRenamer::Layout> layoutOf(const QList<RenameOperation>& planned)
{
    return std::async(std::launch::async, [&planned] { return FileRenamer::layoutOf(planned); });
}

// Moves each chunk of the journal once it is stored, while the next one is written. `layout` is the
// layout of `planned`.
std::optional<Run> run(JournalEntry::Kind kind, const QList<RenameOperation>& planned,
                       std::future<FileRenamer::Layout> layout, const QStringList& folders,
                       const QString& journalFolder, QString* error, FileMover& mover,
                       const std::optional<RenameRules>& rules = std::nullopt)
{
    Run run{RenameJournal::prepare(journalFolder, kind, planned, rules), {}, std::nullopt};
    JournalChunks chunks(run.entry, std::move(layout));
    run.entry.operations.clear();
    bool stored = false;
    while (const std::optional<JournalChunks::Chunk> chunk = chunks.next()) {
        stored = true;
        QList<RenameOperation> operations;
        QStringList temporaryNames;
        for (const JournalOperation& operation : chunk->operations) {
            operations.append(operation.operation);
            temporaryNames.append(operation.temporaryName);
        }
        const FileRenamer::Result result =
            FileRenamer::perform(operations, temporaryNames, chunk->groups, mover);
        run.result.failures.insert(result.failures);
        run.result.failures.insert(chunk->setAside);
        run.result.stranded.insert(result.stranded);
        run.entry.operations += chunk->operations;
    }
    if (const auto& unstored = chunks.unstored()) {
        if (!stored) {
            //: Whole-operation error; the placeholder is the system's reason
            *error = KitCatalogue::tr("The rename journal can't be written (%1), so nothing was renamed.")
                         .arg(unstored->reason);
            return std::nullopt;
        }
        run.result.failures.insert(unstored->setAside);
        for (const RenameOperation& operation : unstored->operations)
            run.result.failures.insert(operation.id, unstoredText(unstored->reason));
    }
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

// Where a moved file of the rename is now: on the side the undo or redo moves it from, on the side it
// moves it to, or on neither.
enum class Side : char { Neither, From, To };

// A lookup per file is most of an undo's own work: both halves of the files are looked up at once.
std::vector<Side> sidesOf(const JournalEntry& entry, Direction direction)
{
    const bool undoing = direction == Direction::Undo;
    std::vector<Side> sides(size_t(entry.operations.size()), Side::Neither);
    inHalves(entry.operations.size(), [&](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i) {
            const JournalOperation& operation = entry.operations[i];
            if (!entry.moved(operation))
                continue;
            if (undoing ? RenameJournal::isStillRenamed(operation) : RenameJournal::isRestored(operation))
                sides[size_t(i)] = Side::From;
            else if (undoing ? isAtSource(operation) : RenameJournal::isStillRenamed(operation))
                sides[size_t(i)] = Side::To;
        }
    });
    return sides;
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
    const std::vector<Side> sides = sidesOf(entry, direction);
    for (qsizetype i = 0; i < entry.operations.size(); ++i) {
        JournalOperation& operation = reversal.entry.operations[i];
        const RenameOperation& move = operation.operation;
        if (!entry.moved(operation))
            continue; // the rename never moved it
        if (sides[size_t(i)] == Side::From) {
            reversal.moves.append(undoing ? RenameOperation{move.id, move.destination, move.source} : move);
            reversal.moved.append(i);
        } else if (sides[size_t(i)] == Side::To) {
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
        reversed = run(kind, reversal.moves, layoutOf(reversal.moves), folders, journalFolder, error, mover);
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
    QStringView last; // most paths follow one in the same folder: they cost a comparison, not a copy
    const auto add = [&](const QString& path) {
        const QStringView folder = FileNameParts::parentViewOf(path);
        if (folder != last || folders.isEmpty())
            folders.insert(folder.toString());
        last = folder;
    };
    for (const RenameOperation& operation : operations) {
        add(operation.source);
        add(operation.destination);
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
    std::future<FileRenamer::Layout> layout = layoutOf(operations);
    const QStringList folders = foldersOf(operations);
    const auto lock = RenameLock::acquire(journalFolder, folders, error);
    if (!lock)
        return std::nullopt;
    auto run = JournaledRename::run(JournalEntry::Kind::Rename, operations, std::move(layout), folders,
                                    journalFolder, error, mover, rules);
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
