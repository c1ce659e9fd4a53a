#include "planning/ScriptMemo.h"

std::optional<QList<JSBatchOutputLine>> ScriptMemo::answersFor(const QString& script,
                                                               const QList<Fields>& items) const
{
    const std::scoped_lock lock(mutex);
    if (keptScript != script || keptItems != items)
        return std::nullopt;
    return keptAnswers;
}

void ScriptMemo::keep(QString script, QList<Fields> items, QList<JSBatchOutputLine> answers)
{
    const std::scoped_lock lock(mutex);
    keptScript = std::move(script);
    keptItems = std::move(items);
    keptAnswers = std::move(answers);
}
