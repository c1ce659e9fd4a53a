// The script engine helper against its baselines, side by side in one run:
//   start-up to the first answer line, against the same program with nothing to evaluate (the cost of
//   loading its libraries) and a process that only echoes a line (cat);
//   per-item cost of JSBatchEvaluator, against a bare "create context, evaluate, release" loop;
//   peak resident memory of the helper over 100,000 items.
#include "BareScriptLoop.h"
#include "BenchSupport.h"
#include "JSBatchEvaluator.h"
#include "JSString.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const QString script = u"fields.n = String(Number(fields.a) + 1);"_s;

Fields tenFields(int i)
{
    Fields fields;
    for (char name = 'a'; name < 'a' + 10; ++name)
        fields.insert(QString(QLatin1Char(name)), QString::number(i + name));
    return fields;
}

JSBatchInput batch(int items)
{
    JSBatchInput input{script, {}, {}};
    input.items.reserve(items);
    for (int i = 0; i < items; ++i)
        input.items.append(tenFields(i));
    return input;
}

// Milliseconds from starting `program` to the first complete line on its standard output, or to its end
// when it writes none.
double millisecondsToFirstLine(const QString& program, const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    while (!process.canReadLine() && process.waitForReadyRead(10'000)) {
    }
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    process.waitForFinished();
    return elapsed;
}

void startUp()
{
    const QByteArray request = batch(1).toJson();
    const QByteArray emptyRequest = batch(0).toJson();
    QList<double> engine, loadOnly, echo;
    for (int round = 0; round < 40; ++round) {
        engine.append(millisecondsToFirstLine(QStringLiteral(TESSARY_JSENGINE_PATH), {}, request));
        loadOnly.append(millisecondsToFirstLine(QStringLiteral(TESSARY_JSENGINE_PATH), {}, emptyRequest));
        echo.append(millisecondsToFirstLine(u"/bin/cat"_s, {}, request + '\n'));
    }
    std::printf("start-up to first line      TessaryJSEngine %6.2f ms   same, empty batch (engine set up) "
                "%6.2f ms   "
                "cat %6.2f ms   ratio to cat %5.1fx   (goal: median <= 30 ms)\n",
                BenchSupport::median(engine), BenchSupport::median(loadOnly), BenchSupport::median(echo),
                BenchSupport::median(engine) / BenchSupport::median(echo));
}

double evaluatorMicroseconds(const JSBatchInput& input)
{
    const JSBatchEvaluator evaluator;
    qsizetype bytes = 0;
    QElapsedTimer timer;
    timer.start();
    evaluator.run(input, [&](const QByteArray& line) { bytes += line.size() + 1; });
    const double elapsed = double(timer.nsecsElapsed()) / 1e3 / double(input.items.size());
    if (bytes == 0)
        std::abort();
    return elapsed;
}

void perItem()
{
    constexpr int items = 5'000;
    const JSBatchInput input = batch(items);
    QList<double> bare, evaluator;
    for (int round = 0; round < 5; ++round) { // interleaved, so drift on a shared machine hits both
        bare.append(bareScriptLoopMicroseconds(script, items));
        evaluator.append(evaluatorMicroseconds(input));
    }
    std::printf("per item, 10 fields         JSBatchEvaluator %6.1f us   bare loop %6.1f us   ratio %5.2fx   "
                "(goal: <= 1.4x)\n",
                BenchSupport::median(evaluator), BenchSupport::median(bare),
                BenchSupport::median(evaluator) / BenchSupport::median(bare));
}

void memory()
{
    constexpr int items = 100'000;
    QProcess process;
    process.start(QStringLiteral(TESSARY_JSENGINE_PATH));
    process.write(batch(items).toJson());
    process.closeWriteChannel();
    int lines = 0;
    QList<QPair<int, qint64>> samples;
    while (process.waitForReadyRead(60'000)) {
        while (process.canReadLine()) {
            process.readLine();
            ++lines;
            if (lines == 1'000 || lines == 10'000 || lines == 50'000 || lines == items - 1)
                samples.append(
                    {lines, BenchSupport::statusKiB("VmHWM:", QString::number(process.processId()))});
        }
    }
    process.waitForFinished();
    std::printf("peak resident memory        ");
    for (const auto& [line, kib] : samples)
        std::printf("%6d items %6.1f MB   ", line, double(kib) / 1024);
    std::printf("(goal: < 200 MB, flat after 10,000; %d lines)\n", lines);
}

} // namespace

int main()
{
    startUp();
    perItem();
    memory();
}
