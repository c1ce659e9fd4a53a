#pragma once

#include <QString>
#include <optional>

// A seccomp filter that leaves this process unable to open or change files, create sockets or start
// processes; threads may still start. Denied calls fail with EPERM rather than ending the process, so
// the engine sees an ordinary error. Irreversible, also for threads started later.
namespace SyscallFence {

// The reason when the filter could not be installed.
std::optional<QString> install();

} // namespace SyscallFence
