#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <algorithm>

// What every benchmark here needs: a robust middle of repeated runs, and memory figures of a process.
namespace BenchSupport {

inline double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A "kB" figure of /proc/<pid>/status, such as "VmHWM:" (the peak resident size); -1 when unreadable.
inline qint64 statusKiB(const char* key, const QString& pid = QStringLiteral("self"))
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace BenchSupport
