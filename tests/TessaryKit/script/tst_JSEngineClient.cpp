#include "KitTestSupport.h"
#include "ProtocolTestSupport.h"
#include "script/JSEngineClient.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <future>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Lines = QList<JSBatchOutputLine>;

namespace {

QString fake(const QString& name)
{
    return QStringLiteral(TESSARY_FAKE_HELPERS) + u'/' + name;
}

const JSEngineClient realHelper{QStringLiteral(TESSARY_JSENGINE_PATH)};

QList<Fields> numberedItems(int count)
{
    QList<Fields> items;
    for (int i = 1; i <= count; ++i)
        items.append({{u"i"_s, QString::number(i)}});
    return items;
}

JSBatchOutputLine answer(const QString& key, const QString& value)
{
    return {Fields{{key, value}}, std::nullopt, std::nullopt};
}

JSBatchOutputLine n(int number)
{
    return answer(u"n"_s, QString::number(number));
}

JSBatchOutputLine failed(const QString& error)
{
    return {std::nullopt, error, std::nullopt};
}

Lines repeated(const JSBatchOutputLine& line, int count)
{
    return Lines(count, line);
}

const QString invalidResult = u"The JavaScript engine returned an invalid result"_s;
const QString cancelled = u"Cancelled"_s;
const QString notEvaluated = u"Not evaluated because the script timed out on a previous file"_s;

QString stoppedUnexpectedly(int code)
{
    return u"The JavaScript engine stopped unexpectedly (exit code %1)"_s.arg(code);
}

QString timedOutWithin(const QString& duration)
{
    return u"The script didn't finish within %1. Check it for endless loops."_s.arg(duration);
}

// A client of a paced fake helper, whose time limit runs on the clock that the helper sets.
JSEngineClient pacedClient(const QString& helper, const QString& clockFile)
{
    JSEngineClient client(fake(helper));
    client.clock = [clockFile] {
        QFile file(clockFile);
        return std::chrono::nanoseconds(file.open(QIODevice::ReadOnly) ? file.readAll().toLongLong() : 0);
    };
    return client;
}

// As the application does: the blocking call runs on a worker thread.
Lines evaluateOnWorker(const JSEngineClient& client, const QString& script, const QList<Fields>& items,
                       std::chrono::milliseconds timeout, std::stop_token stop = {})
{
    return std::async(std::launch::async, [&] { return client.evaluate(script, items, {}, timeout, stop); })
        .get();
}

// Children of this process, running or not yet reaped.
int childProcessCount()
{
    int count = 0;
    const QString self = QString::number(::getpid());
    for (const QString& entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        QFile stat(u"/proc/%1/stat"_s.arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll(); // pid (name) state ppid …
        const QList<QByteArray> afterName = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (afterName.size() > 1 && afterName[1] == self.toLatin1())
            ++count;
    }
    return count;
}

} // namespace

class tst_JSEngineClient : public QObject {
    Q_OBJECT

    QTemporaryDir scratch;
    QString marker;
    QString clock; // the paced helpers' time

    JSEngineClient paced(const QString& helper) const { return pacedClient(helper, clock); }

    void expectLog(const QString& pattern)
    {
        if (!pattern.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(pattern));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(useEnglishCatalogue());
        QVERIFY(scratch.isValid());
        marker = scratch.filePath(u"started"_s);
        qputenv("TESSARY_TEST_MARKER", QFile::encodeName(marker)); // fakes touch it to say where they are
        clock = scratch.filePath(u"clock"_s);
        qputenv("TESSARY_TEST_CLOCK", QFile::encodeName(clock));
        qputenv("TESSARY_PACED_HELPER", TESSARY_PACED_HELPER);
    }

    void init()
    {
        QFile::remove(marker);
        QFile::remove(clock);
        QTest::failOnWarning(QRegularExpression(u".*"_s)); // every warning a test expects, it names
    }

