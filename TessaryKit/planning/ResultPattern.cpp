#include "planning/ResultPattern.h"

#include "common/KitCatalogue.h"

#include <QTextBoundaryFinder>
#include <algorithm>

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

QList<ResultPattern::Reading> readingsOf(const QString& name)
{
    QList<ResultPattern::Reading> readings{{name, std::monostate()}};
    for (qsizetype colon = name.lastIndexOf(u':'); colon > 0; colon = name.lastIndexOf(u':', colon - 1)) {
        auto format = PatternFormat::parse(QStringView(name).sliced(colon + 1));
        if (auto* chain = std::get_if<PatternFormat>(&format))
            readings.append({name.first(colon), std::move(*chain)});
        else
            readings.append({name.first(colon), std::get<QString>(format)});
    }
    return readings;
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
            const QString name = pattern.sliced(open + 1, close - open - 1);
            found.append({open, close, name, readingsOf(name)});
        }
    }
}

ResultPattern::Rendered ResultPattern::render(const Fields& fields) const
{
    Rendered rendered;
    qsizetype copied = 0; // the pattern up to here is in the stem
    for (const Placeholder& placeholder : found) {
        // One lookup per reading: this runs for every placeholder of every planned file.
        auto value = fields.cend();
        const auto reading = std::find_if(placeholder.readings.cbegin(), placeholder.readings.cend(),
                                          [&](const Reading& candidate) {
                                              value = fields.constFind(candidate.field);
                                              return value != fields.cend();
                                          });
        if (reading == placeholder.readings.cend()) {
            rendered.unknown.append(u'{' + placeholder.name + u'}'); // stays literal, braces and all
            continue;
        }
        if (const auto* unknown = std::get_if<QString>(&reading->format)) {
            if (!rendered.error)
                //: Error shown for a file: %1 is the format, %2 the placeholder, as in {row:bogus}
                rendered.error = KitCatalogue::tr("The pattern uses the unknown format “%1” in “%2”")
                                     .arg(*unknown, u'{' + placeholder.name + u'}');
            continue;
        }
        rendered.stem += QStringView(pattern).sliced(copied, placeholder.open - copied);
        const auto* chain = std::get_if<PatternFormat>(&reading->format);
        rendered.stem += chain ? chain->apply(*value) : *value;
        copied = placeholder.close + 1;
    }
    rendered.stem += QStringView(pattern).sliced(copied);
    return rendered;
}

QString ResultPattern::unknownFieldWarning(const QString& placeholder)
{
    //: Warning shown for a file whose fields lack a placeholder's name, as in “{imgae.date}”
    return KitCatalogue::tr("The pattern uses “%1”, which this file doesn't have").arg(placeholder);
}
