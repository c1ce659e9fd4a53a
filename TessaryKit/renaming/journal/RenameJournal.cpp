#include "renaming/journal/RenameJournal.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "common/KitCatalogue.h"
#include "platform/DurableFile.h"
#include "platform/FileLookup.h"
#include "renaming/journal/JournalCodec.h"

#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QUuid>

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

const QString openSuffix = u".journal"_s;
const QString doneSuffix = u".done"_s;

QString unreadableText(const QString& file, const QString& reason)
{
    //: Problem with the rename journal; %1 is an entry's file name, %2 the system's reason
    return KitCatalogue::tr("The rename journal entry “%1” can't be read now (%2); it is kept for a "
                            "later recovery.")
        .arg(FileNameParts::nameOf(file), reason);
}

QString damagedText(const QString& file)
{
    //: Problem with the rename journal; the placeholder is an entry's file name
    return KitCatalogue::tr("The rename journal entry “%1” was skipped because it is damaged or incomplete.")
        .arg(FileNameParts::nameOf(file));
}

// An entry whose completion block is missing or torn counts as interrupted: its moves may not all be done.
// One whose last operations block is torn was interrupted before that block's moves began.
std::optional<JournalEntry> read(const QString& file, QString* problem)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        *problem = unreadableText(file, input.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = input.readAll();
    qsizetype offset = 0;
    const auto headerBlock = JournalCodec::readBlock(bytes, offset);
    auto header = headerBlock ? JournalCodec::parseHeader(*headerBlock) : std::nullopt;
    if (header && header->operationsInOneBlock()) {
        const auto operations = JournalCodec::readBlock(bytes, offset);
        if (!operations || !JournalCodec::parseOperations(*operations, header->count, header->entry))
            header.reset();
    }
    const JournalCodec::LaterBlocks blocks =
        header ? JournalCodec::parseLaterBlocks(bytes, offset, header->version) : JournalCodec::LaterBlocks();
    if (!header || blocks.damagedOperations) {
        *problem = damagedText(file);
        return std::nullopt;
    }
    JournalEntry& entry = header->entry;
    entry.file = file;
    entry.wholeSize = blocks.end;
    JournalCodec::apply(blocks, entry);
    // The name is the completion's last resort: it is changed where no block could be appended.
    entry.complete = entry.complete || file.endsWith(doneSuffix);
    return std::move(entry);
}

// Reads the block at the file's position; nothing when it is not whole.
std::optional<QByteArray> readBlockAt(QFile& input)
{
    const QByteArray length = input.read(4);
    if (length.size() != 4)
        return std::nullopt;
    quint32 size = 0;
    QDataStream(length) >> size;
    if (qint64(size) + JournalCodec::checksumSize > input.bytesAvailable())
        return std::nullopt; // cut short, or a damaged length
    QByteArray bytes = length + input.read(qint64(size) + JournalCodec::checksumSize);
    qsizetype offset = 0;
    return JournalCodec::readBlock(bytes, offset);
}

// Moves past the block at the current position; false, at the end of the file, when it is cut short.
bool skipBlock(QFile& input)
{
    const QByteArray length = input.peek(4);
    quint32 size = 0;
    QDataStream(length) >> size;
    const qint64 end = input.pos() + 4 + qint64(size) + JournalCodec::checksumSize;
    input.seek(std::min(input.size(), end));
    return length.size() == 4 && end <= input.size();
}

// Skips the operations after the header, and tells how many it holds. From version 4, a block cut short
// ends them: its moves never began.
qsizetype skipOperations(QFile& input, const JournalCodec::Header& header)
{
    if (header.operationsInOneBlock()) {
        skipBlock(input);
        return header.count;
    }
    qsizetype stored = 0;
    for (;;) {
        const QByteArray start = input.peek(4 + JournalCodec::operationsPrefixSize);
        const auto count = start.size() == 4 + JournalCodec::operationsPrefixSize
                               ? JournalCodec::operationsIn(start.sliced(4))
                               : std::nullopt;
        if (!count)
            return stored;
        if (!skipBlock(input))
            return stored;
        stored += *count;
    }
}

// A version 3 or later entry's header and later blocks, skipping its operations; nothing, without a
// problem, for an older entry, whose operations must be read to tell its folders and counts.
std::optional<JournalSummary> readSummary(const QString& file, QString* problem)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        *problem = unreadableText(file, input.errorString());
        return std::nullopt;
    }
    const auto headerBlock = readBlockAt(input);
    const auto header = headerBlock ? JournalCodec::parseHeader(*headerBlock) : std::nullopt;
    if (!header || !header->operationsApart())
        return std::nullopt;
    const qsizetype stored = skipOperations(input, *header);
    const JournalCodec::LaterBlocks blocks =
        JournalCodec::parseLaterBlocks(input.readAll(), 0, header->version);
    const bool complete = blocks.complete || file.endsWith(doneSuffix);
    return JournalSummary{file,
                          header->entry.kind,
                          header->entry.created,
                          header->entry.rules,
                          header->folders,
                          blocks.renamed >= 0 ? blocks.renamed : stored,
                          blocks.undoneCount(),
                          complete,
                          blocks.reversedAt};
}

JournalSummary summaryOf(const JournalEntry& entry)
{
    JournalSummary summary{entry.file, entry.kind, entry.created,  entry.rules,     {},
                           0,          0,          entry.complete, entry.reversedAt};
    for (const JournalOperation& operation : entry.operations) {
        summary.folders.append(FileNameParts::parentOf(operation.operation.source));
        summary.renamed += entry.moved(operation) ? 1 : 0;
        summary.undone += entry.moved(operation) && operation.undone ? 1 : 0;
    }
    summary.folders.sort();
    summary.folders.removeDuplicates();
    return summary;
}

