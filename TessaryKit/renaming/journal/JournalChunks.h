#pragma once

#include "renaming/FileRenamer.h"
#include "renaming/journal/RenameJournal.h"

#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

// Writes a new entry's operations on a thread of its own, in chunks of whole groups, each stored before it
// is handed out: the moves of one chunk go on while the identities of the next are read and stored. No
// group spans two chunks, so none of its moves waits on an operation the journal doesn't hold yet.
class JournalChunks {
public:
    struct Chunk {
        QList<JournalOperation> operations; // with temporary names and identities, in the order stored
        FileRenamer::Groups groups;         // indices into `operations`
        // Operations left out: a source whose identity can't be read, with the rest of its group.
        FileRenamer::Failures setAside;
    };
    // What was never stored when a chunk could not be: nothing of it, or after it, may move.
    struct Unstored {
        QString reason;
        QList<RenameOperation> operations;
        FileRenamer::Failures setAside;
    };

    // `layout` is FileRenamer::layoutOf the planned operations, made meanwhile.
    JournalChunks(const JournalEntry& planned, std::future<FileRenamer::Layout> layout);
    ~JournalChunks();
    JournalChunks(const JournalChunks&) = delete;
    JournalChunks& operator=(const JournalChunks&) = delete;

    // The next chunk, once stored; nothing when none is left, or when one could not be stored.
    std::optional<Chunk> next();
    // Once `next` gave nothing: what was not stored, if anything.
    const std::optional<Unstored>& unstored() const { return failure; }

private:
    void write(const std::stop_token& stop);
    void hand(std::optional<Chunk> chunk, std::optional<Unstored> unstored = std::nullopt);

    const JournalEntry planned;
    std::future<FileRenamer::Layout> layout;
    std::mutex mutex;
    std::condition_variable stored;
    std::deque<Chunk> chunks;
    bool finished = false;
    std::optional<Unstored> failure;
    std::jthread writer; // last: it starts once the rest is set up
};
