#pragma once

#include <QString>

// What the user wrote: the rules of one plan computation.
struct RenameRules {
    QString regex;         // must match the whole name without extension; empty: no regular expression
    QString script;        // run once per file that passed the regex; empty: no script, no helper started
    QString pattern;       // builds the new name without extension
    bool reversed;         // the order below, turned around
    QString order;         // how the files are numbered: "name", "listed" or fields, as FileOrder reads it
    bool numberDuplicates; // files that would get a taken name get " (2)", " (3)" … instead of an error

    // Texts compare under canonical equivalence.
    friend bool operator==(const RenameRules& a, const RenameRules& b);
};
