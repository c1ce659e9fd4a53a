#pragma once

#include "Fields.h"

#include <QList>
#include <QString>

// The result pattern language: "{name}" stands for the value of the field called name; everything else
// is literal, and a placeholder whose field is missing stays as written, braces included. The pattern
// is read by user-perceived characters, so a brace carrying a combining mark is an ordinary character.
class ResultPattern {
public:
    // A "{" that may open a placeholder: the first "}" after it closes it, and no "{" lies between.
    struct Placeholder {
        qsizetype open; // positions in the pattern
        qsizetype close;
        QString name;
    };

    explicit ResultPattern(const QString& pattern);

    // The new name without extension for one file's fields.
    QString render(const Fields& fields) const;
    // In pattern order; they never overlap.
    const QList<Placeholder>& placeholders() const { return found; }

private:
    QString pattern;
    QList<Placeholder> found;
};
