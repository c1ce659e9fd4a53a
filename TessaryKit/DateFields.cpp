#include "DateFields.h"

std::pair<QString, QString> formatDateParts(const QDateTime& instant)
{
    const QDateTime local = instant.toLocalTime();
    const QDate date = local.date();
    const QTime time = local.time();
    return {QString::asprintf("%04d-%02d-%02d", date.year(), date.month(), date.day()),
            QString::asprintf("%02d-%02d-%02d", time.hour(), time.minute(), time.second())};
}

void addDateFields(const QDateTime& instant, const QString& prefix, Fields& fields)
{
    const auto [date, time] = formatDateParts(instant);
    fields.insert(prefix + QLatin1String("date"), date);
    fields.insert(prefix + QLatin1String("time"), time);
}
