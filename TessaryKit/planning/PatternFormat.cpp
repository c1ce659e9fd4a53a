#include "planning/PatternFormat.h"

#include "common/TextTransforms.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

using namespace Qt::StringLiterals;

namespace {

// Where each user-perceived character starts, and the end of the text.
QList<qsizetype> graphemeBoundaries(const QString& text)
{
    QList<qsizetype> boundaries{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype next; (next = finder.toNextBoundary()) > 0;)
        boundaries.append(next);
    return boundaries;
}

QString graphemeRange(const QString& text, qsizetype first, qsizetype last)
{
    const QList<qsizetype> boundaries = graphemeBoundaries(text);
    const qsizetype count = boundaries.size() - 1;
    const qsizetype end = last == 0 ? count : std::min(last, count);
    if (first > end)
        return QString();
    return text.sliced(boundaries[first - 1], boundaries[end] - boundaries[first - 1]);
}

QString padded(const QString& text, qsizetype width)
{
    const qsizetype length = graphemeBoundaries(text).size() - 1;
    return length >= width ? text : QString(width - length, u'0') + text;
}

} // namespace

std::optional<PatternFormat::Step> PatternFormat::stepOf(QStringView text)
{
    using Kind = Step::Kind;
    const auto step = [](Kind kind, qsizetype first = 0, qsizetype last = 0, QString from = {},
                         QString to = {}) {
        return Step{kind, first, last, std::move(from), std::move(to)};
    };
    static const QRegularExpression pad(u"\\A0(\\d{1,3})\\z"_s);
    static const QRegularExpression range(u"\\A(\\d{1,6})-(\\d{1,6})?\\z"_s);
    if (text == u"upper")
        return step(Kind::Upper);
    if (text == u"lower")
        return step(Kind::Lower);
    if (text == u"title")
        return step(Kind::Title);
    if (text == u"ascii")
        return step(Kind::Ascii);
    if (text == u"trim")
        return step(Kind::Trim);
    if (const auto match = pad.match(text.toString()); match.hasMatch())
        return step(Kind::Pad, match.captured(1).toLongLong());
    if (const auto match = range.match(text.toString()); match.hasMatch()) {
        const qsizetype first = match.captured(1).toLongLong();
        const qsizetype last = match.hasCaptured(2) ? match.captured(2).toLongLong() : 0;
        if (first < 1 || (match.hasCaptured(2) && last < first))
            return std::nullopt;
        return step(Kind::Range, first, last);
    }
    if (text.startsWith(u"replace/")) {
        const QList<QStringView> parts = text.split(u'/');
        if (parts.size() != 3 || parts[1].isEmpty())
            return std::nullopt;
        return step(Kind::Replace, 0, 0, parts[1].toString(), parts[2].toString());
    }
    return std::nullopt;
}

std::variant<PatternFormat, QString> PatternFormat::parse(QStringView chain)
{
    PatternFormat format;
    for (const QStringView text : chain.split(u':')) {
        const auto step = stepOf(text);
        if (!step)
            return text.toString();
        format.steps.append(*step);
    }
    return format;
}

QString PatternFormat::apply(QString value) const
{
    using Kind = Step::Kind;
    for (const Step& step : steps) {
        switch (step.kind) {
        case Kind::Pad:
            value = padded(value, step.first);
            break;
        case Kind::Upper:
            value = value.toUpper();
            break;
        case Kind::Lower:
            value = value.toLower();
            break;
        case Kind::Title:
            value = TextTransforms::titleCase(value);
            break;
        case Kind::Ascii:
            value = TextTransforms::toAscii(value);
            break;
        case Kind::Range:
            value = graphemeRange(value, step.first, step.last);
            break;
        case Kind::Trim:
            value = value.trimmed();
            break;
        case Kind::Replace:
            value.replace(step.from, step.to);
            break;
        }
    }
    return value;
}
