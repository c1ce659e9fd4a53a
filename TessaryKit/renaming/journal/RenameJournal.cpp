#include "renaming/journal/RenameJournal.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "common/KitCatalogue.h"
#include "platform/DurableFile.h"
#include "platform/FileLookup.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QUuid>
#include <future>

using namespace Qt::StringLiterals;

QStringList JournalOperation::places() const
{
    QStringList places{operation.source, operation.destination};
    const QString folder = FileNameParts::parentOf(operation.source);
    if (!temporaryName.isEmpty())
        places.append(joinPath(folder, temporaryName));
    for (const QString& name : recoveryNames)
        places.append(joinPath(folder, name));
    return places;
}

namespace RenameJournal {
namespace {

constexpr quint32 magic = 0x5445534A; // "TESJ"
// Version 2 tags every block after the operations; version 1 had one untagged completion block.
constexpr quint32 version = 2;
constexpr quint32 untaggedVersion = 1;
enum class BlockTag : quint8 { Completion = 1, RecoveryNames = 2 };
// BLAKE2b-256 after each block: it finds damage as surely as SHA-256 at a fifth of the time.
constexpr qsizetype checksumSize = 32;
constexpr auto checksumAlgorithm = QCryptographicHash::Blake2b_256;
const QString openSuffix = u".journal"_s;
const QString doneSuffix = u".done"_s;

// A block of the file: its length, its bytes, and their checksum, so a torn or damaged write shows.
QByteArray block(const QByteArray& payload)
{
    QByteArray bytes;
    bytes.reserve(4 + payload.size() + checksumSize);
    QDataStream(&bytes, QIODevice::WriteOnly) << quint32(payload.size());
    bytes.append(payload);
    bytes.append(QCryptographicHash::hash(payload, checksumAlgorithm));
    return bytes;
}

// The payload of the block at `offset`, which moves past it; nothing when the block is not whole.
std::optional<QByteArray> readBlock(const QByteArray& bytes, qsizetype& offset)
{
    if (bytes.size() - offset < 4)
        return std::nullopt;
    quint32 length = 0;
    QDataStream(bytes.sliced(offset, 4)) >> length;
    if (bytes.size() - offset - 4 < qsizetype(length) + checksumSize)
        return std::nullopt;
    const QByteArray payload = bytes.sliced(offset + 4, length);
    if (QCryptographicHash::hash(payload, checksumAlgorithm) !=
        bytes.sliced(offset + 4 + length, checksumSize))
        return std::nullopt;
    offset += 4 + length + checksumSize;
    return payload;
}

// Paths as the file system spells them, which is also half the size of UTF-16.
void writePath(QDataStream& stream, const QString& path)
{
    stream << QFile::encodeName(path);
}

QString readPath(QDataStream& stream)
{
    QByteArray bytes;
    stream >> bytes;
    return QFile::decodeName(bytes);
}

QByteArray operationsPayload(const JournalEntry& entry)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << magic << version << quint8(entry.kind) << entry.created << qint64(entry.operations.size());
    for (const JournalOperation& operation : entry.operations) {
        // The file list identifies a file by its path: then the id is not written twice.
        const bool idIsSource = operation.operation.id == operation.operation.source;
        stream << idIsSource;
        if (!idIsSource)
            stream << operation.operation.id;
        writePath(stream, operation.operation.source);
        writePath(stream, operation.operation.destination);
        stream << operation.temporaryName << operation.identity.has_value();
        if (operation.identity)
            stream << operation.identity->device << operation.identity->inode
                   << operation.identity->lifeStamp;
    }
    return bytes;
}

QByteArray completionPayload(const JournalEntry& entry, const FileRenamer::Failures& failures)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << quint8(BlockTag::Completion) << qint64(failures.size());
    for (auto it = failures.cbegin(); it != failures.cend(); ++it)
        stream << it.key() << it.value();
    QList<std::pair<qint64, qint64>> changeTimes;
    for (qsizetype i = 0; i < entry.operations.size(); ++i)
        if (entry.operations[i].changedAt != 0)
            changeTimes.append({i, entry.operations[i].changedAt});
    stream << qint64(changeTimes.size());
    for (const auto& [index, time] : changeTimes)
        stream << index << time;
    return bytes;
}

QByteArray recoveryNamesPayload(const QHash<qsizetype, QString>& names)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << quint8(BlockTag::RecoveryNames) << qint64(names.size());
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        stream << qint64(it.key()) << it.value();
    return bytes;
}

