#include "metadata/MetadataItems.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace MetadataItems {

QList<MetadataItem> matchingItems(const QList<MetadataItem>& items, const QSet<QString>& identifiers,
                                  const std::optional<QString>& commonKey)
{
    QList<MetadataItem> matching;
    for (const MetadataItem& item : items)
        if (identifiers.contains(item.identifier) || (commonKey && item.commonKey == commonKey))
            matching.append(item);
    return matching;
}

std::optional<QString> firstStringValue(const QList<MetadataItem>& items)
{
    for (const MetadataItem& item : items)
        if (!item.value.isEmpty())
            return item.value;
    return std::nullopt;
}

namespace {

// The first item whose text gives a positive number in the pattern's first group.
std::optional<qint64> firstPositive(const QList<MetadataItem>& items, const QRegularExpression& pattern)
{
    for (const MetadataItem& item : items) {
        bool ok = false;
        const qint64 number = pattern.match(item.value).captured(1).toLongLong(&ok);
        if (ok && number > 0)
            return number;
    }
    return std::nullopt;
}

} // namespace

std::optional<qint64> firstNumberValue(const QList<MetadataItem>& items)
{
    static const QRegularExpression leadingDigits(u"\\A\\s*(\\d+)"_s);
    return firstPositive(items, leadingDigits);
}

std::optional<qint64> firstTotalValue(const QList<MetadataItem>& items)
{
    static const QRegularExpression numberOfTotal(u"\\A\\s*\\d*\\s*/\\s*(\\d+)"_s);
    return firstPositive(items, numberOfTotal);
}

std::optional<QString> firstYearValue(const QList<MetadataItem>& items)
{
    static const QRegularExpression leadingYear(u"\\A\\d{4}"_s);
    for (const MetadataItem& item : items) {
        if (const auto match = leadingYear.match(item.value); match.hasMatch())
            return match.captured();
    }
    return std::nullopt;
}

} // namespace MetadataItems
