#include "script/Watchdog.h"

#include <QTest>

using namespace std::chrono_literals;

// The watchdog's rules on a clock the test moves by hand.
class tst_Watchdog : public QObject {
    Q_OBJECT

    std::chrono::nanoseconds now = 1000s;
    Watchdog::Clock clock()
    {
        return [this] { return now; };
    }

private Q_SLOTS:
    void init() { now = 1000s; }

    void firstLimitCountsFromCreation()
    {
        Watchdog watchdog(5s, clock());
        now += 4999ms;
        QCOMPARE(watchdog.remaining(), 1ms);
        QVERIFY(!watchdog.checkDeadline());
        now += 1ms;
        QCOMPARE(watchdog.remaining(), 0s);
        QVERIFY(watchdog.checkDeadline());
        QVERIFY(watchdog.timedOut());
    }

    void progressMovesTheDeadline()
    {
        Watchdog watchdog(5s, clock());
        for (int item = 0; item < 10; ++item) { // ten items of 3 seconds: 30 seconds, no time-out
            now += 3s;
            QVERIFY(!watchdog.checkDeadline());
            watchdog.recordProgress();
            QCOMPARE(watchdog.remaining(), 5s);
        }
        QVERIFY(!watchdog.timedOut());
    }

    void timedOutIsNeverReset()
    {
        Watchdog watchdog(1s, clock());
        now += 2s;
        QVERIFY(watchdog.checkDeadline());
        watchdog.recordProgress();
        QVERIFY(watchdog.timedOut());
        QVERIFY(watchdog.checkDeadline());
    }

    void remainingNeverGoesBelowZero()
    {
        Watchdog watchdog(1s, clock());
        now += 1h;
        QCOMPARE(watchdog.remaining(), 0s);
    }
};

QTEST_APPLESS_MAIN(tst_Watchdog)
#include "tst_Watchdog.moc"
