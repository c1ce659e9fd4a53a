#pragma once

#include "planning/PlanInput.h"
#include "planning/PlanOutput.h"
#include "planning/RenameRules.h"
#include "planning/ScriptMemo.h"
#include "script/JSEngineClient.h"

#include <QList>
#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>

// Turns a list of files and the user's rules into one result per file, numbered in the rules' order (see
// FileOrder), which the script also sees them in: its fields, its new name, its script logs, a warning, and,
// where it must not be renamed, why. Changes nothing on disk.
namespace RenamePlanner {

// One file's result and which input it belongs to.
struct PlannedFile {
    qsizetype input; // position in the planned inputs
    PlanOutput output;
};

// The results in the planner's order: the file numbered `row` n is at position n - 1.
using Plan = QList<PlannedFile>;

// Results handed on while the script runs, on the planning thread: the files of rows `firstRow` on, in
// plan order, each named by the pattern as if no other file could take its name.
using Provisional = std::function<void(qsizetype firstRow, Plan files)>;

// Blocks while the script runs: call it from a worker thread. Nothing when `stop` was requested at one of
// the two checkpoints (after the regex stage, after the script stage); a cancelled plan has no results.
// With a memo, the script runs only when its script or items differ from the memo's, and a finished run
// is kept in it.
std::optional<Plan> plan(const QList<PlanInput>& inputs, const RenameRules& rules,
                         const JSEngineClient& engine, std::chrono::milliseconds scriptTimeout,
                         std::stop_token stop = {}, ScriptMemo* memo = nullptr,
                         const Provisional& provisional = {});

} // namespace RenamePlanner
