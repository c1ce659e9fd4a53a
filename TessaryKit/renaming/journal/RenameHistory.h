#pragma once

#include "renaming/journal/RenameJournal.h"

#include <QSet>
#include <chrono>

// The renames of the journal as a history to browse, undo and redo. Listing reads each entry's header and
// later blocks only; the operations are loaded when an entry is acted upon.
namespace RenameHistory {

// An entry is kept while it is one of the newest `keptRenames`, or younger than `keptAge`.
constexpr qsizetype keptRenames = 200;
constexpr std::chrono::milliseconds keptAge = std::chrono::days(90);

// The renames, newest first, interrupted ones included; `problems` learns of damaged entries.
QList<JournalSummary> list(const QString& folder, QStringList* problems = nullptr);
// The entry whose id starts with `id`; nothing when none does or several do.
std::optional<JournalSummary> find(const QList<JournalSummary>& history, const QString& id);

bool canUndo(const JournalSummary& summary);
bool canRedo(const JournalSummary& summary);
// Undo acts on the newest rename with files still to give back.
std::optional<JournalSummary> undoTarget(const QList<JournalSummary>& history);
// Redo acts on the rename undone last, unless a rename was made after that undo.
std::optional<JournalSummary> redoTarget(const QList<JournalSummary>& history);

// The deepest folder that holds all of `folders`, "/" at least.
QString commonFolder(const QStringList& folders);
// What each file of an entry is now, as last recorded.
enum class FileState { Renamed, Restored, NotRenamed, Interrupted };
FileState stateOf(const JournalEntry& entry, const JournalOperation& operation);

// Of the paths, those that a rename newer than `entry`, and not undone, took as the source of the file with
// that identity.
QSet<QString> renamedLater(const JournalEntry& entry, const QHash<QString, FileIdentity>& files);

// Of the paths, those that the undo of a rename older than `entry` left the file with that identity at.
QSet<QString> undoneEarlier(const JournalEntry& entry, const QHash<QString, FileIdentity>& files);

// Removes the finished entries that are neither among the newest kept nor young enough; only a listing is
// read. An entry that can't be removed is logged and tried again by the next pruning.
void prune(const QString& folder, qint64 now);

} // namespace RenameHistory
