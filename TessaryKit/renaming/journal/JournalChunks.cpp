#include "renaming/journal/JournalChunks.h"

#include "common/FileNameParts.h"
#include "platform/FileLookup.h"
#include "renaming/MoveFailure.h"

#include <algorithm>
#include <cerrno>
#include <future>

namespace {

// The first chunk is small, so that the moves begin soon; later ones grow, so that a large rename syncs
// the journal a few times rather than once per few hundred files.
constexpr qsizetype firstChunkSize = 256;
constexpr qsizetype largestChunkSize = 16384;

QString unidentifiedText(const RenameOperation& operation)
{
    const int reason = FileLookup::errorOf(operation.source);
    return moveFailureMessage(FileNameParts::nameOf(operation.source),
                              FileNameParts::nameOf(operation.destination), reason ? reason : ENOENT,
                              operation.source);
}

} // namespace

JournalChunks::JournalChunks(const JournalEntry& planned, std::future<FileRenamer::Layout> layout)
    : planned(planned), layout(std::move(layout)),
      writer([this](const std::stop_token& stop) { write(stop); })
{
}

JournalChunks::~JournalChunks() = default; // the writer stops after the chunk in hand

std::optional<JournalChunks::Chunk> JournalChunks::next()
{
    std::unique_lock lock(mutex);
    stored.wait(lock, [&] { return finished || !chunks.empty(); });
    if (chunks.empty())
        return std::nullopt;
    Chunk chunk = std::move(chunks.front());
    chunks.pop_front();
    return chunk;
}

void JournalChunks::hand(std::optional<Chunk> chunk, std::optional<Unstored> unstored)
{
    {
        const std::lock_guard lock(mutex);
        if (chunk)
            chunks.push_back(std::move(*chunk));
        else
            finished = true;
        failure = std::move(unstored);
    }
    stored.notify_one();
}

void JournalChunks::write(const std::stop_token& stop)
{
    const FileRenamer::Layout layout = this->layout.get();
    // A file whose identity can't be read now could not be told from a stranger after a crash: neither it
    // nor the files whose moves depend on it move.
    FolderLookup disk;
    const auto add = [&](FileRenamer::Groups::Group group, Chunk& chunk) {
        QList<qsizetype> members;
        for (const qsizetype i : group) {
            JournalOperation operation = planned.operations[i];
            const QString& source = operation.operation.source;
            operation.identity =
                disk.identityOf(FileNameParts::parentOf(source), FileNameParts::nameOf(source));
            if (layout.parks[i])
                operation.temporaryName = FileRenamer::newTemporaryName();
            members.append(chunk.operations.size());
            chunk.operations.append(std::move(operation));
        }
        const auto missing = std::find_if(members.cbegin(), members.cend(),
                                          [&](qsizetype k) { return !chunk.operations[k].identity; });
        if (missing == members.cend()) {
            chunk.groups.append({members.constData(), size_t(members.size())});
            return;
        }
        const RenameOperation unidentified = chunk.operations[*missing].operation;
        for (const qsizetype k : members) {
            const RenameOperation& operation = chunk.operations[k].operation;
            chunk.setAside.insert(operation.id, k == *missing ? unidentifiedText(unidentified)
                                                              : FileRenamer::keptNameMessage(
                                                                    operation.source, unidentified.source));
        }
        chunk.operations.resize(members.first());
    };
    qsizetype g = 0;
    bool created = false; // the first chunk is written even when empty: it creates the entry
    for (qsizetype size = firstChunkSize; !created || (g < layout.groups.size() && !stop.stop_requested());
         size = std::min(2 * size, largestChunkSize)) {
        Chunk chunk;
        for (; g < layout.groups.size() && chunk.operations.size() < size; ++g)
            add(layout.groups[g], chunk);
        QString reason;
        const bool written = created ? RenameJournal::writeMore(planned, chunk.operations, &reason)
                                     : RenameJournal::write(planned, chunk.operations, &reason);
        if (!written) {
            Unstored unstored{reason, {}, chunk.setAside};
            for (const JournalOperation& operation : std::as_const(chunk.operations))
                unstored.operations.append(operation.operation);
            for (; g < layout.groups.size(); ++g)
                for (const qsizetype i : layout.groups[g])
                    unstored.operations.append(planned.operations[i].operation);
            return hand(std::nullopt, std::move(unstored));
        }
        created = true;
        hand(std::move(chunk));
    }
    hand(std::nullopt);
}
