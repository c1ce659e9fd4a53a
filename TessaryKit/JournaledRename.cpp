#include "JournaledRename.h"

#include "Diagnostics.h"
#include "FileNameParts.h"
#include "KitCatalogue.h"

namespace JournaledRename {
namespace {

std::optional<JournaledRename::Outcome> run(JournalEntry::Kind kind, const QList<RenameOperation>& operations,
                                            const QString& journalFolder, QString* error, FileMover& mover)
{
    JournalEntry entry = RenameJournal::prepare(journalFolder, kind, operations);
    QString reason;
    if (!RenameJournal::write(entry, &reason)) {
        //: Whole-operation error; the placeholder is the system's reason
        *error =
            KitCatalogue::tr("The rename journal can't be written (%1), so nothing was renamed.").arg(reason);
        return std::nullopt;
    }
    QStringList temporaryNames;
    QStringList folders;
    for (const JournalOperation& operation : entry.operations) {
        temporaryNames.append(operation.temporaryName);
        folders << FileNameParts::of(operation.operation.source).parent
                << FileNameParts::of(operation.operation.destination).parent;
    }
    const FileRenamer::Failures failures = FileRenamer::perform(operations, temporaryNames, mover);
    RenameJournal::syncFolders(folders);

    Outcome outcome{failures, std::nullopt};
    if (kind == JournalEntry::Kind::Undo) {
        RenameJournal::remove(entry); // an undo is kept only while it runs
    } else if (RenameJournal::complete(entry, failures, &reason)) {
        RenameJournal::trimHistory(journalFolder);
        if (failures.size() < operations.size())
            outcome.undoable = entry;
    } else {
        qCWarning(renameLog, "Failed to complete the rename journal entry: %s", qUtf8Printable(reason));
    }
    return outcome;
}

} // namespace

std::optional<Outcome> rename(const QList<RenameOperation>& operations, const QString& journalFolder,
                              QString* error, FileMover& mover)
{
    return run(JournalEntry::Kind::Rename, operations, journalFolder, error, mover);
}

std::optional<Outcome> undo(const JournalEntry& entry, const QString& journalFolder, QString* error,
                            FileMover& mover)
{
    FileRenamer::Failures refused;
    QList<RenameOperation> reverse;
    QList<JournalOperation> stillRenamed;
    for (const JournalOperation& operation : entry.operations) {
        if (entry.failures.contains(operation.operation.id))
            continue; // it never moved
        const RenameOperation& renamed = operation.operation;
        if (!operation.identity || FileIdentity::of(renamed.destination) != operation.identity) {
            //: Error shown for a file after Undo; the placeholder is the file's new name
            refused.insert(renamed.id,
                           KitCatalogue::tr("“%1” was replaced or changed since the rename, so it keeps "
                                            "that name.")
                               .arg(FileNameParts::of(renamed.destination).name));
            stillRenamed.append(operation);
            continue;
        }
        reverse.append({renamed.id, renamed.destination, renamed.source});
    }

    auto outcome =
        reverse.isEmpty() ? Outcome() : run(JournalEntry::Kind::Undo, reverse, journalFolder, error, mover);
    if (!outcome)
        return std::nullopt;
    for (const JournalOperation& operation : entry.operations)
        if (outcome->failures.contains(operation.operation.id))
            stillRenamed.append(operation);
    outcome->failures.insert(refused);

    RenameJournal::remove(entry);
    if (!stillRenamed.isEmpty()) { // what is still renamed stays undoable
        JournalEntry remaining = RenameJournal::prepare(journalFolder, JournalEntry::Kind::Rename, {});
        remaining.operations = stillRenamed;
        QString reason;
        if (RenameJournal::write(remaining, &reason) && RenameJournal::complete(remaining, {}, &reason))
            outcome->undoable = remaining;
        else
            qCWarning(renameLog, "Failed to update the rename journal entry: %s", qUtf8Printable(reason));
    }
    return outcome;
}

} // namespace JournaledRename
