#include "JSBatchInput.h"

#include "JSBatchRequest.h"
#include "JSONFields.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// Below this many items one thread encodes them; above it two share the work.
constexpr qsizetype itemsForTwoThreads = 2'000;

// The items from `begin` to `end` as the members of a JSON array, without its brackets.
QByteArray itemMembers(const QList<Fields>& items, qsizetype begin, qsizetype end)
{
    QByteArray members;
    for (qsizetype i = begin; i < end; ++i) {
        if (i > begin)
            members += ',';
        members += QJsonDocument(JSONFields::toObject(items[i])).toJson(QJsonDocument::Compact);
    }
    return members;
}

} // namespace

QByteArray JSBatchInput::toJson() const
{
    // The items are most of a large request, and the helper waits for all of it: they are encoded apart
    // from the rest, on two threads when there are many, and take the place of the object's last brace.
    QByteArray json =
        QJsonDocument(QJsonObject{{u"script"_s, script}, {u"context"_s, JSONFields::toObject(context)}})
            .toJson(QJsonDocument::Compact);
    json.chop(1);
    json += ",\"items\":[";
    if (items.size() < itemsForTwoThreads) {
        json += itemMembers(items, 0, items.size());
    } else {
        // A plain thread, not std::async: its shared state would put this library's copy of shared_ptr's
        // release before JavaScriptCore's own, and the sanitizer build checks that copy on its objects.
        const qsizetype half = items.size() / 2;
        QByteArray firstHalf;
        std::thread encoder([&] { firstHalf = itemMembers(items, 0, half); });
        const QByteArray secondHalf = itemMembers(items, half, items.size());
        encoder.join();
        json += firstHalf;
        json += ',';
        json += secondHalf;
    }
    json += "]}";
    return json;
}

std::optional<JSBatchInput> JSBatchInput::fromJson(const QByteArray& json, QString* error)
{
    const auto request = JSBatchRequest::fromJson(json, error);
    if (!request)
        return std::nullopt;
    return request->toInput();
}
