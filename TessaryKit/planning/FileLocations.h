#pragma once

#include <QStringList>

// The locations a user hands over, as the file list keeps them: absolute, with "." and ".." resolved,
// each once, in the order of first appearance.
QStringList standardizedUniquePaths(const QStringList& paths);

// Every folder of `paths` replaced by the items below it that are not folders (links to folders
// included), walked by bytes so that names that aren't UTF-8 reach the planner, which refuses them.
QStringList filesInside(const QStringList& paths);
