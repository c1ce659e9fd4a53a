#pragma once

#include "Fields.h"

#include <QString>
#include <QStringList>
#include <optional>

// One file of a rename session: where it was when it was added, what was read from it then, and what the
// latest plan, rename or undo said about it.
struct FileRecord {
    FileRecord(QString id, QString path, Fields baseFields);

    QString id;   // the path when the file was added: its identity in the list
    QString path; // the absolute path when the file was added; stays the same after a rename
    Fields baseFields;
    Fields fields;      // after the last plan; the base fields until then
    QString resultName; // the complete new name of the last plan; the current name until then
    QStringList logs;
    std::optional<QString> error;          // from the last plan
    std::optional<QString> warning;        // from the last plan; it doesn't hold the rename back
    std::optional<QString> operationError; // from the last rename or undo, or denied access
    qsizetype row = 0;                     // the number the last plan gave the file; 0 until planned
    bool renamed = false;                  // the file carries its new name on disk now

    QString originalName() const;
    // The path of `name` in the file's folder.
    QString locationNamed(const QString& name) const;
    // Where the file is on disk now: under its new name once renamed.
    QString currentLocation() const;
    // The error the list shows: the last operation's, else the plan's.
    std::optional<QString> shownError() const;
    // The planned name differs from the name when added beyond composition (the table's "changed").
    bool nameChanged() const;
    // No error, and a changed name.
    bool getsNewName() const;
};
