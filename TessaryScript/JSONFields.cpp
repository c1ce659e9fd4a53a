#include "JSONFields.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace JSONFields {
namespace {

void describe(QString* error, const QString& expected, const QString& path)
{
    if (error)
        *error = u"Expected %1 at “%2”"_s.arg(expected, path);
}

} // namespace

QJsonObject toObject(const Fields& fields)
{
    QJsonObject object;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

std::optional<QString> stringFrom(const QJsonValue& value, const QString& path, QString* error)
{
    if (!value.isString()) {
        describe(error, u"a string"_s, path);
        return std::nullopt;
    }
    return value.toString();
}

bool isFields(const QJsonValue& value, const QString& path, QString* error)
{
    if (!value.isObject()) {
        describe(error, u"an object"_s, path);
        return false;
    }
    const QJsonObject object = value.toObject();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        if (!it.value().isString()) {
            describe(error, u"a string"_s, path + u'.' + it.key());
            return false;
        }
    }
    return true;
}

Fields fieldsOf(const QJsonObject& object)
{
    Fields fields;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        fields.insert(it.key(), it.value().toString());
    return fields;
}

std::optional<Fields> fieldsFrom(const QJsonValue& value, const QString& path, QString* error)
{
    if (!isFields(value, path, error))
        return std::nullopt;
    return fieldsOf(value.toObject());
}

std::optional<QStringList> stringsFrom(const QJsonValue& value, const QString& path, QString* error)
{
    if (!value.isArray()) {
        describe(error, u"an array"_s, path);
        return std::nullopt;
    }
    const QJsonArray array = value.toArray();
    QStringList strings;
    strings.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!array.at(i).isString()) {
            describe(error, u"a string"_s, u"%1[%2]"_s.arg(path).arg(i));
            return std::nullopt;
        }
        strings.append(array.at(i).toString());
    }
    return strings;
}

} // namespace JSONFields
