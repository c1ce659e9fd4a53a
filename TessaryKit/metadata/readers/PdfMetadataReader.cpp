// The PDF group on poppler: the document information dictionary and the page count.
#include "metadata/DateFields.h"
#include "metadata/readers/MetadataReaders.h"

#include <QFile>
#include <algorithm>
#include <memory>
#include <mutex>
#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>

using namespace Qt::StringLiterals;

namespace MetadataReaders {
namespace {

void prepareLibrary()
{
    static std::once_flag once;
    std::call_once(once,
                   [] { poppler::set_debug_error_function([](const std::string&, void*) {}, nullptr); });
}

QString text(const poppler::ustring& value)
{
    const poppler::byte_array utf8 = value.to_utf8();
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

} // namespace

void readPDFFields(const QString& path, Fields& fields)
{
    prepareLibrary();
    try {
        const std::unique_ptr<poppler::document> document(
            poppler::document::load_from_file(QFile::encodeName(path).toStdString()));
        if (!document)
            return;
        const std::vector<std::string> keys = document->info_keys();
        if (keys.empty())
            return; // no information dictionary: no PDF field at all
        const auto has = [&](const char* key) {
            return std::find(keys.cbegin(), keys.cend(), key) != keys.cend();
        };

        const std::pair<const char*, QString> textEntries[] = {
            {"Title", u"pdf.title"_s},     {"Author", u"pdf.author"_s},     {"Subject", u"pdf.subject"_s},
            {"Creator", u"pdf.creator"_s}, {"Producer", u"pdf.producer"_s},
        };
        for (const auto& [key, field] : textEntries)
            if (has(key))
                fields.insert(field, text(document->info_key(key)));
        const std::pair<const char*, QString> dateEntries[] = {{"CreationDate", u"pdf."_s},
                                                               {"ModDate", u"pdf.mod"_s}};
        for (const auto& [key, prefix] : dateEntries) {
            const time_t date = has(key) ? document->info_date_t(key) : time_t(-1);
            if (date != time_t(-1))
                addDateFields(QDateTime::fromSecsSinceEpoch(date), prefix, fields);
        }
        fields.insert(u"pdf.page_count"_s, QString::number(document->pages()));
    } catch (const std::exception& exception) {
        // A document poppler cannot read: what was read so far stays.
        logFailure("poppler", path, exception);
    }
}

} // namespace MetadataReaders
