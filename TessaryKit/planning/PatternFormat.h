#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>
#include <variant>

// The formats a placeholder may apply to its field, as in "{row:03}" or "{filename:1-8:upper}": steps
// separated by ":", applied left to right.
class PatternFormat {
public:
    // The chain, or the first step that is no format.
    static std::variant<PatternFormat, QString> parse(QStringView chain);

    QString apply(QString value) const;

private:
    struct Step {
        enum class Kind { Pad, Upper, Lower, Title, Ascii, Range, Trim, Replace } kind;
        qsizetype first = 0; // Pad: the width; Range: the first grapheme, from 1
        qsizetype last = 0;  // Range: the last grapheme, or 0 for the end
        QString from, to;    // Replace
    };
    static std::optional<Step> stepOf(QStringView text);

    QList<Step> steps;
};
