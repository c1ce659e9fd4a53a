// The helper's fence, installed in a child process per case: what it must deny, and what the engine still
// needs.
#include "SyscallFence.h"

#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Attempt = std::function<int()>; // 0 on success, else the error number

int result(int returned)
{
    return returned < 0 ? errno : 0;
}

// Runs `attempt` in a fenced child; its error number, or -1 when the child died or the fence failed.
int fencedErrno(const Attempt& attempt)
{
    int report[2];
    if (::pipe(report) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        const int outcome = SyscallFence::install() ? -1 : attempt();
        [[maybe_unused]] const auto written = ::write(report[1], &outcome, sizeof outcome);
        ::_exit(0);
    }
    ::close(report[1]);
    int outcome = -1;
    if (::read(report[0], &outcome, sizeof outcome) != sizeof outcome)
        outcome = -1;
    ::close(report[0]);
    ::waitpid(child, nullptr, 0);
    return outcome;
}

} // namespace

Q_DECLARE_METATYPE(Attempt)

class tst_SyscallFence : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deniesOrAllows_data()
    {
        QTest::addColumn<Attempt>("attempt");
        QTest::addColumn<int>("expected");

        const auto openForReading = [](const char* path) {
            return [path] {
                const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
                const int error = result(fd);
                if (fd >= 0)
                    ::close(fd);
                return error;
            };
        };
        QTest::newRow("open a file") << Attempt(openForReading("/etc/passwd")) << EPERM;
        QTest::newRow("open its own status") << Attempt(openForReading("/proc/self/status")) << EPERM;
        QTest::newRow("create a file")
            << Attempt([] { return result(::creat("/tmp/tessary-fence-test", 0600)); }) << EPERM;
        QTest::newRow("remove a file")
            << Attempt([] { return result(::unlink("/tmp/tessary-fence-test")); }) << EPERM;
        QTest::newRow("rename a file")
            << Attempt([] { return result(::rename("/tmp/tessary-fence-a", "/tmp/tessary-fence-b")); })
            << EPERM;
        QTest::newRow("create a socket")
            << Attempt([] { return result(::socket(AF_INET, SOCK_STREAM, 0)); }) << EPERM;
        QTest::newRow("create a local socket pair") << Attempt([] {
            int pair[2];
            return result(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair));
        }) << EPERM;
        QTest::newRow("start a process") << Attempt([] {
            const pid_t pid = ::fork();
            if (pid == 0)
                ::_exit(0);
            return result(pid);
        }) << EPERM;
        QTest::newRow("run a program") << Attempt([] {
            char* const arguments[] = {const_cast<char*>("/bin/true"), nullptr};
            return result(::execv("/bin/true", arguments));
        }) << EPERM;
        QTest::newRow("start a thread") << Attempt([] {
            int ran = 0;
            std::thread([&] { ran = 1; }).join();
            return ran ? 0 : -1;
        }) << 0;
        QTest::newRow("write to an open stream")
            << Attempt([] { return result(int(::write(STDERR_FILENO, "", 0))); }) << 0;
        QTest::newRow("allocate") << Attempt([] {
            std::vector<char> memory(64 << 20, 'x');
            return memory.back() == 'x' ? 0 : -1;
        }) << 0;
    }
    void deniesOrAllows()
    {
        QFETCH(Attempt, attempt);
        QFETCH(int, expected);
        QCOMPARE(fencedErrno(attempt), expected);
    }
};

QTEST_APPLESS_MAIN(tst_SyscallFence)
#include "tst_SyscallFence.moc"
