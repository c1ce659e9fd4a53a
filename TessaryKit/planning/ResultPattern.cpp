#include "planning/ResultPattern.h"

#include <QTextBoundaryFinder>

namespace {

struct Brace {
    qsizetype position;
    QChar character;
};

// The braces that are characters of their own, not the start of a longer user-perceived character.
QList<Brace> wholeBraces(const QString& pattern)
{
    QList<Brace> braces;
    QTextBoundaryFinder boundaries(QTextBoundaryFinder::Grapheme, pattern);
    qsizetype start = 0;
    for (qsizetype end; (end = boundaries.toNextBoundary()) >= 0; start = end) {
        const QChar character = pattern.at(start);
        if (end - start == 1 && (character == u'{' || character == u'}'))
            braces.append({start, character});
    }
    return braces;
}

} // namespace

ResultPattern::ResultPattern(const QString& pattern) : pattern(pattern)
{
    const QList<Brace> braces = wholeBraces(pattern);
    for (qsizetype i = 0; i < braces.size(); ++i) {
        if (braces[i].character != u'{')
            continue;
        const qsizetype next = i + 1;
        if (next < braces.size() && braces[next].character == u'}') {
            const qsizetype open = braces[i].position;
            const qsizetype close = braces[next].position;
            found.append({open, close, pattern.sliced(open + 1, close - open - 1)});
        }
    }
}

QString ResultPattern::render(const Fields& fields) const
{
    QString result;
    qsizetype copied = 0; // the pattern up to here is in the result
    for (const Placeholder& placeholder : found) {
        const auto value = fields.constFind(placeholder.name);
        if (value == fields.cend())
            continue; // stays literal, braces and all
        result += QStringView(pattern).sliced(copied, placeholder.open - copied);
        result += *value;
        copied = placeholder.close + 1;
    }
    result += QStringView(pattern).sliced(copied);
    return result;
}
