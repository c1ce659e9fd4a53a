#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <optional>

// A container's metadata items, as texts, and the rules that pick one value from several candidates: the
// first non-empty text, the first positive number, the first total, the first year.
struct MetadataItem {
    QString identifier;               // where the item came from, such as "track" or "id3/TRCK"
    std::optional<QString> commonKey; // the kind of value shared across formats, such as "title"
    QString value;
};

namespace MetadataItems {

// The items whose identifier is in `identifiers`, or whose common key is `commonKey` when one is given.
QList<MetadataItem> matchingItems(const QList<MetadataItem>& items, const QSet<QString>& identifiers,
                                  const std::optional<QString>& commonKey);

std::optional<QString> firstStringValue(const QList<MetadataItem>& items);
// A positive number at the start of a text: "3/12" gives 3.
std::optional<qint64> firstNumberValue(const QList<MetadataItem>& items);
// The total after a slash: "3/12" gives 12.
std::optional<qint64> firstTotalValue(const QList<MetadataItem>& items);
// Four digits at the very start of a text.
std::optional<QString> firstYearValue(const QList<MetadataItem>& items);

} // namespace MetadataItems
