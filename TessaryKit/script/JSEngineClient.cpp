#include "script/JSEngineClient.h"

#include "JSBatchInput.h"
#include "common/Diagnostics.h"
#include "common/DurationText.h"
#include "common/KitCatalogue.h"
#include "common/Signpost.h"
#include "platform/ChildProcess.h"
#include "platform/PipeWriter.h"
#include "script/Watchdog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono;

namespace {

constexpr qsizetype errorStreamLimit = 65'536;
constexpr qsizetype readChunk = 65'536;
// A helper that ignores the polite termination signal is killed after this grace.
constexpr nanoseconds terminationGrace = 2s;
// How often the helper's memory is looked at. A script that allocates in a loop gains some 40 MB in
// this time, little beside the limit.
constexpr nanoseconds memoryCheckInterval = 10ms;

JSBatchOutputLine errorLine(const QString& error)
{
    return JSBatchOutputLine{std::nullopt, error, std::nullopt};
}

QList<JSBatchOutputLine> everyItem(qsizetype count, const QString& error)
{
    return QList<JSBatchOutputLine>(count, errorLine(error));
}

QString cancelledText()
{
    //: Error shown for a file in the file list when computing names was cancelled
    return KitCatalogue::tr("Cancelled");
}

// What came back from one helper run.
struct BatchOutput {
    QList<JSBatchOutputLine> lines; // decoded answers, at most one per item
    QByteArray errorText;           // the start of standard error, at most errorStreamLimit bytes
    ChildProcess::Ending ending;
    bool outOfMemory = false; // stopped for using more than the limit
};

// Waits in one poll loop for the helper's output, its end, the watchdog's deadline and cancellation.
class OutputCollector {
public:
    OutputCollector(ChildProcess& child, Watchdog& watchdog, qint64 memoryLimit, qsizetype itemCount,
                    const JSEngineClient::AnswersArrived& arrived)
        : child(child), watchdog(watchdog), memoryLimit(memoryLimit), itemCount(itemCount), arrived(arrived),
          chunk(readChunk, Qt::Uninitialized)
    {
    }

