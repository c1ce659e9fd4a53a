#pragma once

#include "FileMover.h"
#include "RenameOperation.h"

#include <QHash>
#include <QList>
#include <QString>

// Carries out a list of moves so that files of the list may take each other's names (swaps, rotations,
// chains) without ever overwriting anything. Every operation is attempted; none stops the call.
namespace FileRenamer {

using Failures = QHash<QString, QString>; // operation id to what went wrong; empty when every move succeeded

// Which operations park under a temporary name first: those whose destination another listed file holds
// now. Case- or composition-only renames move directly.
QList<bool> parksFirst(const QList<RenameOperation>& operations);

// Blocks while it moves: call it from a worker thread. `temporaryNames[i]` is the name operation i parks
// under, empty for one that moves directly: chosen ahead by parksFirst, so that a journal can record them.
// Without them, fresh names are chosen here.
Failures perform(const QList<RenameOperation>& operations);
Failures perform(const QList<RenameOperation>& operations, FileMover& mover);
Failures perform(const QList<RenameOperation>& operations, const QStringList& temporaryNames,
                 FileMover& mover);

// The name an entry has between its two moves: ".tessary-" and a new upper-case UUID.
QString newTemporaryName();

} // namespace FileRenamer
