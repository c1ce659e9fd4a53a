#pragma once

#include <QFuture>
#include <QMutex>
#include <QObject>
#include <memory>
#include <utility>

// A worker's way back to the object that started it: the result is handed to that object's thread, or
// dropped once the object is gone. Qt 6.4's QFuture::then(context, …) checks the context on the worker
// while the context may be in its destructor on its own thread; the call it then queues outlives the
// object and crashes the event loop that delivers it.
class Lifeline {
public:
    explicit Lifeline(QObject* owner) : line(std::make_shared<Line>(owner)) {}
    ~Lifeline() { line->cut(); } // a member: cut before ~QObject drops the calls already queued

    Lifeline(const Lifeline&) = delete;
    Lifeline& operator=(const Lifeline&) = delete;

    // Calls `continuation(result)` on the owner's thread, later, if `future` gives a result and the owner
    // is still there. A cancelled or failed future calls nothing.
    template <typename T, typename Continuation> void then(QFuture<T> future, Continuation continuation) const
    {
        (void)future.then([line = line, continuation = std::move(continuation)](QFuture<T> done) mutable {
            if (done.isCanceled() || done.resultCount() == 0)
                return;
            line->post([continuation = std::move(continuation), result = done.takeResult()]() mutable {
                continuation(std::move(result));
            });
        });
    }

private:
    class Line {
    public:
        explicit Line(QObject* owner) : owner(owner) {}

        // Queued under the lock, so the owner's destruction either sees the call and drops it, or comes
        // first and the call is never made.
        template <typename Call> void post(Call call)
        {
            const QMutexLocker locker(&lock);
            if (owner)
                QMetaObject::invokeMethod(owner, std::move(call), Qt::QueuedConnection);
        }

        void cut()
        {
            const QMutexLocker locker(&lock);
            owner = nullptr;
        }

    private:
        QMutex lock;
        QObject* owner;
    };

    std::shared_ptr<Line> line;
};
