#pragma once

#include "JSBatchInput.h"

#include <QJsonArray>
#include <optional>

// A request checked against every rule of JSBatchInput whose items stay in their JSON form until they
// are asked for, so that a batch of 100,000 items is never held as maps all at once.
class JSBatchRequest {
public:
    static std::optional<JSBatchRequest> fromJson(const QByteArray& json, QString* error = nullptr);

    const QString& script() const { return scriptText; }
    const Fields& context() const { return startingContext; }
    qsizetype itemCount() const { return items.size(); }
    Fields item(qsizetype index) const;

    JSBatchInput toInput() const;

private:
    QString scriptText;
    Fields startingContext;
    QJsonArray items;
};
