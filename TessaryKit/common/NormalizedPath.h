#pragma once

#include <QString>

// The form in which two locations are compared when they may be the same item on a file system that
// ignores case or composition: "." and ".." resolved, Unicode NFC, lower case (locale-independent).
QString normalizedPath(const QString& path);
// The path with "." and ".." resolved and doubled or trailing slashes removed, as QDir::cleanPath does.
// A path that is already so is handed back shared, without a copy.
QString cleanedPath(const QString& path);
// Whether cleanedPath leaves `path` as it is.
bool isCleanPath(QStringView path);
// Whether a clean path's component is its own normalised form: lower-case ASCII.
bool isNormalizedName(QStringView name);
