#pragma once

#include <QString>

// The sentence a user reads when a move failed: which file, its intended name, and why, in plain words.
// `reason` is what FileMover::move returned; `source` is where the entry was asked to move from.
QString moveFailureMessage(const QString& name, const QString& newName, int reason, const QString& source);
