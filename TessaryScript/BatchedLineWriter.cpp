#include "BatchedLineWriter.h"

#include "StandardStreams.h"

BatchedLineWriter::BatchedLineWriter(int descriptor, std::chrono::milliseconds delay, qsizetype blockBytes)
    : descriptor(descriptor), delay(delay), blockBytes(blockBytes), lateWriter([this] { writeLate(); })
{
}

BatchedLineWriter::~BatchedLineWriter()
{
    finish();
}

std::optional<QString> BatchedLineWriter::write(QByteArrayView line)
{
    std::unique_lock lock(mutex);
    if (failure || finished)
        return failure;
    const bool wasEmpty = pending.isEmpty();
    pending.append(line);
    pending.append('\n');
    if (!wroteAny || pending.size() >= blockBytes) {
        writeGatheredLocked();
    } else if (wasEmpty) {
        oldestPending = Clock::now();
        gathered.notify_one();
    }
    return failure;
}

std::optional<QString> BatchedLineWriter::finish()
{
    {
        std::unique_lock lock(mutex);
        if (!finished) {
            writeGatheredLocked();
            finished = true;
        }
    }
    gathered.notify_one();
    if (lateWriter.joinable())
        lateWriter.join();
    return failure;
}

void BatchedLineWriter::writeGatheredLocked()
{
    if (pending.isEmpty())
        return;
    failure = StandardStreams::writeAll(descriptor, pending);
    pending.clear();
    wroteAny = true;
}

void BatchedLineWriter::writeLate()
{
    std::unique_lock lock(mutex);
    while (!finished) {
        if (pending.isEmpty())
            gathered.wait(lock);
        else if (Clock::now() >= oldestPending + delay)
            writeGatheredLocked();
        else
            gathered.wait_until(lock, oldestPending + delay);
    }
}
