#include "metadata/DocumentProperties.h"

#include "metadata/DateFields.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool isEmpty(const DocumentValue& value)
{
    if (const auto* text = std::get_if<QString>(&value))
        return text->trimmed().isEmpty();
    if (const auto* list = std::get_if<QStringList>(&value))
        return std::all_of(list->cbegin(), list->cend(),
                           [](const QString& item) { return item.trimmed().isEmpty(); });
    return false;
}

} // namespace

void DocumentProperties::addTo(Fields& fields) const
{
    const std::pair<const std::optional<DocumentValue>*, QString> values[] = {
        {&title, u"doc.title"_s},     {&authors, u"doc.authors"_s},
        {&creator, u"doc.creator"_s}, {&description, u"doc.description"_s},
        {&subject, u"doc.subject"_s},
    };
    for (const auto& [value, key] : values)
        if (*value && !isEmpty(**value))
            addDocumentValue(key, **value, fields);
    if (created)
        addDateFields(*created, u"doc."_s, fields);
    if (modified)
        addDateFields(*modified, u"doc.mod"_s, fields);
    const std::pair<const std::optional<QString>*, QString> texts[] = {
        {&lastAuthor, u"doc.last_author"_s}, {&company, u"doc.company"_s}, {&revision, u"doc.revision"_s}};
    for (const auto& [text, key] : texts)
        if (*text && !(*text)->trimmed().isEmpty())
            fields.insert(key, **text);
    const std::pair<const std::optional<qint64>*, QString> counts[] = {
        {&pages, u"doc.pages"_s}, {&words, u"doc.words"_s}, {&slides, u"doc.slides"_s}};
    for (const auto& [count, key] : counts)
        if (*count && **count >= 0)
            fields.insert(key, QString::number(**count));
}
