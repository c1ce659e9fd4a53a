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
        if (item.stringValue && !item.stringValue->isEmpty())
            return item.stringValue;
    return std::nullopt;
}

std::optional<qint64> firstNumberValue(const QList<MetadataItem>& items)
{
    static const QRegularExpression leadingDigits(u"\\A\\s*(\\d+)"_s);
    for (const MetadataItem& item : items) {
        if (item.numberValue && *item.numberValue > 0)
            return item.numberValue;
        if (item.stringValue) {
            bool ok = false;
            const qint64 number = leadingDigits.match(*item.stringValue).captured(1).toLongLong(&ok);
            if (ok && number > 0)
                return number;
        }
        if (item.dataValue && item.dataValue->size() >= 4) {
            const auto* bytes = reinterpret_cast<const uchar*>(item.dataValue->constData());
            if (const qint64 number = (bytes[2] << 8) | bytes[3])
                return number;
        }
    }
    return std::nullopt;
}

std::optional<QString> firstYearValue(const QList<MetadataItem>& items)
{
    static const QRegularExpression leadingYear(u"\\A\\d{4}"_s);
    for (const MetadataItem& item : items) {
        if (item.dateValue)
            return QString::number(item.dateValue->toLocalTime().date().year());
        if (item.stringValue)
            if (const auto match = leadingYear.match(*item.stringValue); match.hasMatch())
                return match.captured();
    }
    return std::nullopt;
}

} // namespace MetadataItems
