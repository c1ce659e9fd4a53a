#pragma once

#include "FileIdentity.h"
#include "FileRenamer.h"
#include "RenameOperation.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One move as the journal records it before anything moves: enough to find the file again after a crash.
struct JournalOperation {
    RenameOperation operation;
    QString temporaryName; // where it parks between its two moves; empty when it moves directly
    std::optional<FileIdentity> identity; // the source's identity, when it existed
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
// folder, before it returns; a damaged entry is recognised by its checksum and never acted upon.
namespace RenameJournal {

QString defaultFolder();

// A new entry for `operations` with a fresh temporary name for each that parks, and each source's identity.
JournalEntry prepare(const QString& folder, JournalEntry::Kind kind,
                     const QList<RenameOperation>& operations);

// Stores a new entry durably, before any of its moves; false, with the reason in `error`, when it cannot.
bool write(const JournalEntry& entry, QString* error);
// Records that every move of the entry was attempted, with the failures; the entry then counts as done.
bool complete(JournalEntry& entry, const FileRenamer::Failures& failures, QString* error);
bool remove(const JournalEntry& entry);

struct Contents {
    QList<JournalEntry> incomplete;
    QList<JournalEntry> history; // complete renames, newest first
    QStringList unreadable;      // a sentence per damaged entry
};
Contents scan(const QString& folder);

// Keeps the newest `keep` complete renames and removes older ones; only a listing is read.
void trimHistory(const QString& folder, qsizetype keep = 20);

// Makes the renames of entries in these folders durable.
void syncFolders(const QStringList& folders);

} // namespace RenameJournal
