#include "StandardStreams.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace StandardStreams {
namespace {

QString describeErrno(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

ReadResult readToEnd(int descriptor)
{
    constexpr qsizetype chunk = 1 << 16;
    ReadResult result;
    qsizetype used = 0;
    for (;;) {
        if (result.data.size() - used < chunk)
            result.data.resize(std::max(used + chunk, result.data.size() * 2));
        const ssize_t count = ::read(descriptor, result.data.data() + used, chunk);
        if (count > 0) {
            used += count;
        } else if (count == 0) {
            break;
        } else if (errno != EINTR) {
            result.error = describeErrno(errno);
            break;
        }
    }
    result.data.truncate(used);
    return result;
}

std::optional<QString> writeAll(int descriptor, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t count = ::write(descriptor, bytes.data(), size_t(bytes.size()));
        if (count >= 0)
            bytes = bytes.sliced(count);
        else if (errno != EINTR)
            return describeErrno(errno);
    }
    return std::nullopt;
}

} // namespace StandardStreams
