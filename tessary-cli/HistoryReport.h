#pragma once

#include "renaming/journal/RenameJournal.h"

// Writes the rename history to standard output: a few aligned lines per rename for people, or one JSON
// object per rename (or per file of one rename) and line.
namespace HistoryReport {

void list(const QList<JournalSummary>& history, bool json);
void files(const JournalEntry& entry, bool json);

} // namespace HistoryReport
