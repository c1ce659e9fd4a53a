#pragma once

#include "platform/FileDescriptor.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>
#include <vector>

// Held by a rename, an undo or a recovery while it runs: an exclusive lock on the journal and on every
// folder it moves files in, so that two of them never work on the same files at once, whether they run in
// the window or in a terminal. Released on destruction.
class RenameLock {
public:
    static constexpr std::chrono::milliseconds defaultWait{3000};

    // Waits up to `wait` for the others to finish; nothing, with the sentence for the user in `error`,
    // when they do not.
    static std::optional<RenameLock> acquire(const QString& journalFolder, const QStringList& folders,
                                             QString* error, std::chrono::milliseconds wait = defaultWait);

private:
    RenameLock() = default;
    std::vector<FileDescriptor> held;
};
