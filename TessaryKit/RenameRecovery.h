#pragma once

#include "FileMover.h"
#include "RenameJournal.h"

#include <QStringList>

// Brings the files of an interrupted rename to one consistent side: every file to its source (rollback)
// or every file to its destination (forward). Files are found by their recorded identity at the source,
// the temporary name or the destination; nothing is overwritten. A rolled-back entry is removed; a
// rolled-forward one becomes a complete rename that can be undone.
namespace RenameRecovery {

enum class Direction { Rollback, Forward };

// A sentence for every file that could not be brought to its side, saying where it is.
QStringList recover(const JournalEntry& entry, Direction direction, FileMover& mover);

} // namespace RenameRecovery
