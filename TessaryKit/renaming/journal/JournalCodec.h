#pragma once

#include "renaming/journal/RenameJournal.h"

#include <QByteArray>
#include <QHash>
#include <optional>

// The bytes of a journal entry. An entry is a run of blocks, each with its length and checksum. Version 4
// starts with a header (kind, time, rules, folders, the count of planned moves), so that a listing reads a
// few hundred bytes of each entry, then tagged blocks of operations, each stored before its moves begin;
// version 3 had all operations in one untagged block, and version 2 kept the header inside it. Tagged
// blocks are appended as the entry lives: its completion, recovery names, and a reversal per undo or redo.
// Version 1 had one untagged completion block, after which blocks are tagged too.
namespace JournalCodec {

constexpr qsizetype checksumSize = 32;

QByteArray block(const QByteArray& payload);
// The payload of the block at `offset`, which moves past it; nothing when the block is not whole.
std::optional<QByteArray> readBlock(const QByteArray& bytes, qsizetype& offset);

QByteArray headerPayload(const JournalEntry& entry);
QByteArray operationsPayload(const QList<JournalOperation>& operations);
QByteArray completionPayload(const JournalEntry& entry, const FileRenamer::Failures& failures);
QByteArray recoveryNamesPayload(const QHash<qsizetype, QString>& names);
QByteArray reversalPayload(const JournalEntry& entry);

// What the first block says. Version 2's operations come with it; later versions' follow it.
struct Header {
    quint32 version = 0;
    JournalEntry entry;  // without operations from version 3
    qsizetype count = 0; // from version 4, the moves planned: fewer are stored when some were set aside
    QStringList folders;

    bool operationsApart() const { return version >= 3; }
    bool operationsInOneBlock() const { return version == 3; }
};
std::optional<Header> parseHeader(const QByteArray& payload);
bool parseOperations(const QByteArray& payload, qsizetype count, JournalEntry& entry);

// The bytes at the start of an operations payload that tell it is one and how many operations it holds.
constexpr qsizetype operationsPrefixSize = 9;
// How many operations a payload holds, from its first `operationsPrefixSize` bytes; nothing when it is not
// an operations payload. Such blocks come first after the header from version 4.
std::optional<qint64> operationsIn(QByteArrayView payloadStart);

// The tagged blocks, as far as they are whole.
struct LaterBlocks {
    QList<JournalOperation> operations; // from version 4
    bool damagedOperations = false;     // a block among them is bad, though the file holds it whole
    qsizetype end = 0;                  // the offset after the last whole block
    bool complete = false;
    FileRenamer::Failures failures;
    qsizetype renamed = -1; // files the rename moved; -1 where the completion doesn't say
    QList<std::pair<qint64, qint64>> changeTimes; // operation index to time, of the completion
    QList<std::pair<qint64, QString>> recoveryNames;
    // The last reversal: when, which operations are undone (as runs of indices), and change times.
    qint64 reversedAt = 0;
    std::optional<QList<std::pair<qint64, qint64>>> undoneRuns;
    QList<std::pair<qint64, qint64>> reversalChangeTimes;

    qsizetype undoneCount() const;
};
LaterBlocks parseLaterBlocks(const QByteArray& bytes, qsizetype offset, quint32 version);
// Adds the blocks' operations to the entry, and fills in what the blocks say of them.
void apply(const LaterBlocks& blocks, JournalEntry& entry);

} // namespace JournalCodec
