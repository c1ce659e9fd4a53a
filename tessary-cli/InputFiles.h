#pragma once

#include <QStringList>

// The files a command works on: the given paths with "-" replaced by the NUL-separated paths on
// standard input and, with `recursive`, every folder by the files below it; then standardised and each
// kept once, as the window's file list keeps them.
QStringList inputFiles(const QStringList& arguments, bool recursive);
