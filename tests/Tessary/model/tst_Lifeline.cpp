#include "model/Lifeline.h"

#include <QException>
#include <QFutureInterface>
#include <QTest>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>

using namespace Qt::StringLiterals;

namespace {

// Knows when it is gone without being reached: a continuation that runs after its destructor counts as late.
class Owner : public QObject {
public:
    ~Owner() override { *gone = true; }

    Lifeline lifeline{this};
    std::shared_ptr<std::atomic<bool>> gone = std::make_shared<std::atomic<bool>>(false);
};

enum class Ending { Cancelled, Failed };

QFuture<QString> endedWithout(Ending ending)
{
    if (ending == Ending::Failed)
        return QtConcurrent::run([]() -> QString { throw QException(); });
    QFutureInterface<QString> cancelled;
    cancelled.reportStarted();
    cancelled.cancel();
    cancelled.reportFinished();
    return cancelled.future();
}

} // namespace

class tst_Lifeline : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aResultReachesItsOwnerLaterOnItsThread()
    {
        Owner owner;
        QThread* calledOn = nullptr;
        QStringList received;
        owner.lifeline.then(QtFuture::makeReadyFuture(u"ready"_s), [&](QString result) {
            calledOn = QThread::currentThread();
            received.append(result);
        });
        QVERIFY(received.isEmpty()); // even a finished future answers from the event loop, not from then()
        owner.lifeline.then(QtConcurrent::run([] { return u"computed"_s; }),
                            [&](QString result) { received.append(result); });
        QTRY_COMPARE(received.size(), 2);
        QCOMPARE(received.first(), u"ready"_s);
        QCOMPARE(received.last(), u"computed"_s);
        QCOMPARE(calledOn, owner.thread());
    }

    void aFutureWithoutAResultCallsNothing_data()
    {
        QTest::addColumn<Ending>("ending");
        QTest::newRow("cancelled") << Ending::Cancelled;
        QTest::newRow("failed") << Ending::Failed;
    }

    void aFutureWithoutAResultCallsNothing()
    {
        QFETCH(Ending, ending);
        Owner owner;
        bool called = false;
        QFuture<QString> future = endedWithout(ending);
        owner.lifeline.then(future, [&](const QString&) { called = true; });
        QThreadPool::globalInstance()->waitForDone(); // the worker and its continuation are through
        bool markerArrived = false;
        owner.lifeline.then(QtFuture::makeReadyFuture(u"marker"_s),
                            [&](const QString&) { markerArrived = true; });
        QTRY_VERIFY(markerArrived); // anything queued before the marker has run by now
        QVERIFY(!called);
    }

    // Owners destroyed while their workers finish, at varying moments: a call queued for a destroyed
    // owner would crash the event loop or count as late.
    void noResultReachesADestroyedOwner()
    {
        std::atomic<int> late = 0;
        for (int round = 0; round < 20'000; ++round) {
            auto owner = std::make_unique<Owner>();
            auto go = std::make_shared<std::atomic<bool>>(false);
            owner->lifeline.then(QtConcurrent::run([go, round] {
                                     while (!*go) {
                                     }
                                     return round;
                                 }),
                                 [&late, gone = owner->gone](int) {
                                     if (*gone)
                                         ++late;
                                 });
            *go = true;
            for (int spin = 0; spin < round % 4'000; ++spin)
                (void)go->load();
            owner.reset();
            QCoreApplication::processEvents();
        }
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(late.load(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_Lifeline)
#include "tst_Lifeline.moc"
