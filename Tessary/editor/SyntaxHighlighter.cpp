#include "editor/SyntaxHighlighter.h"

#include "planning/ResultPattern.h"
#include "planning/RuleRegex.h"

using namespace Qt::StringLiterals;

namespace {

// The highlighters' patterns, compiled once per process on first use (a function-local static is
// initialised thread-safely).
struct Patterns {
    QRegularExpression specialCharacter{u"[()\\[\\]{}+*?.^$|]"_s};
    // Where a group name can be written; whether it is one, the engine's name table tells.
    QRegularExpression groupOpening{u"\\(\\?(?:P?<(\\w+)>|'(\\w+)')"_s,
                                    QRegularExpression::UseUnicodePropertiesOption};
    // Unicode word boundaries, so that a keyword glued to an accented letter is no keyword.
    QRegularExpression keyword{
        u"\\b(var|let|const|function|return|if|else|for|while|do|switch|case|break|continue|try|catch|throw|"
        u"new|delete|typeof|instanceof|in|of|this|true|false|null|undefined)\\b"_s,
        QRegularExpression::UseUnicodePropertiesOption};
    QRegularExpression stringLiteral{u"\"[^\"\\n]*\"|'[^'\\n]*'"_s};
    QRegularExpression fieldAccess{u"fields\\[(['\"])([^'\"]+)\\1\\]"_s};
};

const Patterns& patterns()
{
    static const Patterns compiled;
    return compiled;
}

template <typename Apply>
void forEachMatch(const QRegularExpression& pattern, const QString& text, Apply apply)
{
    for (auto matches = pattern.globalMatch(text); matches.hasNext();)
        apply(matches.next());
}

// Whether the character at `position` follows an odd number of backslashes.
bool isEscaped(const QString& text, qsizetype position)
{
    qsizetype backslashes = 0;
    while (position - backslashes > 0 && text.at(position - backslashes - 1) == u'\\')
        ++backslashes;
    return backslashes % 2 == 1;
}

} // namespace

void RegexHighlighter::highlight(HighlightedText& text) const
{
    forEachMatch(patterns().specialCharacter, text.text(), [&](const QRegularExpressionMatch& match) {
        text.setForeground(match.capturedStart(), match.capturedLength(), HighlightColour::PurpleTranslucent);
    });
    if (const auto problem = RuleRegex::problemOf(text.text())) {
        // The character the parser stopped at, or the last one when it ran off the end.
        const qsizetype at = qMin(problem->offset, text.text().size() - 1);
        text.setUnderline(at, 1, HighlightColour::Red);
        text.setToolTip(at, 1, problem->message);
        return;
    }
    const std::optional<QStringList> names = RuleRegex::groupNames(text.text());
    if (!names || names->isEmpty())
        return;
    forEachMatch(patterns().groupOpening, text.text(), [&](const QRegularExpressionMatch& match) {
        const int group = match.capturedStart(1) >= 0 ? 1 : 2;
        if (isEscaped(text.text(), match.capturedStart()) || !names->contains(match.captured(group)))
            return;
        text.setBackground(match.capturedStart(group), match.capturedLength(group),
                           HighlightColour::GreenTranslucent);
        text.setBold(match.capturedStart(group), match.capturedLength(group));
    });
}

void JavaScriptHighlighter::highlight(HighlightedText& text) const
{
    forEachMatch(patterns().keyword, text.text(), [&](const QRegularExpressionMatch& match) {
        text.setForeground(match.capturedStart(), match.capturedLength(), HighlightColour::Purple);
        text.setBold(match.capturedStart(), match.capturedLength());
    });
    forEachMatch(patterns().stringLiteral, text.text(), [&](const QRegularExpressionMatch& match) {
        text.setForeground(match.capturedStart(), match.capturedLength(), HighlightColour::Brown);
    });
    forEachMatch(patterns().fieldAccess, text.text(), [&](const QRegularExpressionMatch& match) {
        text.setBackground(match.capturedStart(2), match.capturedLength(2),
                           HighlightColour::GreenTranslucent);
    });
}

void PatternFieldHighlighter::highlight(HighlightedText& text) const
{
    const ResultPattern pattern(text.text());
    for (const ResultPattern::Placeholder& placeholder : pattern.placeholders()) {
        const qsizetype start = placeholder.open, length = placeholder.close - placeholder.open + 1;
        const auto* reading =
            placeholder.readingFor([&](const QString& field) { return knownFields.contains(field); });
        if (reading && !std::holds_alternative<QString>(reading->format)) {
            text.setBackground(start, length, HighlightColour::GreenTranslucent);
        } else {
            text.setUnderline(start, length, HighlightColour::Red);
            text.setForeground(start, length, HighlightColour::Red);
            text.setToolTip(start, length,
                            ResultPattern::unknownFieldWarning(text.text().mid(start, length)));
        }
    }
}
