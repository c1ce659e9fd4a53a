#pragma once

#include <QString>

// What the user wrote: the rules of one plan computation.
struct RenameRules {
    QString regex;   // must match the whole name without extension; empty: no regular expression
    QString script;  // run once per file that passed the regex; empty: no script, no helper started
    QString pattern; // builds the new name without extension
    bool reversed;   // descending natural name order instead of ascending

    // Texts compare under canonical equivalence.
    friend bool operator==(const RenameRules& a, const RenameRules& b);
};
