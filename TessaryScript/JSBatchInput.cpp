#include "JSBatchInput.h"

#include "JSBatchRequest.h"
#include "JSONFields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

QByteArray JSBatchInput::toJson() const
{
    QJsonArray itemArray;
    for (const Fields& item : items)
        itemArray.append(JSONFields::toObject(item));
    const QJsonObject object{
        {u"script"_s, script},
        {u"context"_s, JSONFields::toObject(context)},
        {u"items"_s, itemArray},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<JSBatchInput> JSBatchInput::fromJson(const QByteArray& json, QString* error)
{
    const auto request = JSBatchRequest::fromJson(json, error);
    if (!request)
        return std::nullopt;
    return request->toInput();
}
