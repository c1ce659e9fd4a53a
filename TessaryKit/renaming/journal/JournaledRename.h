#pragma once

#include "renaming/FileMover.h"
#include "renaming/FileRenamer.h"
#include "renaming/journal/RenameJournal.h"

#include <optional>

// Renames and undoes through the rename journal, so that an interrupted run can be recovered and a rename
// undone after a restart. Each holds the RenameLock while it runs. Nothing when the journal cannot be
// written or another rename holds the lock; then nothing has moved.
namespace JournaledRename {

struct Outcome {
    FileRenamer::Failures failures;
    // Files left under a temporary name: their entry stays open for a recovery to finish.
    QHash<QString, QString> stranded;
    // Why the journal could not record the end of the run, when it could not: the files are where the
    // failures say, but the command must not report success.
    std::optional<QString> unrecorded;
    // The rename's entry as it stands afterwards: after a rename that moved anything, or an undo or redo
    // that left no file between names.
    std::optional<JournalEntry> entry;

    bool succeeded() const { return failures.isEmpty() && stranded.isEmpty() && !unrecorded; }
};

// `rules`, when given, are recorded with the rename, for the history to show and bring back.
std::optional<Outcome> rename(const QList<RenameOperation>& operations,
                              const std::optional<RenameRules>& rules, const QString& journalFolder,
                              QString* error);
std::optional<Outcome> rename(const QList<RenameOperation>& operations,
                              const std::optional<RenameRules>& rules, const QString& journalFolder,
                              QString* error, FileMover& mover);

// Gives the files of a complete rename their old names back. A file that is no longer the one renamed
// (another item has its new name now) is refused, with a word on whether a later rename took it; one that
// has its old name again already is counted as undone. The entry records what is undone afterwards, once
// no file is left between names.
std::optional<Outcome> undo(const JournalEntry& entry, const QString& journalFolder, QString* error);
std::optional<Outcome> undo(const JournalEntry& entry, const QString& journalFolder, QString* error,
                            FileMover& mover);
// Gives undone files their new names back, with the same checks from the other side.
std::optional<Outcome> redo(const JournalEntry& entry, const QString& journalFolder, QString* error);
std::optional<Outcome> redo(const JournalEntry& entry, const QString& journalFolder, QString* error,
                            FileMover& mover);

// The folders that the operations move files in.
QStringList foldersOf(const QList<RenameOperation>& operations);

} // namespace JournaledRename
