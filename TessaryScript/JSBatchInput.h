#pragma once

#include "Fields.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One batch request: the script, the context the first item starts with, and one field map per item.
struct JSBatchInput {
    QString script;
    Fields context;
    QList<Fields> items;

    friend bool operator==(const JSBatchInput&, const JSBatchInput&) = default;

    // One JSON object with all three keys, UTF-8.
    QByteArray toJson() const;

    // Strict: all three keys required, every value exactly of its declared type, other keys ignored.
    // On failure returns nothing and sets `error` to a description of what is wrong.
    static std::optional<JSBatchInput> fromJson(const QByteArray& json, QString* error = nullptr);
};
