#include "platform/FileDates.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

QDateTime instant(const statx_timestamp& timestamp)
{
    return QDateTime::fromMSecsSinceEpoch(timestamp.tv_sec * 1000 + timestamp.tv_nsec / 1'000'000, Qt::UTC);
}

} // namespace

std::optional<FileDates> FileDates::read(const QString& path, QString* error)
{
    struct statx status {};
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), 0, STATX_TYPE | STATX_BTIME | STATX_MTIME,
                &status) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    FileDates dates;
    dates.regularFile = (status.stx_mask & STATX_TYPE) && S_ISREG(status.stx_mode);
    if (status.stx_mask & STATX_BTIME)
        dates.created = instant(status.stx_btime);
    if (status.stx_mask & STATX_MTIME)
        dates.modified = instant(status.stx_mtime);
    return dates;
}
