#pragma once

#include "Fields.h"
#include "JSBatchOutputLine.h"
#include "script/Watchdog.h"

#include <QList>
#include <QString>
#include <chrono>
#include <functional>
#include <stop_token>

// Runs one batch of script evaluations in the helper program TessaryJSEngine and watches it: when no
// answer line arrives for the time limit, or the helper uses more memory than allowed, it is stopped and
// the item it was on is reported so. Whatever happens, the result holds exactly one line per item, in item
// order.
class JSEngineClient {
public:
    static constexpr std::chrono::milliseconds defaultTimeout{5000};

    // The helper next to the running program: <executable's folder>/../libexec/tessary/TessaryJSEngine.
    static QString bundledHelperPath();

    // The smaller of 2 GiB and half the machine's memory.
    static qint64 defaultMemoryLimit();

    explicit JSEngineClient(QString helperPath, qint64 memoryLimit = defaultMemoryLimit())
        : helperPath(std::move(helperPath)), memoryLimit(memoryLimit)
    {
    }

    // Called on the evaluating thread as answers come in: the answers so far, of which those from
    // `firstNew` on are new. It may move the contents out of the new answers; evaluate then returns
    // what it left in their places.
    using AnswersArrived = std::function<void(QList<JSBatchOutputLine>& answers, qsizetype firstNew)>;

    // Blocks until the batch is done: call it from a worker thread, never from the main thread.
    // A stop request ends the wait at once and stops the helper; unanswered items then read "Cancelled".
    // Never throws.
    QList<JSBatchOutputLine> evaluate(const QString& script, const QList<Fields>& items,
                                      const Fields& context, std::chrono::milliseconds timeout,
                                      std::stop_token stop = {}, const AnswersArrived& arrived = {}) const;

    QString helperPath;
    qint64 memoryLimit; // in bytes of RAM and swap; a helper that uses more is stopped
    Watchdog::Clock clock = Watchdog::continuousNow; // what the time limit is measured on
};
