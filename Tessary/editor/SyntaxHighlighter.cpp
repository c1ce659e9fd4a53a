#include "editor/SyntaxHighlighter.h"

using namespace Qt::StringLiterals;

namespace {

// The highlighters' patterns, compiled once per process on first use (a function-local static is
// initialised thread-safely).
struct Patterns {
    QRegularExpression specialCharacter{u"[()\\[\\]{}+*?.^$|]"_s};
    QRegularExpression namedGroup{u"\\(\\?P?<([^>]+)>"_s};
    // Unicode word boundaries, so that a keyword glued to an accented letter is no keyword.
    QRegularExpression keyword{
        u"\\b(var|let|const|function|return|if|else|for|while|do|switch|case|break|continue|try|catch|throw|"
        u"new|delete|typeof|instanceof|in|of|this|true|false|null|undefined)\\b"_s,
        QRegularExpression::UseUnicodePropertiesOption};
    QRegularExpression stringLiteral{u"\"[^\"\\n]*\"|'[^'\\n]*'"_s};
    QRegularExpression fieldAccess{u"fields\\[(['\"])([^'\"]+)\\1\\]"_s};
    QRegularExpression fieldReference{u"\\{([^{}]+)\\}"_s};
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

} // namespace

void RegexHighlighter::highlight(HighlightedText& text) const
{
    forEachMatch(patterns().specialCharacter, text.text(), [&](const QRegularExpressionMatch& match) {
        text.setForeground(match.capturedStart(), match.capturedLength(), HighlightColour::PurpleTranslucent);
    });
    forEachMatch(patterns().namedGroup, text.text(), [&](const QRegularExpressionMatch& match) {
        text.setBackground(match.capturedStart(1), match.capturedLength(1),
                           HighlightColour::GreenTranslucent);
        text.setBold(match.capturedStart(1), match.capturedLength(1));
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
    forEachMatch(patterns().fieldReference, text.text(), [&](const QRegularExpressionMatch& match) {
        const qsizetype start = match.capturedStart(), length = match.capturedLength();
        if (knownFields.contains(match.captured(1))) {
            text.setBackground(start, length, HighlightColour::GreenTranslucent);
        } else {
            text.setUnderline(start, length, HighlightColour::Red);
            text.setForeground(start, length, HighlightColour::Red);
        }
    });
}
