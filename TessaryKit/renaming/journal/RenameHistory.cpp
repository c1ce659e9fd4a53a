#include "renaming/journal/RenameHistory.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "platform/DurableFile.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace RenameHistory {
namespace {

// Entry names begin with their creation time, so a listing orders them without reading them.
qint64 createdOf(const QString& file)
{
    return FileNameParts::nameOf(file).section(u'-', 0, 0).toLongLong();
}

} // namespace

QList<JournalSummary> list(const QString& folder, QStringList* problems)
{
    QList<JournalSummary> history;
    for (const QString& file : RenameJournal::entryFiles(folder)) {
        QString problem;
        const auto summary = RenameJournal::summarize(file, &problem);
        if (summary && summary->kind == JournalEntry::Kind::Rename)
            history.append(*summary);
        if (!problem.isEmpty() && problems)
            problems->append(problem);
    }
    return history;
}

std::optional<JournalSummary> find(const QList<JournalSummary>& history, const QString& id)
{
    std::optional<JournalSummary> found;
    for (const JournalSummary& summary : history) {
        if (id.isEmpty() || !summary.id().startsWith(id, Qt::CaseInsensitive))
            continue;
        if (found)
            return std::nullopt;
        found = summary;
    }
    return found;
}

bool canUndo(const JournalSummary& summary)
{
    return summary.complete && summary.undone < summary.renamed;
}

bool canRedo(const JournalSummary& summary)
{
    return summary.complete && summary.undone > 0;
}

std::optional<JournalSummary> undoTarget(const QList<JournalSummary>& history)
{
    const auto found = std::find_if(history.cbegin(), history.cend(), canUndo);
    return found == history.cend() ? std::nullopt : std::optional(*found);
}

std::optional<JournalSummary> redoTarget(const QList<JournalSummary>& history)
{
    std::optional<JournalSummary> lastUndone;
    for (const JournalSummary& summary : history)
        if (canRedo(summary) && (!lastUndone || summary.reversedAt > lastUndone->reversedAt))
            lastUndone = summary;
    if (!lastUndone || (!history.isEmpty() && history.first().created > lastUndone->reversedAt))
        return std::nullopt;
    return lastUndone;
}

QString commonFolder(const QStringList& folders)
{
    if (folders.isEmpty())
        return QString();
    QStringList common = folders.first().split(u'/');
    for (const QString& folder : folders) {
        const QStringList parts = folder.split(u'/');
        qsizetype shared = 0;
        while (shared < common.size() && shared < parts.size() && common[shared] == parts[shared])
            ++shared;
        common.resize(shared);
    }
    const QString joined = common.join(u'/');
    return joined.isEmpty() ? u"/"_s : joined;
}

FileState stateOf(const JournalEntry& entry, const JournalOperation& operation)
{
    if (!entry.complete)
        return FileState::Interrupted;
    if (!entry.moved(operation))
        return FileState::NotRenamed;
    return operation.undone ? FileState::Restored : FileState::Renamed;
}

namespace {

// The paths of `files` that a file operation of a rename newer (or older) than `entry` names, with the
// file's identity, on the side `side` picks.
template <typename Side>
QSet<QString> foundIn(const JournalEntry& entry, const QHash<QString, FileIdentity>& files, bool newer,
                      Side side)
{
    QSet<QString> found;
    if (files.isEmpty())
        return found;
    const qint64 created = createdOf(entry.file);
    for (const QString& file : RenameJournal::entryFiles(FileNameParts::parentOf(entry.file))) {
        if (file == entry.file || (createdOf(file) > created) != newer)
            continue;
        QString problem;
        const auto other = RenameJournal::load(file, &problem);
        if (!other || other->kind != JournalEntry::Kind::Rename)
            continue;
        for (const JournalOperation& operation : other->operations) {
            const std::optional<QString> place = side(*other, operation);
            const auto candidate = place ? files.constFind(*place) : files.cend();
            if (candidate != files.cend() && operation.identity == *candidate)
                found.insert(candidate.key());
        }
    }
    return found;
}

} // namespace

QSet<QString> renamedLater(const JournalEntry& entry, const QHash<QString, FileIdentity>& files)
{
    return foundIn(entry, files, true, [](const JournalEntry& later, const JournalOperation& operation) {
        return later.moved(operation) && !operation.undone ? std::optional(operation.operation.source)
                                                           : std::nullopt;
    });
}

QSet<QString> undoneEarlier(const JournalEntry& entry, const QHash<QString, FileIdentity>& files)
{
    return foundIn(entry, files, false, [](const JournalEntry& earlier, const JournalOperation& operation) {
        return earlier.moved(operation) && operation.undone ? std::optional(operation.operation.destination)
                                                            : std::nullopt;
    });
}

void prune(const QString& folder, qint64 now)
{
    qsizetype finished = 0;
    for (const QString& file : RenameJournal::entryFiles(folder)) {
        if (!file.endsWith(u".done"_s) || ++finished <= keptRenames ||
            now - createdOf(file) < keptAge.count())
            continue;
        if (const int reason = DurableFile::remove(file))
            qCWarning(renameLog, "Failed to remove the old rename journal entry %s: %s",
                      qUtf8Printable(FileNameParts::nameOf(file)),
                      qUtf8Printable(DurableFile::describe(reason)));
    }
}

} // namespace RenameHistory
