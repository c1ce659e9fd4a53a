#pragma once

#include "Fields.h"
#include "planning/PatternFormat.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

// The result pattern language: "{name}" stands for the value of the field called name, and
// "{name:format}" for that value formatted (PatternFormat); everything else is literal, and a
// placeholder that names no field stays as written, braces included. The pattern is read by
// user-perceived characters, so a brace carrying a combining mark is an ordinary character.
class ResultPattern {
public:
    // One way to read a placeholder's text: a field, and what to do with its value.
    struct Reading {
        QString field;
        // No format, a format chain, or the step that is no format.
        std::variant<std::monostate, PatternFormat, QString> format;
    };

    // A "{" that may open a placeholder: the first "}" after it closes it, and no "{" lies between.
    struct Placeholder {
        qsizetype open; // positions in the pattern
        qsizetype close;
        QString name; // the text between the braces
        // The whole text as a field name first, so a field whose name holds ":" is that field; then the
        // text before each ":", longest first, with the rest as its format.
        QList<Reading> readings;

        // The reading whose field exists; nothing when the placeholder names no field.
        template <class HasField> const Reading* readingFor(HasField hasField) const
        {
            for (const Reading& reading : readings)
                if (hasField(reading.field))
                    return &reading;
            return nullptr;
        }
    };

    struct Rendered {
        QString stem;                 // the new name without extension
        std::optional<QString> error; // a format that isn't one
        QStringList unknown;          // the placeholders, braces included, that name no field of the file
    };

    explicit ResultPattern(const QString& pattern);

    Rendered render(const Fields& fields) const;

    // The warning of a file whose fields lack `placeholder`'s name, braces included: "{imgae.date}".
    static QString unknownFieldWarning(const QString& placeholder);
    // In pattern order; they never overlap.
    const QList<Placeholder>& placeholders() const { return found; }

private:
    QString pattern;
    QList<Placeholder> found;
};
