#include "SyscallFence.h"

#include <QScopeGuard>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <seccomp.h>

namespace SyscallFence {
namespace {

// Everything that reaches a file by name, a socket or a new program. Descriptors already open (the
// standard streams) keep working.
constexpr int deniedCalls[] = {
    SCMP_SYS(open),
    SCMP_SYS(openat),
    SCMP_SYS(openat2),
    SCMP_SYS(creat),
    SCMP_SYS(open_by_handle_at),
    SCMP_SYS(name_to_handle_at),
    SCMP_SYS(io_uring_setup),
    SCMP_SYS(socket),
    SCMP_SYS(socketpair),
    SCMP_SYS(connect),
    SCMP_SYS(bind),
    SCMP_SYS(execve),
    SCMP_SYS(execveat),
    SCMP_SYS(fork),
    SCMP_SYS(vfork),
    SCMP_SYS(ptrace),
    SCMP_SYS(process_vm_writev),
    SCMP_SYS(bpf),
    SCMP_SYS(unlink),
    SCMP_SYS(unlinkat),
    SCMP_SYS(rename),
    SCMP_SYS(renameat),
    SCMP_SYS(renameat2),
    SCMP_SYS(link),
    SCMP_SYS(linkat),
    SCMP_SYS(symlink),
    SCMP_SYS(symlinkat),
    SCMP_SYS(mkdir),
    SCMP_SYS(mkdirat),
    SCMP_SYS(rmdir),
    SCMP_SYS(mknod),
    SCMP_SYS(mknodat),
    SCMP_SYS(truncate),
    SCMP_SYS(chmod),
    SCMP_SYS(fchmodat),
    SCMP_SYS(chown),
    SCMP_SYS(lchown),
    SCMP_SYS(fchownat),
};

QString describe(int result)
{
    return QString::fromLocal8Bit(std::strerror(-result));
}

} // namespace

std::optional<QString> install()
{
    const scmp_filter_ctx filter = ::seccomp_init(SCMP_ACT_ALLOW);
    if (!filter)
        return QStringLiteral("Failed to set up the script engine's fence");
    const auto release = qScopeGuard([&] { ::seccomp_release(filter); });
    // The engine starts threads of its own before the fence goes up: the fence covers them too.
    int result = ::seccomp_attr_set(filter, SCMP_FLTATR_CTL_TSYNC, 1);
    for (const int call : deniedCalls)
        if (result == 0)
            result = ::seccomp_rule_add(filter, SCMP_ACT_ERRNO(EPERM), call, 0);
    // clone starts a thread or a process; only a thread shares this filter's view of the world.
    if (result == 0)
        result = ::seccomp_rule_add(filter, SCMP_ACT_ERRNO(EPERM), SCMP_SYS(clone), 1,
                                    SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, 0));
    // clone3 passes its flags in memory, out of a filter's sight: "not implemented" makes the C library
    // start threads with clone instead.
    if (result == 0)
        result = ::seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0);
    if (result == 0)
        result = ::seccomp_load(filter);
    if (result != 0)
        return QStringLiteral("Failed to fence in the script engine: %1").arg(describe(result));
    return std::nullopt;
}

} // namespace SyscallFence
