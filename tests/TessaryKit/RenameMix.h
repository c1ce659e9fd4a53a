#pragma once

#include "RenameOperation.h"

#include <QDir>
#include <QList>
#include <QStringList>

// Thirty renames in one folder that need every kind of move: two swaps, a rotation of three, two chains
// into a free name, and nineteen direct moves. Shared by the crash test and the program it kills.
inline QList<RenameOperation> renameMix(const QString& folder)
{
    const QList<std::pair<QString, QString>> moves = [] {
        QList<std::pair<QString, QString>> list{
            {QStringLiteral("s1a"), QStringLiteral("s1b")}, {QStringLiteral("s1b"), QStringLiteral("s1a")},
            {QStringLiteral("s2a"), QStringLiteral("s2b")}, {QStringLiteral("s2b"), QStringLiteral("s2a")},
            {QStringLiteral("r1"), QStringLiteral("r2")},   {QStringLiteral("r2"), QStringLiteral("r3")},
            {QStringLiteral("r3"), QStringLiteral("r1")},   {QStringLiteral("c1"), QStringLiteral("c2")},
            {QStringLiteral("c2"), QStringLiteral("c3")},   {QStringLiteral("d1"), QStringLiteral("d2")},
            {QStringLiteral("d2"), QStringLiteral("d3")},
        };
        for (int i = 1; i <= 19; ++i)
            list.append({QStringLiteral("m%1").arg(i), QStringLiteral("n%1").arg(i)});
        return list;
    }();
    QList<RenameOperation> operations;
    for (const auto& [from, to] : moves)
        operations.append({from, QDir(folder).filePath(from), QDir(folder).filePath(to)});
    return operations;
}