bool failed(int reason, QString* error)
{
    if (reason != 0)
        *error = DurableFile::describe(reason);
    return reason != 0;
}

// The files of the folder whose names end in one of `suffixes`, newest first.
QStringList filesEndingIn(const QString& folder, const QStringList& suffixes)
{
    QStringList patterns;
    for (const QString& suffix : suffixes)
        patterns.append(u"*"_s + suffix);
    QStringList files = QDir(folder).entryList(patterns, QDir::Files, QDir::Name | QDir::Reversed);
    for (QString& name : files)
        name.prepend(folder + u'/');
    return files;
}

} // namespace

QString defaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty())
        state = QDir::homePath() + u"/.local/state"_s;
    return state + u"/org.tessary.Tessary/journal"_s;
}

JournalEntry prepare(const QString& folder, JournalEntry::Kind kind, const QList<RenameOperation>& operations,
                     const std::optional<RenameRules>& rules)
{
    JournalEntry entry;
    entry.kind = kind;
    entry.rules = rules;
    entry.created = QDateTime::currentMSecsSinceEpoch();
    // The name sorts by time, so the newest entry is the last one listed.
    entry.file = folder +
                 u"/%1-%2"_s.arg(entry.created, 15, 10, QChar(u'0'))
                     .arg(QUuid::createUuid().toString(QUuid::WithoutBraces)) +
                 openSuffix;
    entry.operations.reserve(operations.size());
    for (const RenameOperation& operation : operations)
        entry.operations.append({operation, {}, std::nullopt, {}, 0, false});
    return entry;
}

bool write(const JournalEntry& planned, const QList<JournalOperation>& first, QString* error)
{
    const QString folder = FileNameParts::parentOf(planned.file);
    if (!QDir().mkpath(folder)) {
        //: Reason why the rename journal can't be written; the placeholder is a folder path
        *error = KitCatalogue::tr("the folder “%1” can't be created").arg(folder);
        return false;
    }
    const QByteArray bytes = JournalCodec::block(JournalCodec::headerPayload(planned)) +
                             JournalCodec::block(JournalCodec::operationsPayload(first));
    return !failed(DurableFile::create(planned.file, bytes), error);
}

bool writeMore(const JournalEntry& entry, const QList<JournalOperation>& operations, QString* error)
{
    return !failed(
        DurableFile::append(entry.file, JournalCodec::block(JournalCodec::operationsPayload(operations))),
        error);
}

bool complete(JournalEntry& entry, const FileRenamer::Failures& failures, QString* error)
{
    const bool recorded = !failed(
        DurableFile::append(entry.file, JournalCodec::block(JournalCodec::completionPayload(entry, failures)),
                            entry.wholeSize),
        error);
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
    if (failed(DurableFile::append(entry.file, JournalCodec::block(JournalCodec::recoveryNamesPayload(names)),
                                   entry.wholeSize),
               error))
        return false;
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        entry.operations[it.key()].recoveryNames.append(it.value());
    return true;
}

bool recordReversal(JournalEntry& entry, QString* error)
{
    entry.reversedAt = QDateTime::currentMSecsSinceEpoch();
    return !failed(DurableFile::append(entry.file, JournalCodec::block(JournalCodec::reversalPayload(entry)),
                                       entry.wholeSize),
                   error);
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
        const QString& place =
            operation.undone ? operation.operation.source : operation.operation.destination;
        if (FileLookup::identityOf(place) == operation.identity)
            operation.changedAt = FileLookup::changeTimeOf(place).value_or(0);
    }
}

bool isStillRenamed(const JournalOperation& operation)
{
    const QString& destination = operation.operation.destination;
    if (!operation.identity || FileLookup::identityOf(destination) != operation.identity)
        return false;
    // Without a life stamp, an inode number can come back on another file: the change time tells.
    return operation.identity->lifeStamp != 0 ||
           (!operation.undone && operation.changedAt != 0 &&
            FileLookup::changeTimeOf(destination) == operation.changedAt);
}

bool isRestored(const JournalOperation& operation)
{
    const QString& source = operation.operation.source;
    if (!operation.identity || FileLookup::identityOf(source) != operation.identity)
        return false;
    return operation.identity->lifeStamp != 0 || (operation.undone && operation.changedAt != 0 &&
                                                  FileLookup::changeTimeOf(source) == operation.changedAt);
}

std::optional<JournalEntry> load(const QString& file, QString* problem)
{
    return read(file, problem);
}

std::optional<JournalSummary> summarize(const QString& file, QString* problem)
{
    problem->clear();
    if (auto summary = readSummary(file, problem); summary || !problem->isEmpty())
        return summary;
    const auto entry = read(file, problem);
    return entry ? std::optional(summaryOf(*entry)) : std::nullopt;
}

QStringList entryFiles(const QString& folder)
{
    return filesEndingIn(folder, {openSuffix, doneSuffix});
}

Contents scan(const QString& folder)
{
    Contents contents;
    // A finished entry's name says so: however long the history, only the open entries are read.
    for (const QString& file : filesEndingIn(folder, {openSuffix})) {
        QString problem;
        if (const auto entry = read(file, &problem); entry && !entry->complete)
            contents.incomplete.append(*entry);
        if (!problem.isEmpty())
            contents.unreadable.append(problem);
    }
    return contents;
}

} // namespace RenameJournal

QString JournalSummary::id() const
{
    // Entry names are the creation time, a dash, and a UUID.
    return FileNameParts::nameOf(file).section(u'-', 1, 1);
}

JournalSummary::State JournalSummary::state() const
{
    if (!complete)
        return State::Interrupted;
    if (undone == 0)
        return State::Done;
    return undone >= renamed ? State::Undone : State::PartlyUndone;
}
