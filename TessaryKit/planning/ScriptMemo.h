#pragma once

#include "Fields.h"
#include "JSBatchOutputLine.h"

#include <QList>
#include <QString>
#include <mutex>
#include <optional>

// The script stage's last inputs and answers. An edit that leaves them equal, such as one of the pattern
// or of the numbering option alone, shows its names without running the script again. Shared between the
// plans of one list, which may run on different threads.
class ScriptMemo {
public:
    // The answers kept for exactly this script and these items, in this order.
    std::optional<QList<JSBatchOutputLine>> answersFor(const QString& script,
                                                       const QList<Fields>& items) const;
    void keep(QString script, QList<Fields> items, QList<JSBatchOutputLine> answers);

private:
    mutable std::mutex mutex;
    std::optional<QString> keptScript;
    QList<Fields> keptItems;
    QList<JSBatchOutputLine> keptAnswers;
};
