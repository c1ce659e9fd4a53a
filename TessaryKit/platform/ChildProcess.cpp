#include "platform/ChildProcess.h"

#include <QFile>
#include <QScopeGuard>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
extern "C" { // glibc 2.36's header lacks its own C linkage block
#include <sys/pidfd.h>
}
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace Qt::StringLiterals;

namespace {

QString describeErrno(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

struct Pipe {
    FileDescriptor readEnd;
    FileDescriptor writeEnd;
};

// Both ends close on exec; the child gets its copies through dup2, which clears that flag.
std::optional<Pipe> makePipe()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return std::nullopt;
    return Pipe{FileDescriptor(ends[0]), FileDescriptor(ends[1])};
}

void makeNonBlocking(int descriptor)
{
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) | O_NONBLOCK);
}

} // namespace

std::optional<ChildProcess> ChildProcess::start(const QString& program, QString* error)
{
    auto input = makePipe();
    auto output = makePipe();
    auto errorStream = makePipe();
    if (!input || !output || !errorStream) {
        *error = describeErrno(errno);
        return std::nullopt;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const auto destroyActions = qScopeGuard([&] { posix_spawn_file_actions_destroy(&actions); });
    posix_spawn_file_actions_adddup2(&actions, input->readEnd.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output->writeEnd.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errorStream->writeEnd.get(), STDERR_FILENO);
    // Descriptors other libraries opened without close-on-exec stay out of the child.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    // The child starts with no blocked signals and default dispositions, whatever this thread has.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    const auto destroyAttributes = qScopeGuard([&] { posix_spawnattr_destroy(&attributes); });
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    const QByteArray path = QFile::encodeName(program);
    char* const arguments[] = {const_cast<char*>(path.constData()), nullptr};
    pid_t pid = -1;
    if (const int failure =
            ::posix_spawn(&pid, path.constData(), &actions, &attributes, arguments, environ)) {
        *error = describeErrno(failure);
        return std::nullopt;
    }

    FileDescriptor processDescriptor(::pidfd_open(pid, 0));
    if (!processDescriptor.isOpen()) {
        // Without a process descriptor the end cannot be watched: stop the program at once.
        *error = describeErrno(errno);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return std::nullopt;
    }
    makeNonBlocking(output->readEnd.get());
    makeNonBlocking(errorStream->readEnd.get());
    return ChildProcess(pid, std::move(processDescriptor), std::move(input->writeEnd),
                        std::move(output->readEnd), std::move(errorStream->readEnd));
}

ChildProcess::ChildProcess(pid_t pid, FileDescriptor processDescriptor, FileDescriptor input,
                           FileDescriptor output, FileDescriptor error)
    : pid(pid), processDescriptor(std::move(processDescriptor)), input(std::move(input)),
      output(std::move(output)), error(std::move(error))
{
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid(std::exchange(other.pid, -1)), reaped(other.reaped), ending(other.ending),
      processDescriptor(std::move(other.processDescriptor)), input(std::move(other.input)),
      output(std::move(other.output)), error(std::move(other.error))
{
}

ChildProcess::~ChildProcess()
{
    if (pid > 0 && !reaped) {
        signal(SIGKILL);
        wait();
    }
}

void ChildProcess::signal(int signalNumber) const
{
    if (!reaped)
        ::pidfd_send_signal(processDescriptor.get(), signalNumber, nullptr, 0);
}

ChildProcess::Ending ChildProcess::wait()
{
    while (!reaped) {
        siginfo_t info{};
        if (::waitid(P_PIDFD, id_t(processDescriptor.get()), &info, WEXITED) == 0) {
            reaped = true;
            ending = {info.si_status, info.si_code != CLD_EXITED};
        } else if (errno != EINTR) {
            break;
        }
    }
    return ending;
}

std::optional<qint64> ChildProcess::memoryInUse() const
{
    if (reaped)
        return std::nullopt;
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    qint64 kilobytes = 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:") || line.startsWith("VmSwap:"))
            kilobytes += line.sliced(line.indexOf(':') + 1).trimmed().split(' ').first().toLongLong();
    return kilobytes * 1024;
}
