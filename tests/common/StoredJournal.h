#pragma once

#include "renaming/journal/JournalChunks.h"

#include <future>

// A rename's journal entry stored as a rename stores it, before any move: for tests that play an
// interrupted run by making some of its moves themselves.
inline std::optional<JournalEntry> storedJournal(const QString& folder,
                                                 const QList<RenameOperation>& operations)
{
    JournalEntry entry = RenameJournal::prepare(folder, JournalEntry::Kind::Rename, operations);
    JournalChunks chunks(
        entry, std::async(std::launch::deferred, [&] { return FileRenamer::layoutOf(operations); }));
    entry.operations.clear();
    while (const auto chunk = chunks.next())
        entry.operations += chunk->operations;
    if (chunks.unstored())
        return std::nullopt;
    return entry;
}
