#pragma once

#include "RenameOperation.h"

#include <QList>
#include <QString>

// The moves of the last rename, kept on disk so that a later `undo`, in any shell, can reverse them.
namespace UndoRecord {

QString location(); // $XDG_STATE_HOME/org.tessary.Tessary/cli-last-rename

QList<RenameOperation> load();
// Replaces the record; an empty list removes it. False when it could not be written.
bool save(const QList<RenameOperation>& operations);

} // namespace UndoRecord
