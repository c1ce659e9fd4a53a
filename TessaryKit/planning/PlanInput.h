#pragma once

#include "Fields.h"

#include <QString>

// One file of a plan computation; the planner only reads it.
struct PlanInput {
    QString id;        // the file's identity in the file list, unique within one computation
    QString path;      // absolute path of the file before the rename
    Fields baseFields; // from the metadata extractor, copied into the output unchanged
};
