#pragma once

#include "Fields.h"

#include <QDateTime>
#include <QString>
#include <utility>

// The date and time texts of every field group: Gregorian calendar, local time, "2024-03-07" and
// "09-05-00" (hyphens, 24-hour clock, fractions of a second dropped).
std::pair<QString, QString> formatDateParts(const QDateTime& instant);

// Writes prefix + "date" and prefix + "time".
void addDateFields(const QDateTime& instant, const QString& prefix, Fields& fields);
