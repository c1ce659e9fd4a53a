#include "metadata/DocumentProperties.h"

#include "metadata/DateFields.h"

using namespace Qt::StringLiterals;

namespace {

bool isEmptyText(const DocumentValue& value)
{
    const auto* text = std::get_if<QString>(&value);
    return text && text->trimmed().isEmpty();
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
        if (*value && !isEmptyText(**value))
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
