#pragma once

#include "FileMover.h"
#include "FileRenamer.h"
#include "RenameJournal.h"

#include <optional>

// Renames and undoes through the rename journal, so that an interrupted run can be recovered and a rename
// undone after a restart. Nothing when the journal cannot be written; then nothing has moved.
namespace JournaledRename {

struct Outcome {
    FileRenamer::Failures failures;
    std::optional<JournalEntry> undoable; // the entry that undoes what is renamed now, if anything is
};

std::optional<Outcome> rename(const QList<RenameOperation>& operations, const QString& journalFolder,
                              QString* error, FileMover& mover);

// Gives the files of a complete rename their names back. A file that is no longer the one renamed (another
// item has its new name now) is refused. The entry keeps only what is still renamed afterwards.
std::optional<Outcome> undo(const JournalEntry& entry, const QString& journalFolder, QString* error,
                            FileMover& mover);

} // namespace JournaledRename
