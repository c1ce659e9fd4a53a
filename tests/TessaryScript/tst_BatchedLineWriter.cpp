#include "BatchedLineWriter.h"
#include "StandardStreams.h"

#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe()
    {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) == 0) {
            read = ends[0];
            write = ends[1];
        }
    }
    ~Pipe()
    {
        closeRead();
        closeWrite();
    }
    void closeRead() { close(read); }
    void closeWrite() { close(write); }

private:
    static void close(int& end)
    {
        if (end >= 0)
            ::close(std::exchange(end, -1));
    }
};

// What arrives within `timeout` once `expected` bytes are due, without waiting for the writer to finish.
QByteArray readAtLeast(int descriptor, qsizetype expected, int timeoutMs)
{
    QByteArray arrived;
    pollfd readable{descriptor, POLLIN, 0};
    while (arrived.size() < expected && ::poll(&readable, 1, timeoutMs) == 1) {
        char chunk[4096];
        const ssize_t count = ::read(descriptor, chunk, sizeof chunk);
        if (count <= 0)
            break;
        arrived.append(chunk, count);
    }
    return arrived;
}

} // namespace

class tst_BatchedLineWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { std::signal(SIGPIPE, SIG_IGN); }

    void everyLineArrivesOnceAndInOrder_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("lineBytes");
        QTest::addColumn<int>("blockBytes");

        QTest::newRow("one line") << 1 << 10 << 1024;
        QTest::newRow("many short lines") << 20'000 << 40 << 1024;
        QTest::newRow("empty lines") << 500 << 0 << 64;
        QTest::newRow("lines larger than a block") << 50 << 5000 << 1024;
    }
    void everyLineArrivesOnceAndInOrder()
    {
        QFETCH(int, lines);
        QFETCH(int, lineBytes);
        QFETCH(int, blockBytes);
        Pipe pipe;
        QByteArray received;
        std::thread reader([&] { received = StandardStreams::readToEnd(pipe.read).data; });
        QByteArray sent;
        {
            BatchedLineWriter writer(pipe.write, 1ms, blockBytes);
            for (int i = 0; i < lines; ++i) {
                const QByteArray line = QByteArray::number(i).leftJustified(lineBytes, 'x');
                sent += line + '\n';
                QVERIFY(!writer.write(line));
            }
            QVERIFY(!writer.finish());
        }
        pipe.closeWrite();
        reader.join();
        QCOMPARE(received, sent);
    }

    // The first line leaves at once and a gathered one within its delay, with the writer still open: a
    // reader waiting for them would otherwise wait for the batch's end.
    void linesDoNotWaitForTheEnd_data()
    {
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<int>("delayMs");

        QTest::newRow("the first, however long the delay") << QByteArrayList{"first"} << 3'600'000;
        QTest::newRow("a gathered one") << QByteArrayList{"first", "second"} << 20;
        QTest::newRow("several gathered") << QByteArrayList{"first", "second", "third", "fourth"} << 20;
    }
    void linesDoNotWaitForTheEnd()
    {
        QFETCH(QByteArrayList, lines);
        QFETCH(int, delayMs);
        Pipe pipe;
        BatchedLineWriter writer(pipe.write, std::chrono::milliseconds(delayMs), 1 << 20);
        for (const QByteArray& line : lines)
            QVERIFY(!writer.write(line));
        const QByteArray expected = lines.join('\n') + '\n';
        QCOMPARE(readAtLeast(pipe.read, expected.size(), 10'000), expected);
    }

    void aFailedWriteIsReported_data()
    {
        QTest::addColumn<bool>("firstLineWritten");

        QTest::newRow("at the first line") << false;
        QTest::newRow("at a gathered line") << true;
    }
    void aFailedWriteIsReported()
    {
        QFETCH(bool, firstLineWritten);
        Pipe pipe;
        BatchedLineWriter writer(pipe.write, 1h, 1 << 20);
        if (firstLineWritten)
            QVERIFY(!writer.write("first"));
        pipe.closeRead();
        const std::optional<QString> atWrite = writer.write("lost");
        QCOMPARE(bool(atWrite), !firstLineWritten);
        const std::optional<QString> atFinish = writer.finish();
        QVERIFY(atFinish);
        QVERIFY(!atFinish->isEmpty());
        QVERIFY(writer.write("after"));
    }
};

QTEST_GUILESS_MAIN(tst_BatchedLineWriter)
#include "tst_BatchedLineWriter.moc"
