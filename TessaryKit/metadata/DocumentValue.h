#pragma once

#include "Fields.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <variant>

// A document property as its file stores it, before it becomes field text.
struct OtherDocumentValue {
    QString description; // the reader's generic text for a value of another type
};
using DocumentValue = std::variant<QString, QDateTime, QStringList, qint64, double, OtherDocumentValue>;

// Text as read; a date as the two fields key + "_date" and key + "_time" instead of key; a list joined
// with ", "; a number in its shortest form (3, 2.5); anything else as its description.
void addDocumentValue(const QString& key, const DocumentValue& value, Fields& fields);
