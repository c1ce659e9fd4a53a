#pragma once

#include "planning/RenameSession.h"

#include <QMutex>
#include <memory>
#include <utility>
#include <vector>

// Where a running plan leaves the results the script has answered so far, for the main thread to show
// while the rest is computed. Shared by the plan's worker and the model, so that either may go first.
class ProvisionalInbox {
public:
    struct Part {
        qsizetype firstRow;
        RenamePlanner::Plan files;
    };

    explicit ProvisionalInbox(std::shared_ptr<const RenameSession::PlanJob> job) : job(std::move(job)) {}

    const std::shared_ptr<const RenameSession::PlanJob> job;

    void put(qsizetype firstRow, RenamePlanner::Plan files)
    {
        const QMutexLocker locker(&lock);
        parts.push_back({firstRow, std::move(files)});
    }

    std::vector<Part> take()
    {
        const QMutexLocker locker(&lock);
        return std::exchange(parts, {});
    }

private:
    QMutex lock;
    std::vector<Part> parts;
};
