#pragma once

#include "Fields.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>
#include <optional>

// JSON mapping shared by the protocol records. Checks and decoders fail when a value is not exactly of
// the declared type and then describe the problem, naming `path`, in `error` (when given).
namespace JSONFields {

QJsonObject toObject(const Fields& fields);

// True when `value` is an object whose every member is a string.
bool isFields(const QJsonValue& value, const QString& path, QString* error);
// The members of an object that passed isFields.
Fields fieldsOf(const QJsonObject& object);

std::optional<Fields> fieldsFrom(const QJsonValue& value, const QString& path, QString* error);
std::optional<QString> stringFrom(const QJsonValue& value, const QString& path, QString* error);
std::optional<QStringList> stringsFrom(const QJsonValue& value, const QString& path, QString* error);

} // namespace JSONFields
