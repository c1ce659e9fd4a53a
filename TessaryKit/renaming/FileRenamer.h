#pragma once

#include "renaming/FileMover.h"
#include "renaming/RenameOperation.h"

#include <QHash>
#include <QList>
#include <QString>

// Carries out a list of moves so that files of the list may take each other's names (swaps, rotations,
// chains) without ever overwriting anything. Operations that depend on each other form a group, and a
// group is all-or-nothing: when one of its moves fails, the moves already made in it are reversed.
// Independent groups still proceed.
namespace FileRenamer {

using Failures = QHash<QString, QString>; // operation id to what went wrong; empty when every move succeeded

struct Result {
    Failures failures; // one entry for every operation whose file is not at its destination
    // The files that could be brought neither to their destination nor back to their source: id to the
    // temporary path they are under now. Each is named in its failure too.
    QHash<QString, QString> stranded;
};

// Blocks while it moves: call it from a worker thread. `temporaryNames[i]` is the name operation i parks
// under, empty for one that moves directly: chosen ahead from layoutOf, so that a journal can record them.
// Without them, fresh names are chosen here.
Result perform(const QList<RenameOperation>& operations);
Result perform(const QList<RenameOperation>& operations, FileMover& mover);
Result perform(const QList<RenameOperation>& operations, const QStringList& temporaryNames, FileMover& mover);

// The groups of operations that depend on each other, as lists of indices in the given order.
using Groups = QList<QList<qsizetype>>;

struct Layout {
    Groups groups;
    // Which operations park under a temporary name first: those whose destination another listed file
    // holds now. Case- or composition-only renames move directly.
    QList<bool> parks;
};
Layout layoutOf(const QList<RenameOperation>& operations);

// With `groups`, layoutOf(operations).groups, made ahead.
Result perform(const QList<RenameOperation>& operations, const QStringList& temporaryNames,
               const Groups& groups, FileMover& mover);

// The failure of a file that kept its name because the move of `failedSource`, in its group, failed.
QString keptNameMessage(const QString& source, const QString& failedSource);

// The name an entry has between its two moves: ".tessary-" and a new upper-case UUID.
QString newTemporaryName();
bool isTemporaryName(const QString& name);

} // namespace FileRenamer
