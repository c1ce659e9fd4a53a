#pragma once

#include "common/FileIdentity.h"
#include "planning/RenameRules.h"
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
    // Where the file system keeps no birth time: the change time of the file where it was last moved to (its
    // destination, or its source once undone), in nanoseconds, so that undo and redo can tell a file that
    // took over its inode number. 0: unknown.
    qint64 changedAt = 0;
    bool undone = false; // given its old name back by an undo, as last recorded

    // Every place the file can be: source, destination and each temporary name.
    QStringList places() const;
};

// One rename, written to disk before its first move and marked complete after its last; later undos and
// redos append what they reversed. An undo or redo runs under an entry of its own, which goes once the
// rename's entry records it.
struct JournalEntry {
    enum class Kind : quint8 { Rename, Undo, Redo };

    QString file; // where the entry is stored
    Kind kind = Kind::Rename;
    qint64 created = 0;               // milliseconds since the epoch
    std::optional<RenameRules> rules; // of a rename, where recorded
    QList<JournalOperation> operations;
    bool complete = false;
    FileRenamer::Failures failures; // when complete
    qint64 reversedAt = 0;          // when an undo or redo last changed it, in milliseconds; 0: never
    // Read from disk: the bytes of its whole blocks. A crash can leave a block cut short after them, which
    // the next block written replaces. 0: not read, nothing to cut.
    qint64 wholeSize = 0;

    bool moved(const JournalOperation& operation) const { return !failures.contains(operation.operation.id); }
};

// What a listing learns of an entry without reading its operations.
struct JournalSummary {
    enum class State { Done, Undone, PartlyUndone, Interrupted };

    QString file;
    JournalEntry::Kind kind = JournalEntry::Kind::Rename;
    qint64 created = 0;
    std::optional<RenameRules> rules;
    QStringList folders;   // of the renamed files, sorted
    qsizetype renamed = 0; // files the rename moved
    qsizetype undone = 0;  // of those, files given their old names back
    bool complete = false;
    qint64 reversedAt = 0;

    // Eight hexadecimal digits from the entry's name: short, and stable for the entry's life.
    QString id() const;
    State state() const;
};

// The entries under $XDG_STATE_HOME/org.tessary.Tessary/journal/. Every write reaches the disk, file and
// folder, before it returns, and one that fails leaves nothing of itself; a damaged entry is recognised by
// its checksum and never acted upon.
namespace RenameJournal {

QString defaultFolder();

// A new entry for `operations`, not stored yet: their temporary names and identities are found as the
// entry is written, a chunk at a time (JournalChunks).
JournalEntry prepare(const QString& folder, JournalEntry::Kind kind, const QList<RenameOperation>& operations,
                     const std::optional<RenameRules>& rules = std::nullopt);

// Stores a new entry durably with its first operations, before any of their moves: the header counts and
// places every operation of `planned`. False, with the reason in `error`, when it cannot.
bool write(const JournalEntry& planned, const QList<JournalOperation>& first, QString* error);
// Adds operations to a stored entry durably, before any of their moves.
bool writeMore(const JournalEntry& entry, const QList<JournalOperation>& operations, QString* error);
// Records that every move of the entry was attempted, with the failures and the change times, and gives
// the entry its finished name. Where the block cannot be written, the new name alone marks it done.
bool complete(JournalEntry& entry, const FileRenamer::Failures& failures, QString* error);
// Records the temporary names a recovery is about to park files under: operation index to name.
bool addRecoveryNames(JournalEntry& entry, const QHash<qsizetype, QString>& names, QString* error);
// Records which operations are undone now, with their change times, after an undo or redo.
bool recordReversal(JournalEntry& entry, QString* error);
bool remove(const JournalEntry& entry, QString* error);

// Fills in `changedAt` for the files where they are (destination, or source when undone) on file systems
// without birth times.
void recordChangeTimes(JournalEntry& entry);
// Whether the item at the operation's destination is still the file that the rename put there.
bool isStillRenamed(const JournalOperation& operation);
// Whether the item at the operation's source is the file, back under its old name.
bool isRestored(const JournalOperation& operation);

// The whole entry in `file`; nothing, with the sentence for the user in `problem`, when it is damaged.
std::optional<JournalEntry> load(const QString& file, QString* problem);
// What the entry in `file` says of itself, read without its operations where its version allows.
std::optional<JournalSummary> summarize(const QString& file, QString* problem);
// The entries' files in the folder, newest first.
QStringList entryFiles(const QString& folder);

// The entries a recovery must look at: those not known to be finished. The history lists the others.
struct Contents {
    QList<JournalEntry> incomplete;
    QStringList unreadable; // a sentence per damaged entry
};
Contents scan(const QString& folder);

} // namespace RenameJournal