    BatchOutput collect(const std::stop_token& stop)
    {
        const FileDescriptor cancellation(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
        const std::stop_callback onStop(stop, [&] {
            const quint64 one = 1;
            [[maybe_unused]] const auto written = ::write(cancellation.get(), &one, sizeof one);
        });

        bool ended = false;
        while (!ended) {
            pollfd watched[] = {
                {outputOpen ? child.standardOutput() : -1, POLLIN, 0},
                {errorOpen ? child.standardError() : -1, POLLIN, 0},
                {child.endDescriptor(), POLLIN, 0},
                {cancelled ? -1 : cancellation.get(), POLLIN, 0},
            };
            const std::optional<timespec> wait = nextWakeUp();
            if (::ppoll(watched, std::size(watched), wait ? &*wait : nullptr, nullptr) < 0 &&
                errno != EINTR) {
                child.signal(SIGKILL);
                break;
            }
            // Output already in the pipe counts, even when cancellation arrived at the same time.
            if (watched[0].revents && readOutput())
                letOutputGather();
            if (watched[1].revents)
                readError();
            if (watched[3].revents)
                cancel();
            if (watched[2].revents)
                ended = true;
            if (!cancelled && !watchdog.timedOut() && watchdog.checkDeadline())
                stopHelper();
            if (!ended && !cancelled && !result.outOfMemory)
                checkMemory();
            if (killDeadline && Watchdog::continuousNow() >= *killDeadline) {
                child.signal(SIGKILL);
                killDeadline.reset();
            }
        }
        if (!cancelled)
            drain(); // the helper has ended, so all it wrote is in the pipes now
        result.ending = child.wait();
        return std::move(result);
    }

private:
    void checkMemory()
    {
        const nanoseconds now = Watchdog::continuousNow();
        if (now < nextMemoryCheck)
            return;
        nextMemoryCheck = now + memoryCheckInterval;
        if (child.memoryInUse().value_or(0) > memoryLimit) {
            result.outOfMemory = true;
            child.signal(SIGKILL); // it would only grow in a grace period
        }
    }

    std::optional<timespec> nextWakeUp() const
    {
        std::optional<nanoseconds> wait;
        if (!cancelled && !watchdog.timedOut())
            wait = watchdog.remaining();
        if (killDeadline)
            wait = std::min(wait.value_or(nanoseconds::max()),
                            std::max(nanoseconds::zero(), *killDeadline - Watchdog::continuousNow()));
        if (!cancelled && !result.outOfMemory)
            wait = std::min(wait.value_or(nanoseconds::max()), memoryCheckInterval);
        if (!wait)
            return std::nullopt;
        const auto whole = duration_cast<seconds>(*wait);
        return timespec{time_t(whole.count()), long((*wait - whole).count())};
    }

    void stopHelper()
    {
        child.signal(SIGTERM);
        killDeadline = Watchdog::continuousNow() + terminationGrace;
    }

    void cancel()
    {
        cancelled = true;
        outputOpen = errorOpen = false; // no later answer counts
        stopHelper();
    }

    // Every read that empties the pipe makes the helper's next line wake this thread, a cost the helper
    // pays in its write: read at most once a millisecond, so that a fast script's lines come in groups.
    static void letOutputGather()
    {
        const timespec pause{0, 1'000'000};
        ::nanosleep(&pause, nullptr);
    }

    // One read per readiness, so a fast writer cannot keep the loop from its deadlines.
    bool readOutput()
    {
        const qsizetype count = readInto(child.standardOutput(), outputOpen);
        if (count > 0)
            appendOutput(QByteArrayView(chunk).first(count));
        return count > 0;
    }

    bool readError()
    {
        const qsizetype count = readInto(child.standardError(), errorOpen);
        const qsizetype room = errorStreamLimit - result.errorText.size();
        if (count > 0 && room > 0)
            result.errorText.append(QByteArrayView(chunk).first(std::min(count, room)));
        return count > 0;
    }

    void drain()
    {
        while (outputOpen && readOutput()) {
        }
        while (errorOpen && readError()) {
        }
    }

    qsizetype readInto(int descriptor, bool& open)
    {
        for (;;) {
            const ssize_t count = ::read(descriptor, chunk.data(), size_t(chunk.size()));
            if (count > 0)
                return count;
            if (count < 0 && errno == EINTR)
                continue;
            if (count == 0 || errno != EAGAIN)
                open = false; // end of stream, or a pipe that cannot be read any more
            return 0;
        }
    }

    // Complete lines are answers; a final fragment without a line feed never becomes one.
    void appendOutput(QByteArrayView bytes)
    {
        const qsizetype answeredBefore = result.lines.size();
        qsizetype searchFrom = pending.size();
        pending.append(bytes);
        qsizetype lineStart = 0;
        for (qsizetype end; (end = pending.indexOf('\n', searchFrom)) >= 0; searchFrom = lineStart) {
            answer(QByteArrayView(pending).sliced(lineStart, end - lineStart));
            lineStart = end + 1;
        }
        pending.remove(0, lineStart);
        if (arrived && result.lines.size() > answeredBefore)
            arrived(result.lines, answeredBefore);
    }

    void answer(QByteArrayView line)
    {
        watchdog.recordProgress();
        if (result.lines.size() < itemCount)
            result.lines.append(JSBatchOutputLine::fromJsonLine(line).value_or(
                //: Error shown for a file in the file list
                errorLine(KitCatalogue::tr("The JavaScript engine returned an invalid result"))));
    }

    ChildProcess& child;
    Watchdog& watchdog;
    const qint64 memoryLimit;
    nanoseconds nextMemoryCheck{};
    const qsizetype itemCount;
    const JSEngineClient::AnswersArrived& arrived;
    QByteArray chunk;
    QByteArray pending;
    BatchOutput result;
    bool outputOpen = true;
    bool errorOpen = true;
    bool cancelled = false;
    std::optional<nanoseconds> killDeadline;
};

// The lines for the items the helper did not answer, by the first reason that applies.
QList<JSBatchOutputLine> unansweredLines(qsizetype answered, qsizetype itemCount, const BatchOutput& output,
                                         const Watchdog& watchdog, milliseconds timeout,
                                         const std::stop_token& stop)
{
    const qsizetype remaining = itemCount - answered;
    if (stop.stop_requested())
        return everyItem(remaining, cancelledText());
    if (watchdog.timedOut()) {
        qCInfo(jsEngineLog, "Script timed out on item %lld of %lld", qint64(answered + 1), qint64(itemCount));
        //: Error shown for a file in the file list
        QList<JSBatchOutputLine> lines = everyItem(
            remaining, KitCatalogue::tr("Not evaluated because the script timed out on a previous file"));
        //: Error shown for a file in the file list; the placeholder is a duration, like 5 seconds
        lines.first() =
            errorLine(KitCatalogue::tr("The script didn't finish within %1. Check it for endless loops.")
                          .arg(durationText(timeout)));
        return lines;
    }
    if (output.outOfMemory) {
        qCInfo(jsEngineLog, "Script used too much memory on item %lld of %lld", qint64(answered + 1),
               qint64(itemCount));
        //: Error shown for a file in the file list
        QList<JSBatchOutputLine> lines = everyItem(
            remaining, KitCatalogue::tr("Not evaluated because the script used more memory than allowed on a "
                                        "previous file"));
        //: Error shown for a file in the file list
        lines.first() = errorLine(KitCatalogue::tr("The script used more memory than allowed."));
        return lines;
    }
    const QString errorText = QString::fromUtf8(output.errorText).trimmed();
    const ChildProcess::Ending& ending = output.ending;
    qCWarning(jsEngineLog, "JavaScript engine %s %d: %s",
              ending.bySignal ? "stopped by signal" : "exited with status", ending.status,
              qUtf8Printable(errorText));
    if (!errorText.isEmpty())
        return everyItem(remaining, errorText);
    if (ending.bySignal)
        //: Error shown for a file in the file list; the placeholders are the signal's number and name
        return everyItem(remaining, KitCatalogue::tr("The JavaScript engine was stopped by signal %1 (%2)")
                                        .arg(ending.status)
                                        .arg(QString::fromLocal8Bit(::strsignal(ending.status))));
    //: Error shown for a file in the file list; the placeholder is the helper process's exit code
    return everyItem(
        remaining,
        KitCatalogue::tr("The JavaScript engine stopped unexpectedly (exit code %1)").arg(ending.status));
}

} // namespace

qint64 JSEngineClient::defaultMemoryLimit()
{
    const qint64 machine = qint64(::sysconf(_SC_PHYS_PAGES)) * ::sysconf(_SC_PAGESIZE);
    return std::min(qint64(2) << 30, machine / 2);
}

QString JSEngineClient::bundledHelperPath()
{
    const QString executable = QFileInfo(u"/proc/self/exe"_s).canonicalFilePath();
    return QDir::cleanPath(QFileInfo(executable).absolutePath() + u"/../libexec/tessary/TessaryJSEngine"_s);
}

QList<JSBatchOutputLine> JSEngineClient::evaluate(const QString& script, const QList<Fields>& items,
                                                  const Fields& context, milliseconds timeout,
                                                  std::stop_token stop, const AnswersArrived& arrived) const
{
    if (items.isEmpty())
        return {};
    const Signpost signpost("Run script", u"%1 items"_s.arg(items.size()));
    if (stop.stop_requested())
        return everyItem(items.size(), cancelledText());

    QString startError;
    std::optional<ChildProcess> child = ChildProcess::start(helperPath, &startError);
    if (!child) {
        qCWarning(jsEngineLog, "Failed to launch the JavaScript engine: %s", qUtf8Printable(startError));
        //: Error shown for every file in the file list; the placeholder is the system's error message
        return everyItem(items.size(),
                         KitCatalogue::tr("Failed to start the JavaScript engine: %1").arg(startError));
    }

    // Encoded while the helper loads its libraries.
    QByteArray request = JSBatchInput{script, context, items}.toJson();
    const PipeWriter writer(child->takeStandardInput(), std::move(request));
    Watchdog watchdog(timeout, clock);
    BatchOutput output = OutputCollector(*child, watchdog, memoryLimit, items.size(), arrived).collect(stop);

    QList<JSBatchOutputLine> lines = std::move(output.lines);
    if (lines.size() < items.size())
        lines.append(unansweredLines(lines.size(), items.size(), output, watchdog, timeout, stop));
    return lines;
}
