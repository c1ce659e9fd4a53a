#include "renaming/journal/JournaledRename.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "common/KitCatalogue.h"
#include "platform/DurableFile.h"
#include "platform/FileLookup.h"
#include "platform/NonReplacingMover.h"
#include "renaming/MoveFailure.h"
#include "renaming/journal/RenameLock.h"

#include <QFile>
#include <QSet>
#include <algorithm>
#include <cerrno>

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
                       FileMover& mover)
{
    Run run{RenameJournal::prepare(journalFolder, kind, planned), {}, std::nullopt};
    const FileRenamer::Failures unidentified = setAsideUnidentified(run.entry);
    QList<RenameOperation> operations;
    for (const JournalOperation& operation : run.entry.operations)
        operations.append(operation.operation);
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
    run.result = FileRenamer::perform(operations, temporaryNames, mover);
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

QString unforgottenText(const QString& reason)
{
    //: Whole-operation error after Undo; the placeholder is the system's reason
    return KitCatalogue::tr("The old names are back, but the rename journal can't forget the rename (%1), so "
                            "Undo may offer it again.")
        .arg(reason);
}

// The entry that replaces `entry` after an undo: what is still renamed. Written before `entry` goes, so
// that a crash in between leaves one of them. `problem` learns why the journal could not be brought up
// to date.
std::optional<JournalEntry> replaceEntry(const JournalEntry& entry,
                                         const QList<JournalOperation>& stillRenamed,
                                         const QString& journalFolder, std::optional<QString>* problem)
{
    std::optional<JournalEntry> remaining;
    QString reason;
    if (!stillRenamed.isEmpty()) {
        remaining = RenameJournal::prepare(journalFolder, JournalEntry::Kind::Rename, {});
        remaining->operations = stillRenamed;
        if (!RenameJournal::write(*remaining, &reason) || !RenameJournal::complete(*remaining, {}, &reason)) {
            // The old entry stays: it names the restored files too, which a later undo leaves alone.
            qCWarning(renameLog, "Failed to update the rename journal entry: %s", qUtf8Printable(reason));
            QString removal;
            if (QFile::exists(remaining->file) && !RenameJournal::remove(*remaining, &removal))
                qCWarning(renameLog, "Failed to remove a half-written journal entry: %s",
                          qUtf8Printable(removal));
            *problem = unforgottenText(reason);
            return entry;
        }
    }
    if (!RenameJournal::remove(entry, &reason))
        *problem = unforgottenText(reason);
    return remaining;
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

std::optional<Outcome> rename(const QList<RenameOperation>& operations, const QString& journalFolder,
                              QString* error)
{
    NonReplacingMover mover;
    return rename(operations, journalFolder, error, mover);
}

std::optional<Outcome> rename(const QList<RenameOperation>& operations, const QString& journalFolder,
                              QString* error, FileMover& mover)
{
    const QStringList folders = foldersOf(operations);
    const auto lock = RenameLock::acquire(journalFolder, folders, error);
    if (!lock)
        return std::nullopt;
    auto run =
        JournaledRename::run(JournalEntry::Kind::Rename, operations, folders, journalFolder, error, mover);
    if (!run)
        return std::nullopt;
    Outcome outcome{run->result.failures, run->result.stranded, run->unsynced, std::nullopt};
    if (!outcome.stranded.isEmpty())
        return outcome; // the entry stays open: only a recovery can finish it

    RenameJournal::recordChangeTimes(run->entry);
    QString reason;
    if (RenameJournal::complete(run->entry, outcome.failures, &reason))
        RenameJournal::trimHistory(journalFolder);
    else // more urgent than an unconfirmed sync: it asks for a recovery
        outcome.unrecorded = unrecordedText(reason);
    if (outcome.failures.size() < operations.size())
        outcome.undoable = run->entry;
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
    QList<RenameOperation> renamed;
    for (const JournalOperation& operation : entry.operations)
        renamed.append(operation.operation);
    const QStringList folders = foldersOf(renamed);
    const auto lock = RenameLock::acquire(journalFolder, folders, error);
    if (!lock)
        return std::nullopt;

    FileRenamer::Failures refused;
    QList<RenameOperation> reverse;
    QList<JournalOperation> stillRenamed;
    for (const JournalOperation& operation : entry.operations) {
        const RenameOperation& move = operation.operation;
        if (entry.failures.contains(move.id))
            continue; // it never moved
        if (RenameJournal::isStillRenamed(operation)) {
            reverse.append({move.id, move.destination, move.source});
        } else if (!operation.identity || FileLookup::identityOf(move.source) != operation.identity) {
            //: Error shown for a file after Undo; the placeholder is the file's new name
            refused.insert(move.id, KitCatalogue::tr("“%1” was replaced or changed since the rename, so it "
                                                     "keeps that name.")
                                        .arg(FileNameParts::nameOf(move.destination)));
            stillRenamed.append(operation);
        } // else it has its old name again already
    }

    Outcome outcome;
    std::optional<Run> undone;
    if (!reverse.isEmpty()) {
        undone = run(JournalEntry::Kind::Undo, reverse, folders, journalFolder, error, mover);
        if (!undone)
            return std::nullopt;
        outcome.failures = undone->result.failures;
        outcome.stranded = undone->result.stranded;
        outcome.unrecorded = undone->unsynced;
        if (!outcome.stranded.isEmpty()) { // the undo stays open for a recovery, the rename as it was
            outcome.failures.insert(refused);
            return outcome;
        }
    }
    for (const JournalOperation& operation : entry.operations)
        if (outcome.failures.contains(operation.operation.id))
            stillRenamed.append(operation);
    outcome.failures.insert(refused);
    outcome.undoable = replaceEntry(entry, stillRenamed, journalFolder, &outcome.unrecorded);
    QString reason;
    if (undone && !RenameJournal::remove(undone->entry, &reason))
        //: Whole-operation error after Undo; the placeholder is the system's reason
        outcome.unrecorded = KitCatalogue::tr("The old names are back, but the rename journal can't record "
                                              "it (%1). Run “tessary-cli recover” to record it.")
                                 .arg(reason);
    return outcome;
}

} // namespace JournaledRename
