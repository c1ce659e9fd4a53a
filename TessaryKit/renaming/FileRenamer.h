#pragma once

#include "renaming/FileMover.h"
#include "renaming/RenameOperation.h"

#include <QHash>
#include <QList>
#include <QString>
#include <span>
#include <vector>

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

// The groups of operations that depend on each other, as indices in the given order. They are held in one
// list: 100,000 groups of one file then take two allocations rather than 100,000.
class Groups {
public:
    using Group = std::span<const qsizetype>;

    Groups() = default;
    // From the group of each operation, the groups numbered in the order of their first operations.
    Groups(const std::vector<qsizetype>& groupOf, qsizetype groupCount);

    qsizetype size() const { return qsizetype(ends.size()); }
    Group operator[](qsizetype g) const
    {
        const size_t begin = g == 0 ? 0 : ends[size_t(g - 1)];
        return {members.data() + begin, ends[size_t(g)] - begin};
    }
    void append(Group group);

    struct Iterator {
        const Groups* groups;
        qsizetype g;
        Group operator*() const { return (*groups)[g]; }
        Iterator& operator++() { return ++g, *this; }
        bool operator==(const Iterator&) const = default;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

private:
    std::vector<qsizetype> members;
    std::vector<size_t> ends; // where each group's members end in `members`
};

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
