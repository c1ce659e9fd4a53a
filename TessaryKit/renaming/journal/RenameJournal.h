#pragma once

#include "common/FileIdentity.h"
#include "renaming/FileRenamer.h"
#include "renaming/RenameOperation.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One move as the journal records it before anything moves: enough to find the file again after a crash.
struct JournalOperation {
    RenameOperation operation;
    QString temporaryName; // where it parks between its two moves; empty when it moves directly
    std::optional<FileIdentity> identity; // the source's identity, when it existed
    QStringList recoveryNames; // temporary names that a recovery parked it under, recorded before each move
    // Where the file system keeps no birth time: the change time of the file at its destination just after
    // the rename, in nanoseconds, so that undo can tell a file that took over its inode number. 0: unknown.
    qint64 changedAt = 0;

    // Every place the file can be: source, destination and each temporary name.
    QStringList places() const;
};

// One rename or undo, written to disk before its first move and marked complete after its last.
struct JournalEntry {
    enum class Kind : quint8 { Rename, Undo };

    QString file; // where the entry is stored
    Kind kind = Kind::Rename;
    qint64 created = 0; // milliseconds since the epoch
    QList<JournalOperation> operations;
    bool complete = false;
    FileRenamer::Failures failures; // when complete
};

// The entries under $XDG_STATE_HOME/org.tessary.Tessary/journal/. Every write reaches the disk, file and
// folder, before it returns, and one that fails leaves nothing of itself; a damaged entry is recognised by
// its checksum and never acted upon.
namespace RenameJournal {

QString defaultFolder();

// A new entry for `operations` with a fresh temporary name for each that parks, and each source's identity.
JournalEntry prepare(const QString& folder, JournalEntry::Kind kind,
                     const QList<RenameOperation>& operations);

// Stores a new entry durably, before any of its moves; false, with the reason in `error`, when it cannot.
bool write(const JournalEntry& entry, QString* error);
// Records that every move of the entry was attempted, with the failures and the change times, and gives
// the entry its finished name. Where the block cannot be written, the new name alone marks it done.
bool complete(JournalEntry& entry, const FileRenamer::Failures& failures, QString* error);
// Records the temporary names a recovery is about to park files under: operation index to name.
bool addRecoveryNames(JournalEntry& entry, const QHash<qsizetype, QString>& names, QString* error);
bool remove(const JournalEntry& entry, QString* error);

// Fills in `changedAt` for the files at their destination on file systems without birth times.
void recordChangeTimes(JournalEntry& entry);
// Whether the item at the operation's destination is still the file that the rename put there.
bool isStillRenamed(const JournalOperation& operation);

struct Contents {
    QList<JournalEntry> incomplete;
    QList<JournalEntry> history; // complete renames, newest first
    QStringList unreadable;      // a sentence per damaged entry
};
Contents scan(const QString& folder);

// Keeps the newest `keep` complete renames and removes older ones; only a listing is read. An entry that
// can't be removed is logged and tried again by the next trim.
void trimHistory(const QString& folder, qsizetype keep = 20);

} // namespace RenameJournal
