#pragma once

#include "Fields.h"

#include <QString>
#include <QStringList>
#include <optional>

// The planner's result for one file.
struct PlanOutput {
    Fields fields;                  // base fields, `row`, the regex's named groups, what the script set
    QString resultName;             // the complete new name; the current name when an early stage failed
    std::optional<QString> error;   // why the file must not be renamed
    QStringList logs;               // the script's console lines for this file
    std::optional<QString> warning; // what may not be meant, such as a placeholder that names no field

    // Texts compare under canonical equivalence; log lines in order.
    friend bool operator==(const PlanOutput& a, const PlanOutput& b);
};
