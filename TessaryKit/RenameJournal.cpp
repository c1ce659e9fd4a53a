#include "RenameJournal.h"

#include "FileNameParts.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QUuid>
#include <fcntl.h>
#include <future>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace RenameJournal {
namespace {

constexpr quint32 magic = 0x5445534A; // "TESJ"
constexpr quint32 version = 1;
// BLAKE2b-256 after each block: it finds damage as surely as SHA-256 at a fifth of the time.
constexpr qsizetype checksumSize = 32;
constexpr auto checksumAlgorithm = QCryptographicHash::Blake2b_256;
const QString openSuffix = u".journal"_s;
const QString doneSuffix = u".done"_s;

void syncFolder(const QString& folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

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
                   << operation.identity->birthNanoseconds;
    }
    return bytes;
}

QByteArray completionPayload(const FileRenamer::Failures& failures)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << qint64(failures.size());
    for (auto it = failures.cbegin(); it != failures.cend(); ++it)
        stream << it.key() << it.value();
    return bytes;
}

std::optional<JournalEntry> parseOperations(const QByteArray& payload)
{
    QDataStream stream(payload);
    quint32 fileMagic = 0, fileVersion = 0;
    quint8 kind = 0;
    JournalEntry entry;
    qint64 count = 0;
    stream >> fileMagic >> fileVersion >> kind >> entry.created >> count;
    if (fileMagic != magic || fileVersion != version || kind > quint8(JournalEntry::Kind::Undo) || count < 0)
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
            stream >> identity.device >> identity.inode >> identity.birthNanoseconds;
            operation.identity = identity;
        }
        entry.operations.append(operation);
    }
    if (stream.status() != QDataStream::Ok || !stream.atEnd())
        return std::nullopt;
    return entry;
}

std::optional<FileRenamer::Failures> parseCompletion(const QByteArray& payload)
{
    QDataStream stream(payload);
    qint64 count = 0;
    stream >> count;
    FileRenamer::Failures failures;
    for (qint64 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        QString id, message;
        stream >> id >> message;
        failures.insert(id, message);
    }
    if (stream.status() != QDataStream::Ok || !stream.atEnd())
        return std::nullopt;
    return failures;
}

// An entry whose completion block is missing or torn counts as interrupted: its moves may not all be done.
std::optional<JournalEntry> read(const QString& file, QString* problem)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        *problem = input.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = input.readAll();
    qsizetype offset = 0;
    const auto operations = readBlock(bytes, offset);
    auto entry = operations ? parseOperations(*operations) : std::nullopt;
    if (!entry) {
        *problem = u"it is damaged or incomplete"_s;
        return std::nullopt;
    }
    entry->file = file;
    if (const auto completion = readBlock(bytes, offset)) {
        if (const auto failures = parseCompletion(*completion)) {
            entry->complete = true;
            entry->failures = *failures;
        }
    }
    return entry;
}

// A new file, on the disk before this returns. Its name is new, so nothing is replaced.
bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(bytes) != bytes.size() ||
        !file.flush() || ::fdatasync(file.handle()) != 0) {
        *error = file.errorString();
        file.remove();
        return false;
    }
    return true;
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
            const FileNameParts parts = FileNameParts::of(operations[i].source);
            entry.operations[i] = {operations[i], parks[i] ? FileRenamer::newTemporaryName() : QString(),
                                   disk.identityOf(parts.parent, parts.name)};
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
    const QString folder = FileNameParts::of(entry.file).parent;
    if (!QDir().mkpath(folder)) {
        *error = u"the folder “%1” cannot be created"_s.arg(folder);
        return false;
    }
    if (!writeFile(entry.file, block(operationsPayload(entry)), error))
        return false;
    syncFolder(folder);
    return true;
}

bool complete(JournalEntry& entry, const FileRenamer::Failures& failures, QString* error)
{
    QFile file(entry.file);
    const QByteArray completion = block(completionPayload(failures));
    if (!file.open(QIODevice::Append) || file.write(completion) != completion.size() || !file.flush() ||
        ::fsync(file.handle()) != 0) {
        *error = file.errorString();
        return false;
    }
    file.close();
    // Renamed last, so a listing tells finished renames apart without reading them.
    const QString done = entry.file.chopped(openSuffix.size()) + doneSuffix;
    if (!entry.file.endsWith(doneSuffix)) {
        if (!QFile::rename(entry.file, done)) {
            *error = u"it cannot be renamed"_s;
            return false;
        }
        entry.file = done;
    }
    entry.complete = true;
    entry.failures = failures;
    syncFolder(FileNameParts::of(entry.file).parent);
    return true;
}

bool remove(const JournalEntry& entry)
{
    const bool removed = QFile::remove(entry.file);
    syncFolder(FileNameParts::of(entry.file).parent);
    return removed;
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
            contents.unreadable.append(
                u"The rename journal entry “%1” was skipped because %2."_s.arg(name, problem));
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
        QFile::remove(folder + u'/' + done[i]);
    if (done.size() > keep)
        syncFolder(folder);
}

void syncFolders(const QStringList& folders)
{
    for (const QString& folder : QSet<QString>(folders.cbegin(), folders.cend()))
        syncFolder(folder);
}

} // namespace RenameJournal