    // Each row: a fake helper, the number of items, the lines expected, and the warning it must log.
    void unansweredItemsAreFilledIn_data()
    {
        QTest::addColumn<QString>("helper");
        QTest::addColumn<int>("itemCount");
        QTest::addColumn<Lines>("expected");
        QTest::addColumn<QString>("warning");

        QTest::newRow("the helper's error text, trimmed")
            << u"answer-two-then-fail.sh"_s << 5
            << (Lines{n(1), n(2)} + repeated(failed(u"engine broke"_s), 3))
            << u"^JavaScript engine exited with status 1: engine broke$"_s;
        QTest::newRow("exit code when there is no text")
            << u"answer-two-then-exit.sh"_s << 5
            << (Lines{n(1), n(2)} + repeated(failed(stoppedUnexpectedly(1)), 3))
            << u"^JavaScript engine exited with status 1: $"_s;
        QTest::newRow("failing exit after every answer is ignored")
            << u"answer-all-then-fail.sh"_s << 3 << Lines{n(1), n(2), n(3)} << QString();
        QTest::newRow("an empty line is an invalid answer")
            << u"empty-line.sh"_s << 3 << Lines{n(1), failed(invalidResult), n(3)} << QString();
        QTest::newRow("lines beyond the items are ignored")
            << u"extra-lines.sh"_s << 3 << Lines{n(1), n(2), n(3)} << QString();
        QTest::newRow("a final fragment is no answer")
            << u"fragment.sh"_s << 2 << Lines{n(1), failed(stoppedUnexpectedly(0))}
            << u"^JavaScript engine exited with status 0: $"_s;
        QTest::newRow("invalid UTF-8 and NUL bytes")
            << u"invalid-bytes.sh"_s << 3
            << Lines{failed(invalidResult), failed(invalidResult), failed(u"fine"_s)} << QString();
        QTest::newRow("answers in one-byte chunks")
            << u"one-byte-chunks.sh"_s << 2 << Lines{answer(u"name"_s, u"café"_s), failed(u"no"_s)}
            << QString();
        QTest::newRow("ended by a signal: its number and name")
            << u"killed-by-signal.sh"_s << 3
            << (Lines{n(1)} +
                repeated(failed(u"The JavaScript engine was stopped by signal 9 (Killed)"_s), 2))
            << u"^JavaScript engine stopped by signal 9: $"_s;
        QTest::newRow("invalid UTF-8 in the error text is replaced")
            << u"invalid-error-text.sh"_s << 2 << repeated(failed(u"bad \uFFFD text"_s), 2)
            << u"^JavaScript engine exited with status 1: bad \uFFFD text$"_s;
        QTest::newRow("standard error is capped and drained")
            << u"flood-error.sh"_s << 2 << repeated(failed(QString(65'536, u'x')), 2)
            << u"^JavaScript engine exited with status 2: x+$"_s;
    }
    void unansweredItemsAreFilledIn()
    {
        QFETCH(QString, helper);
        QFETCH(int, itemCount);
        QFETCH(Lines, expected);
        QFETCH(QString, warning);

        expectLog(warning);
        QCOMPARE(evaluateOnWorker(JSEngineClient(fake(helper)), QString(), numberedItems(itemCount), 60s),
                 expected);
    }

    void helperThatCannotStart_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("errorNumber");

        QFile plainFile(scratch.filePath(u"not-executable"_s));
        QVERIFY(plainFile.open(QIODevice::WriteOnly));
        plainFile.write("#!/bin/sh\n");
        QTest::newRow("missing") << scratch.filePath(u"missing"_s) << ENOENT;
        QTest::newRow("a folder") << scratch.path() << EACCES;
        QTest::newRow("not executable") << plainFile.fileName() << EACCES;
    }
    void helperThatCannotStart()
    {
        QFETCH(QString, path);
        QFETCH(int, errorNumber);

        const QString description = QString::fromLocal8Bit(std::strerror(errorNumber));
        expectLog(u"^Failed to launch the JavaScript engine: "_s + QRegularExpression::escape(description) +
                  u'$');
        QCOMPARE(evaluateOnWorker(JSEngineClient(path), QString(), numberedItems(2), 5s),
                 repeated(failed(u"Failed to start the JavaScript engine: "_s + description), 2));
    }

    void emptyBatchStartsNothing()
    {
        QCOMPARE(evaluateOnWorker(JSEngineClient(fake(u"mark-start.sh"_s)), u"x"_s, {}, 5s), Lines{});
        QVERIFY(!QFile::exists(marker));
    }

    void timeOutStopsTheHelper()
    {
        QTest::ignoreMessage(QtInfoMsg, "Script timed out on item 3 of 5");
        QCOMPARE(evaluateOnWorker(paced(u"paced-hang-after-two.sh"_s), QString(), numberedItems(5), 1s),
                 (Lines{n(1), n(2), failed(timedOutWithin(u"1 second"_s)), failed(notEvaluated),
                        failed(notEvaluated)}));
    }

    void helperIgnoringTerminationIsKilled()
    {
        QTest::ignoreMessage(QtInfoMsg, "Script timed out on item 2 of 3");
        QCOMPARE(evaluateOnWorker(paced(u"paced-ignore-termination.sh"_s), QString(), numberedItems(3), 1s),
                 (Lines{n(1), failed(timedOutWithin(u"1 second"_s)), failed(notEvaluated)}));
    }

    void limitIsPerItemNotPerBatch()
    {
        // Six answers 0.6 seconds apart take 3.6 seconds in all, beyond the one-second limit.
        QCOMPARE(evaluateOnWorker(paced(u"paced-slow-items.sh"_s), QString(), numberedItems(6), 1s),
                 (Lines{n(1), n(2), n(3), n(4), n(5), n(6)}));
    }

    void defaultLimitEndToEnd()
    {
        QTest::ignoreMessage(QtInfoMsg, "Script timed out on item 3 of 5");
        const Lines lines = evaluateOnWorker(realHelper, u"if (fields.i === '3') for (;;) {}"_s,
                                             numberedItems(5), JSEngineClient::defaultTimeout);
        QCOMPARE(lines,
                 (Lines{answer(u"i"_s, u"1"_s), answer(u"i"_s, u"2"_s),
                        failed(timedOutWithin(u"5 seconds"_s)), failed(notEvaluated), failed(notEvaluated)}));
    }

    // The real engine, its memory bounded far below the default so that the test stays quick.
    void memoryLimitStopsTheItemThatExceedsIt()
    {
        QTest::ignoreMessage(QtInfoMsg, "Script used too much memory on item 2 of 4");
        const JSEngineClient bounded(QStringLiteral(TESSARY_JSENGINE_PATH), qint64(300) << 20);
        const Lines lines = evaluateOnWorker(
            bounded,
            u"if (fields.i === '2') { const kept = []; for (;;) kept.push(new Array(1e5).fill(1.5)); }"_s,
            numberedItems(4), 60s);
        const QString notEvaluatedForMemory =
            u"Not evaluated because the script used more memory than allowed on a previous file"_s;
        QCOMPARE(lines, (Lines{answer(u"i"_s, u"1"_s), failed(u"The script used more memory than allowed."_s),
                               failed(notEvaluatedForMemory), failed(notEvaluatedForMemory)}));
    }

    void cancellingFromAnotherThread()
    {
        std::stop_source stop;
        auto result = std::async(std::launch::async, [&] {
            return JSEngineClient(fake(u"hang-after-one.sh"_s))
                .evaluate(QString(), numberedItems(4), {}, 60s, stop.get_token());
        });
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 60'000); // item 1 is answered, item 2 runs
        stop.request_stop();
        QCOMPARE(result.get(), Lines{n(1)} + repeated(failed(cancelled), 3));
    }

    void cancellationWinsOverTimeOut()
    {
        // The helper says when it was asked to stop for the limit; the stop request comes after that.
        std::stop_source stop;
        auto result = std::async(std::launch::async, [&] {
            return paced(u"paced-ignore-termination.sh"_s)
                .evaluate(QString(), numberedItems(3), {}, 1s, stop.get_token());
        });
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 60'000);
        stop.request_stop();
        QCOMPARE(result.get(), Lines{n(1)} + repeated(failed(cancelled), 2));
    }

    void alreadyCancelledStartsNothing()
    {
        std::stop_source stop;
        stop.request_stop();
        QCOMPARE(evaluateOnWorker(JSEngineClient(fake(u"mark-start.sh"_s)), QString(), numberedItems(2), 5s,
                                  stop.get_token()),
                 repeated(failed(cancelled), 2));
        QVERIFY(!QFile::exists(marker));
    }

    void everyChildIsReaped()
    {
        for (int call = 0; call < 50; ++call) {
            QFile::remove(marker);
            std::stop_source stop;
            // Half the calls are stopped at once, the others while the helper hangs after its answer.
            std::jthread canceller([&] {
                while (call % 2 && !QFile::exists(marker))
                    std::this_thread::yield();
                stop.request_stop();
            });
            evaluateOnWorker(JSEngineClient(fake(u"hang-after-one.sh"_s)), QString(), numberedItems(2), 60s,
                             stop.get_token());
        }
        for (int call = 0; call < 50; ++call) {
            QFile::remove(clock);
            QTest::ignoreMessage(QtInfoMsg, "Script timed out on item 2 of 2");
            evaluateOnWorker(paced(u"paced-hang-after-one.sh"_s), QString(), numberedItems(2), 1s);
        }
        QCOMPARE(childProcessCount(), 0);
    }

    void helperExitingBeforeReadingDoesNotSignalUs()
    {
        // 16 MB do not fit in the pipe, so the writer meets the closed reading end.
        const QList<Fields> items(16, Fields{{u"v"_s, QString(1 << 20, u'v')}});
        expectLog(u"^JavaScript engine exited with status 3: $"_s);
        QCOMPARE(evaluateOnWorker(JSEngineClient(fake(u"exit-at-once.sh"_s)), QString(), items, 60s),
                 repeated(failed(stoppedUnexpectedly(3)), 16));
    }

    void realHelperRunsTheBatch()
    {
        const Lines lines = evaluateOnWorker(
            realHelper,
            u"context.n = Number(context.n || 0) + 1; fields.n = context.n; console.log(fields.i)"_s,
            numberedItems(3), JSEngineClient::defaultTimeout);
        QCOMPARE(lines,
                 (Lines{{Fields{{u"i"_s, u"1"_s}, {u"n"_s, u"1"_s}}, std::nullopt, QStringList{u"1"_s}},
                        {Fields{{u"i"_s, u"2"_s}, {u"n"_s, u"2"_s}}, std::nullopt, QStringList{u"2"_s}},
                        {Fields{{u"i"_s, u"3"_s}, {u"n"_s, u"3"_s}}, std::nullopt, QStringList{u"3"_s}}}));
    }

    void concurrentCallsKeepTheirOwnResults()
    {
        auto first = std::async(std::launch::async, [] {
            return realHelper.evaluate(u"fields.who = 'first'"_s, numberedItems(50), {}, 60s);
        });
        auto second = std::async(std::launch::async, [] {
            return realHelper.evaluate(u"fields.who = 'second'"_s, numberedItems(60), {}, 60s);
        });
        const Lines firstLines = first.get();
        const Lines secondLines = second.get();
        QCOMPARE(firstLines.size(), 50);
        QCOMPARE(secondLines.size(), 60);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(firstLines[i].fields->value(u"who"_s), u"first"_s);
        for (int i = 0; i < 60; ++i)
            QCOMPARE(secondLines[i].fields->value(u"i"_s), QString::number(i + 1));
    }

    void largeRequestAndAnswers()
    {
        // 200 items of 1 MiB each: a 200 MB request, answered with the same 200 MB.
        const QList<Fields> items(200, Fields{{u"v"_s, QString(1 << 20, u'v')}});
        const Lines lines = evaluateOnWorker(realHelper, u"fields.n = fields.v.length"_s, items, 60s);
        QCOMPARE(lines.size(), 200);
        for (const JSBatchOutputLine& line : lines)
            QCOMPARE(line, (JSBatchOutputLine{
                               Fields{{u"v"_s, QString(1 << 20, u'v')}, {u"n"_s, u"1048576"_s}}, {}, {}}));
    }
};

QTEST_GUILESS_MAIN(tst_JSEngineClient)
#include "tst_JSEngineClient.moc"
