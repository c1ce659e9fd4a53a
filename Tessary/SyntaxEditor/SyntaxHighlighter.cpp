#include "SyntaxHighlighter.h"

using namespace Qt::StringLiterals;

namespace {

// Compiled once per process, on first use; function-local statics are initialised thread-safely.
const QRegularExpression& specialCharacter()
{
    static const QRegularExpression pattern(u"[()\\[\\]{}+*?.^$|]"_s);
    return pattern;
}

const QRegularExpression& namedGroup()
{
    static const QRegularExpression pattern(u"\\(\\?P?<([^>]+)>"_s);
    return pattern;
}

// Unicode word boundaries, so that a keyword glued to an accented letter is no keyword.
const QRegularExpression& keyword()
{
    static const QRegularExpression pattern(
        u"\\b(var|let|const|function|return|if|else|for|while|do|switch|case|break|continue|try|catch|throw|"
        u"new|delete|typeof|instanceof|in|of|this|true|false|null|undefined)\\b"_s,
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

const QRegularExpression& stringLiteral()
{
    static const QRegularExpression pattern(u"\"[^\"\\n]*\"|'[^'\\n]*'"_s);
    return pattern;
}

const QRegularExpression& fieldAccess()
{
    static const QRegularExpression pattern(u"fields\\[(['\"])([^'\"]+)\\1\\]"_s);
    return pattern;
}

const QRegularExpression& fieldReference()
{
    static const QRegularExpression pattern(u"\\{([^{}]+)\\}"_s);
    return pattern;
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
    forEachMatch(specialCharacter(), text.text(), [&](const QRegularExpressionMatch& match) {
        text.setForeground(match.capturedStart(), match.capturedLength(), HighlightColour::PurpleTranslucent);
    });
    forEachMatch(namedGroup(), text.text(), [&](const QRegularExpressionMatch& match) {
        text.setBackground(match.capturedStart(1), match.capturedLength(1),
                           HighlightColour::GreenTranslucent);
        text.setBold(match.capturedStart(1), match.capturedLength(1));
    });
}

void JavaScriptHighlighter::highlight(HighlightedText& text) const
{
    forEachMatch(keyword(), text.text(), [&](const QRegularExpressionMatch& match) {
        text.setForeground(match.capturedStart(), match.capturedLength(), HighlightColour::Purple);
        text.setBold(match.capturedStart(), match.capturedLength());
    });
    forEachMatch(stringLiteral(), text.text(), [&](const QRegularExpressionMatch& match) {
        text.setForeground(match.capturedStart(), match.capturedLength(), HighlightColour::Brown);
    });
    forEachMatch(fieldAccess(), text.text(), [&](const QRegularExpressionMatch& match) {
        text.setBackground(match.capturedStart(2), match.capturedLength(2),
                           HighlightColour::GreenTranslucent);
    });
}

void PatternFieldHighlighter::highlight(HighlightedText& text) const
{
    forEachMatch(fieldReference(), text.text(), [&](const QRegularExpressionMatch& match) {
        const qsizetype start = match.capturedStart(), length = match.capturedLength();
        if (knownFields.contains(match.captured(1))) {
            text.setBackground(start, length, HighlightColour::GreenTranslucent);
        } else {
            text.setUnderline(start, length, HighlightColour::Red);
            text.setForeground(start, length, HighlightColour::Red);
        }
    });
}
