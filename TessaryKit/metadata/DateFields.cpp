#include "metadata/DateFields.h"

#include <ctime>

std::pair<QString, QString> formatDateParts(const QDateTime& instant)
{
    // The C library's conversion: Qt's own local-time conversion costs microseconds per call, and every
    // file has two dates.
    const time_t seconds = time_t(instant.toSecsSinceEpoch());
    tm local{};
    localtime_r(&seconds, &local);
    return {QString::asprintf("%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
            QString::asprintf("%02d-%02d-%02d", local.tm_hour, local.tm_min, local.tm_sec)};
}

void addDateFields(const QDateTime& instant, const QString& prefix, Fields& fields)
{
    const auto [date, time] = formatDateParts(instant);
    fields.insert(prefix + QLatin1String("date"), date);
    fields.insert(prefix + QLatin1String("time"), time);
}
