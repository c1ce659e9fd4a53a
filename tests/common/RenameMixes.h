#pragma once

#include "renaming/RenameOperation.h"

#include <QDir>
#include <QList>
#include <QStringList>

// Batches of renames in one folder, by name, each as pairs of (old name, new name): what the crash and
// fault-injection tests run and the programs they kill.
namespace RenameMixes {

using Moves = QList<std::pair<QString, QString>>;

// Every file takes the next one's name, and the last the first one's.
inline Moves rotation(int size)
{
    Moves moves;
    for (int i = 0; i < size; ++i)
        moves.append({QStringLiteral("r%1").arg(i), QStringLiteral("r%1").arg((i + 1) % size)});
    return moves;
}

// Every file takes the next one's name, and the last a free one.
inline Moves chain(int size)
{
    Moves moves;
    for (int i = 0; i < size; ++i)
        moves.append({QStringLiteral("c%1").arg(i), QStringLiteral("c%1").arg(i + 1)});
    return moves;
}

// Thirty renames that need every kind of move: two swaps, a rotation of three, two chains into a free
// name, and nineteen direct moves.
inline Moves mixed()
{
    Moves moves{
        {QStringLiteral("s1a"), QStringLiteral("s1b")}, {QStringLiteral("s1b"), QStringLiteral("s1a")},
        {QStringLiteral("s2a"), QStringLiteral("s2b")}, {QStringLiteral("s2b"), QStringLiteral("s2a")},
        {QStringLiteral("r1"), QStringLiteral("r2")},   {QStringLiteral("r2"), QStringLiteral("r3")},
        {QStringLiteral("r3"), QStringLiteral("r1")},   {QStringLiteral("c1"), QStringLiteral("c2")},
        {QStringLiteral("c2"), QStringLiteral("c3")},   {QStringLiteral("d1"), QStringLiteral("d2")},
        {QStringLiteral("d2"), QStringLiteral("d3")},
    };
    for (int i = 1; i <= 19; ++i)
        moves.append({QStringLiteral("m%1").arg(i), QStringLiteral("n%1").arg(i)});
    return moves;
}

// A mix by the name the test programs take on their command line: "swap", "rotation-N", "chain-N",
// "mixed", or "mixed-N" (N copies of the mixed batch, their names prefixed with the copy's number).
inline Moves named(const QString& name)
{
    const qsizetype dash = name.indexOf(u'-');
    const QString kind = dash < 0 ? name : name.first(dash);
    const int size = dash < 0 ? 1 : name.sliced(dash + 1).toInt();
    if (kind == u"swap")
        return rotation(2);
    if (kind == u"rotation")
        return rotation(size);
    if (kind == u"chain")
        return chain(size);
    Moves moves;
    for (int copy = 0; copy < size; ++copy)
        for (const auto& [from, to] : mixed())
            moves.append(size == 1 ? std::pair(from, to)
                                   : std::pair(QStringLiteral("%1-%2").arg(copy).arg(from),
                                               QStringLiteral("%1-%2").arg(copy).arg(to)));
    return moves;
}

inline QList<RenameOperation> operations(const Moves& moves, const QString& folder)
{
    QList<RenameOperation> list;
    for (const auto& [from, to] : moves)
        list.append({from, QDir(folder).filePath(from), QDir(folder).filePath(to)});
    return list;
}

// The thirty renames of mixed() in `folder`.
inline QList<RenameOperation> renameMix(const QString& folder)
{
    return operations(mixed(), folder);
}

} // namespace RenameMixes
