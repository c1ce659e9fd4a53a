#pragma once

#include "Fields.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// The answer for one item. The engine writes exactly one of `fields` and `error`; lines the client
// makes up for unanswered items carry only `error`.
struct JSBatchOutputLine {
    std::optional<Fields> fields;
    std::optional<QString> error;
    std::optional<QStringList> logs;

    friend bool operator==(const JSBatchOutputLine&, const JSBatchOutputLine&) = default;

    // One compact JSON object without line breaks; absent members are left out, never null.
    QByteArray toJsonLine() const;

    // Lenient: every key optional, null means absent, other keys ignored; a value of the wrong type
    // makes the whole line invalid.
    static std::optional<JSBatchOutputLine> fromJsonLine(QByteArrayView line);
};
