#pragma once

#include "script/JSEngineClient.h"
#include "planning/PlanInput.h"
#include "planning/PlanOutput.h"
#include "planning/RenameRules.h"

#include <QHash>
#include <QList>
#include <chrono>
#include <optional>
#include <stop_token>

// Turns a list of files and the user's rules into one result per file: its fields, its new name, its
// script logs and, where it must not be renamed, why. Changes nothing on disk.
namespace RenamePlanner {

using Plan = QHash<QString, PlanOutput>; // keyed by PlanInput::id

// Blocks while the script runs: call it from a worker thread. Nothing when `stop` was requested at one of
// the two checkpoints (after the regex stage, after the script stage); a cancelled plan has no results.
std::optional<Plan> plan(const QList<PlanInput>& inputs, const RenameRules& rules,
                         const JSEngineClient& engine, std::chrono::milliseconds scriptTimeout,
                         std::stop_token stop = {});

// The positions of `inputs` in the order the planner numbers them: natural name order, or its reverse;
// files of the same name in different folders by path, ascending.
QList<qsizetype> order(const QList<PlanInput>& inputs, bool reversed);

} // namespace RenamePlanner
