#pragma once

#include <QString>

// One move of a file system entry.
struct RenameOperation {
    QString id;          // the file's identity, as in PlanInput; key of the failure map
    QString source;      // absolute path now
    QString destination; // absolute path after the move

    // Paths compare exactly, as locations; the id as text, under canonical equivalence.
    friend bool operator==(const RenameOperation& a, const RenameOperation& b);
};