std::optional<JournalEntry> parseOperations(const QByteArray& payload, quint32& fileVersion)
{
    QDataStream stream(payload);
    quint32 fileMagic = 0;
    quint8 kind = 0;
    JournalEntry entry;
    qint64 count = 0;
    stream >> fileMagic >> fileVersion >> kind >> entry.created >> count;
    if (fileMagic != magic || (fileVersion != version && fileVersion != untaggedVersion) ||
        kind > quint8(JournalEntry::Kind::Undo) || count < 0)
        return std::nullopt;
    entry.kind = JournalEntry::Kind(kind);
    for (qint64 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        JournalOperation operation;
        bool idIsSource = false;
        stream >> idIsSource;
        if (!idIsSource)
            stream >> operation.operation.id;
        operation.operation.source = readPath(stream);
        if (idIsSource)
            operation.operation.id = operation.operation.source;
        operation.operation.destination = readPath(stream);
        bool hasIdentity = false;
        stream >> operation.temporaryName >> hasIdentity;
        if (hasIdentity) {
            FileIdentity identity{};
            stream >> identity.device >> identity.inode >> identity.lifeStamp;
            operation.identity = identity;
        }
        entry.operations.append(operation);
    }
    if (stream.status() != QDataStream::Ok || !stream.atEnd())
        return std::nullopt;
    return entry;
}

bool parseCompletion(QDataStream& stream, JournalEntry& entry)
{
    qint64 count = 0;
    stream >> count;
    FileRenamer::Failures failures;
    for (qint64 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        QString id, message;
        stream >> id >> message;
        failures.insert(id, message);
    }
    if (!stream.atEnd()) {
        stream >> count;
        for (qint64 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
            qint64 index = 0, time = 0;
            stream >> index >> time;
            if (index >= 0 && index < entry.operations.size())
                entry.operations[index].changedAt = time;
        }
    }
    if (stream.status() != QDataStream::Ok || !stream.atEnd())
        return false;
    entry.complete = true;
    entry.failures = failures;
    return true;
}

bool parseRecoveryNames(QDataStream& stream, JournalEntry& entry)
{
    qint64 count = 0;
    stream >> count;
    for (qint64 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        qint64 index = 0;
        QString name;
        stream >> index >> name;
        if (index >= 0 && index < entry.operations.size() && FileRenamer::isTemporaryName(name))
            entry.operations[index].recoveryNames.append(name);
    }
    return stream.status() == QDataStream::Ok && stream.atEnd();
}

// The blocks after the operations, in order, up to the first that is not whole.
void parseLaterBlocks(const QByteArray& bytes, qsizetype offset, quint32 fileVersion, JournalEntry& entry)
{
    while (const auto payload = readBlock(bytes, offset)) {
        QDataStream stream(*payload);
        quint8 tag = quint8(BlockTag::Completion);
        if (fileVersion != untaggedVersion)
            stream >> tag;
        if (tag == quint8(BlockTag::Completion))
            parseCompletion(stream, entry);
        else if (tag == quint8(BlockTag::RecoveryNames))
            parseRecoveryNames(stream, entry);
    }
}

// An entry whose completion block is missing or torn counts as interrupted: its moves may not all be done.
std::optional<JournalEntry> read(const QString& file, QString* problem)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        //: Problem with the rename journal; %1 is an entry's file name, %2 the system's reason
        *problem = KitCatalogue::tr("The rename journal entry “%1” can't be read now (%2); it is kept for a "
                                    "later recovery.")
                       .arg(FileNameParts::nameOf(file), input.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = input.readAll();
    qsizetype offset = 0;
    quint32 fileVersion = 0;
    const auto operations = readBlock(bytes, offset);
    auto entry = operations ? parseOperations(*operations, fileVersion) : std::nullopt;
    if (!entry) {
        //: Problem with the rename journal; the placeholder is an entry's file name
        *problem = KitCatalogue::tr("The rename journal entry “%1” was skipped because it is damaged or "
                                    "incomplete.")
                       .arg(FileNameParts::nameOf(file));
        return std::nullopt;
    }
    entry->file = file;
    parseLaterBlocks(bytes, offset, fileVersion, *entry);
    // The name is the completion's last resort: it is changed where no block could be appended.
    entry->complete = entry->complete || file.endsWith(doneSuffix);
    return entry;
}

bool failed(int reason, QString* error)
{
    if (reason != 0)
        *error = DurableFile::describe(reason);
    return reason != 0;
}

} // namespace

QString defaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty())
        state = QDir::homePath() + u"/.local/state"_s;
    return state + u"/org.tessary.Tessary/journal"_s;
}

