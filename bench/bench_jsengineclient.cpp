// JSEngineClient against running the same helper directly, side by side in one run:
//   a 10,000-item batch through evaluate() and through the helper with the request piped in;
//   a 100 MB request answered with 100 MB, and the client's peak memory over that data.
#include "BenchSupport.h"
#include "JSBatchInput.h"
#include "script/JSEngineClient.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <future>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString helper = QStringLiteral(TESSARY_JSENGINE_PATH);
const QString script = u"fields.n = String(Number(fields.a) + 1);"_s;

QList<Fields> items(int count)
{
    QList<Fields> list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        Fields fields;
        for (char name = 'a'; name < 'a' + 10; ++name)
            fields.insert(QString(QLatin1Char(name)), QString::number(i + name));
        list.append(fields);
    }
    return list;
}

double secondsThroughClient(const QList<Fields>& batch)
{
    QElapsedTimer timer;
    timer.start();
    const auto lines =
        std::async(std::launch::async, [&] {
            return JSEngineClient(helper).evaluate(script, batch, {}, JSEngineClient::defaultTimeout);
        }).get();
    if (lines.size() != batch.size() || !lines.last().fields)
        qFatal("The client's batch failed");
    return double(timer.nsecsElapsed()) / 1e9;
}

// The request from a file on standard input, the answers read from a pipe as they come.
double secondsDirectly(const QString& requestFile)
{
    QProcess process;
    process.setStandardInputFile(requestFile);
    QElapsedTimer timer;
    timer.start();
    process.start(helper);
    qsizetype lines = 0;
    while (process.waitForReadyRead(-1))
        lines += process.readAllStandardOutput().count('\n');
    process.waitForFinished(-1);
    const double elapsed = double(timer.nsecsElapsed()) / 1e9;
    if (lines != 10'000)
        qFatal("The direct batch failed");
    return elapsed;
}

void tenThousandItems()
{
    const QList<Fields> batch = items(10'000);
    QTemporaryFile requestFile;
    if (!requestFile.open())
        qFatal("No temporary file");
    requestFile.write(JSBatchInput{script, {}, batch}.toJson());
    requestFile.flush();

    QList<double> client, direct;
    for (int round = 0; round < 5; ++round) {
        client.append(secondsThroughClient(batch));
        direct.append(secondsDirectly(requestFile.fileName()));
    }
    std::printf("10,000 items              evaluate() %6.3f s   helper with the request piped in %6.3f s   "
                "ratio %5.3fx   (goal: <= 1.10x)\n",
                BenchSupport::median(client), BenchSupport::median(direct),
                BenchSupport::median(client) / BenchSupport::median(direct));
}

void hundredMegabytes()
{
    constexpr int count = 100;
    const QList<Fields> batch(count, Fields{{u"v"_s, QString(1 << 20, u'v')}});
    const qint64 before = BenchSupport::statusKiB("VmRSS:");
    QFile clearPeak(u"/proc/self/clear_refs"_s); // resets the peak to the current size
    if (clearPeak.open(QIODevice::WriteOnly))
        clearPeak.write("5");
    clearPeak.close();

    QElapsedTimer timer;
    timer.start();
    const auto lines = std::async(std::launch::async, [&] {
                           return JSEngineClient(helper).evaluate(u"fields.n = '1'"_s, batch, {}, 60s);
                       }).get();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (lines.size() != count || !lines.last().fields)
        qFatal("The 100 MB batch failed");
    const double dataMB = 200.0; // the request and the answers
    const double growthMB = double(BenchSupport::statusKiB("VmHWM:") - before) / 1024;
    std::printf(
        "100 MB request, 100 MB of answers   %6.2f s   client's peak memory growth %6.1f MB = %4.2fx the "
        "data   (goal: <= 3x)\n",
        seconds, growthMB, growthMB / dataMB);
}

} // namespace

int main()
{
    tenThousandItems();
    hundredMegabytes();
}
