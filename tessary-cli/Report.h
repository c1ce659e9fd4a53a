#pragma once

#include "planning/PlanOutput.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What a command tells about one file.
struct FileReport {
    QString path;                       // where the file is now, before the command moved it
    PlanOutput output;                  // the plan's result for it
    bool changed = false;               // it gets a new name
    std::optional<bool> renamed;        // after rename or undo: whether it carries its new name now
    std::optional<QString> renameError; // why its move failed
};

// Writes file rows to standard output: aligned text for people, or one JSON object per line.
class Report {
public:
    // `restoring`: the rows tell of an undo, where a file that moved was restored.
    Report(bool json, bool verbose, bool restoring = false)
        : json(json), verbose(verbose), restoring(restoring)
    {
    }

    void add(const FileReport& file) const { write(rowOf(file)); }
    // The row `add` writes, without its line end.
    QByteArray rowOf(const FileReport& file) const;
    void write(const QByteArray& row) const;
    // Text only: "3 files, 1 to rename, 1 error".
    void summary(qsizetype files, qsizetype toRename, qsizetype errors) const;

    // A name as a terminal can show it: control characters become visible escapes ("\n", "\x1b").
    static QString printable(const QString& name);

private:
    const bool json;
    const bool verbose;
    const bool restoring;
};
