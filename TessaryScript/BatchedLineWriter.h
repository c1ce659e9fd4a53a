#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

// Writes lines to a descriptor in few writes without holding any back for long: the first line goes out
// at once, later ones are gathered until a block is full or the oldest has waited `delay`. One write per
// line costs a system call and a wake-up of the reader each, which on a batch of short lines is more than
// the work that made them.
class BatchedLineWriter {
public:
    BatchedLineWriter(int descriptor, std::chrono::milliseconds delay, qsizetype blockBytes);
    ~BatchedLineWriter(); // writes what is left
    BatchedLineWriter(const BatchedLineWriter&) = delete;
    BatchedLineWriter& operator=(const BatchedLineWriter&) = delete;

    // Adds `line` and a line feed. Returns the system's description of a failed write, this one's or an
    // earlier one's; nothing is written after a failure.
    std::optional<QString> write(QByteArrayView line);

    // Writes what is gathered and stops the background writes; the first failure, if any.
    std::optional<QString> finish();

private:
    using Clock = std::chrono::steady_clock;

    void writeGatheredLocked();
    void writeLate();

    const int descriptor;
    const std::chrono::milliseconds delay;
    const qsizetype blockBytes;

    std::mutex mutex; // held while writing, so that blocks leave in order
    std::condition_variable gathered;
    QByteArray pending;
    Clock::time_point oldestPending;
    bool wroteAny = false;
    bool finished = false;
    std::optional<QString> failure;
    std::thread lateWriter; // last, so that it starts after everything it reads
};
