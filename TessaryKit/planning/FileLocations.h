#pragma once

#include <QStringList>

// The locations a user hands over, as the file list keeps them: absolute, with "." and ".." resolved,
// each once, in the order of first appearance.
QStringList standardizedUniquePaths(const QStringList& paths);
