// A fake script helper that keeps the test's clock: it sets the time the client's watchdog reads, so a
// time limit is reached exactly when the test means it to be, however slowly the machine runs.
//
//   paced_helper ANSWERS STEP_MS THEN
//
// Reads its whole input, then for answer k sets the clock to k × STEP_MS and writes {"fields":{"n":"k"}}.
// It moves on only once the client has read the line, so the clock never runs ahead of the answers
// the client has seen. After the answers, THEN is "exit", or "hang": the clock keeps jumping an hour
// ahead until the helper is stopped. With "hang-ignoring-term", SIGTERM only makes it touch
// $TESSARY_TEST_MARKER, which tells the test that the limit was detected.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t terminationAsked = 0;

void setClock(long long nanoseconds)
{
    const char* clock = std::getenv("TESSARY_TEST_CLOCK");
    if (!clock)
        return;
    const std::string path = clock;
    const std::string written = path + ".new";
    std::ofstream(written) << nanoseconds;
    std::rename(written.c_str(), path.c_str()); // whole values only
}

void waitUntilRead()
{
    int unread = 0;
    while (::ioctl(STDOUT_FILENO, FIONREAD, &unread) == 0 && unread > 0)
        ::usleep(1000);
}

void touchMarker()
{
    if (const char* marker = std::getenv("TESSARY_TEST_MARKER"))
        std::ofstream{marker};
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4)
        return 64;
    const int answers = std::atoi(argv[1]);
    const long long step = std::atoll(argv[2]) * 1'000'000;
    const std::string then = argv[3];

    std::string ignored;
    while (std::getline(std::cin, ignored)) {
    }
    for (int k = 1; k <= answers; ++k) {
        setClock(k * step);
        std::cout << R"({"fields":{"n":")" << k << "\"}}\n" << std::flush;
        waitUntilRead();
    }
    if (then == "exit")
        return 0;
    if (then == "hang-ignoring-term")
        std::signal(SIGTERM, [](int) { terminationAsked = 1; });
    for (long long hours = 1;; ++hours) {
        setClock(answers * step + hours * 3'600'000'000'000);
        if (terminationAsked)
            touchMarker();
        ::usleep(10'000);
    }
}
