#include "platform/PipeWriter.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <pthread.h>
#include <unistd.h>

namespace {

void writeAll(const FileDescriptor& pipe, const QByteArray& bytes)
{
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &brokenPipe, nullptr);

    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count =
            ::write(pipe.get(), bytes.constData() + written, size_t(bytes.size() - written));
        if (count >= 0) {
            written += count;
        } else if (errno != EINTR) {
            if (errno == EPIPE) { // take the signal this thread kept pending, so nothing lingers
                const timespec now{};
                sigtimedwait(&brokenPipe, nullptr, &now);
            }
            return;
        }
    }
}

} // namespace

PipeWriter::PipeWriter(FileDescriptor pipe, QByteArray bytes)
    : thread([pipe = std::move(pipe), bytes = std::move(bytes)]() mutable {
          writeAll(pipe, bytes);
          bytes = QByteArray(); // a large request is freed as soon as it is written
          pipe.close();
      })
{
}

PipeWriter::~PipeWriter()
{
    thread.join();
}
