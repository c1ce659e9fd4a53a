#pragma once

#include <QString>

// A whole operation that failed or partly failed, as the window shows it in an alert.
struct OperationProblem {
    QString title;
    QString message;

    friend bool operator==(const OperationProblem&, const OperationProblem&) = default;
};
