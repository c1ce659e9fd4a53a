#pragma once

#include <QString>

// How every part of Tessary splits a path: the planner, the metadata extractor and the renamer.
struct FileNameParts {
    QString parent;    // the folder that holds the item
    QString name;      // the last path component
    QString stem;      // the name without its extension
    QString extension; // the text after the name's last dot; empty when there is none

    // ".profile" has no extension (its only dot comes first), "notes." none either (the stem keeps
    // the dot), "archive.tar.gz" the extension "gz".
    // `knownParent`, when it is the path's folder, is shared rather than copied: many paths of one
    // folder then hold one text.
    static FileNameParts of(const QString& path, const QString& knownParent = QString());
    // One part alone, for the loops over every path of a rename.
    static QString parentOf(const QString& path);
    static QStringView parentViewOf(const QString& path);
    static QString nameOf(const QString& path);
    static QString stemOf(const QString& path);
    static QString extensionOf(const QString& path);
};

// `folder` joined with one more path component.
QString joinPath(const QString& folder, const QString& name);
// A path as people read it: under the home folder as "~/…".
QString withHomeAsTilde(const QString& path);
