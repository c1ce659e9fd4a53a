#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>

// The user's regular expression, compiled once per plan as written (never wrapped in another pattern)
// and anchored at both ends by options, so it matches whole names only. Named groups may be written
// (?P<name>…), (?<name>…) or (?'name'…). A match that backtracks without end gives up at a limit.
class RuleRegex {
public:
    using Groups = QList<std::pair<QString, QString>>; // name and matched text, by opening parenthesis

    // Nothing when it does not compile; `error` then holds the parser's description and offset.
    static std::optional<RuleRegex> compile(const QString& pattern, QString* error);
    // Why a pattern does not compile, and where: the offset in UTF-16 code units at which the parser
    // stopped.
    struct Problem {
        QString message;
        qsizetype offset;
    };
    // Nothing when the pattern compiles. Cheap enough for every keystroke.
    static std::optional<Problem> problemOf(const QString& pattern);
    // The names of the named groups as the engine reads them, by opening parenthesis; nothing when the
    // pattern does not compile. Cheap enough for every keystroke: no match code is generated.
    static std::optional<QStringList> groupNames(const QString& pattern);

    RuleRegex(RuleRegex&&) noexcept;
    RuleRegex& operator=(RuleRegex&&) noexcept;
    ~RuleRegex();

    // The named groups when the expression matches all of `subject`; a group that took no part matched
    // the empty text. Nothing when there is no whole match or matching failed. Not thread-safe: each
    // thread compiles its own.
    std::optional<Groups> matchWhole(const QString& subject);

private:
    struct Compiled;
    explicit RuleRegex(std::unique_ptr<Compiled> compiled);
    std::unique_ptr<Compiled> compiled;
};
