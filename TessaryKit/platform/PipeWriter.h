#pragma once

#include "platform/FileDescriptor.h"
#include "platform/KitInternal.h"

#include <QByteArray>
#include <thread>

// Writes bytes into a pipe on a thread of its own, then closes the pipe, so that a large request and a
// full answer pipe never wait for each other. When the reader has gone, writing stops quietly: the
// broken-pipe signal is blocked on the writing thread and never reaches the application.
class PipeWriter {
public:
    PipeWriter(FileDescriptor pipe, QByteArray bytes);
    ~PipeWriter(); // waits for the writing thread: the pipe's reader must end or read everything
    PipeWriter(const PipeWriter&) = delete;
    PipeWriter& operator=(const PipeWriter&) = delete;

private:
    std::thread thread;
};
