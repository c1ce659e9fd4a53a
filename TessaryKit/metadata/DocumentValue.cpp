#include "metadata/DocumentValue.h"

#include "metadata/DateFields.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

template <class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace

void addDocumentValue(const QString& key, const DocumentValue& value, Fields& fields)
{
    std::visit(Overloaded{
                   [&](const QString& text) { fields.insert(key, text); },
                   [&](const QDateTime& date) {
                       const auto [dateText, timeText] = formatDateParts(date);
                       fields.insert(key + u"_date"_s, dateText);
                       fields.insert(key + u"_time"_s, timeText);
                   },
                   [&](const QStringList& list) { fields.insert(key, list.join(u", "_s)); },
                   [&](qint64 number) { fields.insert(key, QString::number(number)); },
                   [&](double number) {
                       fields.insert(key, QString::number(number, 'g', QLocale::FloatingPointShortest));
                   },
                   [&](const OtherDocumentValue& other) { fields.insert(key, other.description); },
               },
               value);
}
