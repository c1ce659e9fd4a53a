#pragma once

#include "renaming/FileMover.h"
#include "renaming/journal/RenameJournal.h"

#include <QStringList>

// Brings the files of an interrupted rename or undo to one consistent side: every file to its source
// (rollback) or every file to its destination (forward). An entry whose files are all at their
// destinations already is completed in either direction: a rename that got that far is never rolled back.
// Files are found by their recorded identity under every name the journal knows for them. Recovery holds
// the RenameLock, records each temporary name it parks a file under before the move, moves no file more
// than a few times, and never overwrites anything: a file whose target another item holds stays at a
// visible name. The entry stays open while a file is under a temporary name; otherwise a rolled-back
// entry is removed and one with renamed files becomes a complete rename that can be undone.
namespace RenameRecovery {

enum class Direction { Rollback, Forward };

// A sentence for every file that could not be brought to its side, saying where it is; empty when every
// file is where it should be.
QStringList recover(const JournalEntry& entry, Direction direction);
QStringList recover(const JournalEntry& entry, Direction direction, FileMover& mover);

} // namespace RenameRecovery
