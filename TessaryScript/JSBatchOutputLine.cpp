#include "JSBatchOutputLine.h"

#include "JSONFields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

QByteArray JSBatchOutputLine::toJsonLine() const
{
    QJsonObject object;
    if (fields)
        object.insert(u"fields"_s, JSONFields::toObject(*fields));
    if (error)
        object.insert(u"error"_s, *error);
    if (logs)
        object.insert(u"logs"_s, QJsonArray::fromStringList(*logs));
    // Compact JSON escapes every control character, so a value never splits the line. A lone surrogate
    // is written as its \u escape, which the decoder reads back to the same text.
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

namespace {

// An absent key and null both leave the member absent; anything else must decode.
template <typename T, typename Decoder>
bool decodeMember(const QJsonObject& object, const QString& key, std::optional<T>& member, Decoder decode)
{
    const QJsonValue value = object.value(key);
    if (value.isNull() || value.isUndefined())
        return true;
    member = decode(value, key, nullptr);
    return member.has_value();
}

} // namespace

std::optional<JSBatchOutputLine> JSBatchOutputLine::fromJsonLine(QByteArrayView line)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();

    JSBatchOutputLine result;
    if (!decodeMember(object, u"fields"_s, result.fields, JSONFields::fieldsFrom) ||
        !decodeMember(object, u"error"_s, result.error, JSONFields::stringFrom) ||
        !decodeMember(object, u"logs"_s, result.logs, JSONFields::stringsFrom))
        return std::nullopt;
    return result;
}
