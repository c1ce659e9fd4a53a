#include "JSBatchRequest.h"

#include "JSONFields.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

void describe(QString* error, const QString& description)
{
    if (error)
        *error = description;
}

std::optional<QJsonValue> requiredMember(const QJsonObject& object, const QString& key, QString* error)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd()) {
        describe(error, u"The request has no “%1”"_s.arg(key));
        return std::nullopt;
    }
    return it.value();
}

bool isItemList(const QJsonValue& value, QString* error)
{
    if (!value.isArray()) {
        describe(error, u"Expected an array at “items”"_s);
        return false;
    }
    const QJsonArray array = value.toArray();
    for (qsizetype i = 0; i < array.size(); ++i)
        if (!JSONFields::isFields(array.at(i), u"items[%1]"_s.arg(i), error))
            return false;
    return true;
}

} // namespace

std::optional<JSBatchRequest> JSBatchRequest::fromJson(const QByteArray& json, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        describe(error, u"The request isn't valid JSON: %1 at offset %2"_s.arg(parseError.errorString())
                            .arg(parseError.offset));
        return std::nullopt;
    }
    if (!document.isObject()) {
        describe(error, u"The request isn't a JSON object"_s);
        return std::nullopt;
    }
    const QJsonObject object = document.object();

    JSBatchRequest request;
    const auto script = requiredMember(object, u"script"_s, error);
    if (!script)
        return std::nullopt;
    auto scriptText = JSONFields::stringFrom(*script, u"script"_s, error);
    if (!scriptText)
        return std::nullopt;
    const auto context = requiredMember(object, u"context"_s, error);
    if (!context)
        return std::nullopt;
    auto startingContext = JSONFields::fieldsFrom(*context, u"context"_s, error);
    if (!startingContext)
        return std::nullopt;
    const auto items = requiredMember(object, u"items"_s, error);
    if (!items || !isItemList(*items, error))
        return std::nullopt;

    request.scriptText = std::move(*scriptText);
    request.startingContext = std::move(*startingContext);
    request.items = items->toArray();
    return request;
}

Fields JSBatchRequest::item(qsizetype index) const
{
    return JSONFields::fieldsOf(items.at(index).toObject());
}

JSBatchInput JSBatchRequest::toInput() const
{
    JSBatchInput input{scriptText, startingContext, {}};
    input.items.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        input.items.append(item(i));
    return input;
}