JournalEntry prepare(const QString& folder, JournalEntry::Kind kind, const QList<RenameOperation>& operations)
{
    JournalEntry entry;
    entry.kind = kind;
    entry.created = QDateTime::currentMSecsSinceEpoch();
    // The name sorts by time, so the newest entry is the last one listed.
    entry.file = folder +
                 u"/%1-%2"_s.arg(entry.created, 15, 10, QChar(u'0'))
                     .arg(QUuid::createUuid().toString(QUuid::WithoutBraces)) +
                 openSuffix;
    const QList<bool> parks = FileRenamer::parksFirst(operations);
    entry.operations.resize(operations.size());
    // Two halves at once: asking the file system for every source is most of a journal's cost.
    const auto identify = [&](qsizetype begin, qsizetype end) {
        FolderLookup disk;
        for (qsizetype i = begin; i < end; ++i) {
            const QString& source = operations[i].source;
            JournalOperation& operation = entry.operations[i];
            operation.operation = operations[i];
            operation.temporaryName = parks[i] ? FileRenamer::newTemporaryName() : QString();
            operation.identity =
                disk.identityOf(FileNameParts::parentOf(source), FileNameParts::nameOf(source));
        }
    };
    const qsizetype half = operations.size() / 2;
    auto firstHalf = std::async(std::launch::async, identify, 0, half);
    identify(half, operations.size());
    firstHalf.get();
    return entry;
}

bool write(const JournalEntry& entry, QString* error)
{
    const QString folder = FileNameParts::parentOf(entry.file);
    if (!QDir().mkpath(folder)) {
        //: Reason why the rename journal can't be written; the placeholder is a folder path
        *error = KitCatalogue::tr("the folder “%1” can't be created").arg(folder);
        return false;
    }
    return !failed(DurableFile::create(entry.file, block(operationsPayload(entry))), error);
}

bool complete(JournalEntry& entry, const FileRenamer::Failures& failures, QString* error)
{
    const bool recorded =
        !failed(DurableFile::append(entry.file, block(completionPayload(entry, failures))), error);
    // Renamed last, so a listing tells finished renames apart without reading them.
    if (!entry.file.endsWith(doneSuffix)) {
        const QString done = entry.file.chopped(openSuffix.size()) + doneSuffix;
        if (const int reason = DurableFile::rename(entry.file, done)) {
            if (!recorded)
                return false;
            qCWarning(renameLog, "Failed to mark a rename journal entry done: %s",
                      qUtf8Printable(DurableFile::describe(reason)));
        } else {
            entry.file = done;
        }
    }
    entry.complete = true;
    entry.failures = recorded ? failures : FileRenamer::Failures();
    return true;
}

bool addRecoveryNames(JournalEntry& entry, const QHash<qsizetype, QString>& names, QString* error)
{
    if (names.isEmpty())
        return true;
    if (failed(DurableFile::append(entry.file, block(recoveryNamesPayload(names))), error))
        return false;
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        entry.operations[it.key()].recoveryNames.append(it.value());
    return true;
}

bool remove(const JournalEntry& entry, QString* error)
{
    return !failed(DurableFile::remove(entry.file), error);
}

void recordChangeTimes(JournalEntry& entry)
{
    for (JournalOperation& operation : entry.operations) {
        if (!operation.identity || operation.identity->lifeStamp != 0)
            continue;
        if (FileLookup::identityOf(operation.operation.destination) == operation.identity)
            operation.changedAt = FileLookup::changeTimeOf(operation.operation.destination).value_or(0);
    }
}

bool isStillRenamed(const JournalOperation& operation)
{
    const QString& destination = operation.operation.destination;
    if (!operation.identity || FileLookup::identityOf(destination) != operation.identity)
        return false;
    // Without a life stamp, an inode number can come back on another file: the change time tells.
    return operation.identity->lifeStamp != 0 ||
           (operation.changedAt != 0 && FileLookup::changeTimeOf(destination) == operation.changedAt);
}

Contents scan(const QString& folder)
{
    Contents contents;
    const QStringList names = QDir(folder).entryList({u"*"_s + openSuffix, u"*"_s + doneSuffix}, QDir::Files,
                                                     QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        QString problem;
        const auto entry = read(folder + u'/' + name, &problem);
        if (!entry)
            contents.unreadable.append(problem);
        else if (!entry->complete)
            contents.incomplete.append(*entry);
        else if (entry->kind == JournalEntry::Kind::Rename)
            contents.history.append(*entry);
    }
    return contents;
}

void trimHistory(const QString& folder, qsizetype keep)
{
    const QStringList done =
        QDir(folder).entryList({u"*"_s + doneSuffix}, QDir::Files, QDir::Name | QDir::Reversed);
    for (qsizetype i = keep; i < done.size(); ++i)
        if (const int reason = DurableFile::remove(folder + u'/' + done[i]))
            qCWarning(renameLog, "Failed to remove the old rename journal entry %s: %s",
                      qUtf8Printable(done[i]), qUtf8Printable(DurableFile::describe(reason)));
}

} // namespace RenameJournal
