// Legacy OLE2 documents (.doc, .xls, .ppt): the summary information property sets, read through libgsf.
#include "common/Diagnostics.h"
#include "metadata/readers/CodePageText.h"
#include "metadata/readers/MetadataReaders.h"

#include <QFile>
#include <QScopeGuard>
#include <algorithm>
#include <gsf/gsf.h>
#include <mutex>

using namespace Qt::StringLiterals;

namespace MetadataReaders {
namespace {

void routeGlibMessage(const gchar* domain, GLogLevelFlags, const gchar* message, gpointer)
{
    qCDebug(metadataLog, "%s: %s", domain ? domain : "GLib", message);
}

void prepareLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        // Damaged files make libgsf warn, and dump bytes with g_print: none of it may reach standard
        // output, where it would corrupt --json, or standard error.
        const auto levels = GLogLevelFlags(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION);
        for (const char* domain : {static_cast<const char*>(nullptr), "GLib", "GLib-GObject", "GLib-GIO",
                                   "libgsf", "libgsf:msole", "libgsf:tar", "libgsf:zip"})
            g_log_set_handler(domain, levels, routeGlibMessage, nullptr);
        g_set_print_handler([](const gchar*) {});
        g_set_printerr_handler([](const gchar*) {});
    });
}

// One property set stream, with the code page its texts were written in.
class PropertySet {
public:
    PropertySet(GsfInfile* ole, const char* stream) : meta(gsf_doc_meta_data_new())
    {
        GsfInput* input = gsf_infile_child_by_name(ole, stream);
        if (!input)
            return;
        GError* error = gsf_doc_meta_data_read_from_msole(meta, input);
        g_object_unref(input);
        read = !error;
        if (error)
            g_error_free(error);
        const GValue* codePageValue = valueOf(GSF_META_NAME_CODEPAGE);
        if (codePageValue && G_VALUE_HOLDS_INT(codePageValue) && !iconvKnows(g_value_get_int(codePageValue)))
            misdecodedCodePage = g_value_get_int(codePageValue);
    }
    ~PropertySet() { g_object_unref(meta); }
    PropertySet(const PropertySet&) = delete;
    PropertySet& operator=(const PropertySet&) = delete;

    bool wasRead() const { return read; }

    std::optional<QString> text(const char* name) const
    {
        const GValue* value = valueOf(name);
        if (!value || !G_VALUE_HOLDS_STRING(value) || !g_value_get_string(value))
            return std::nullopt;
        return decoded(QString::fromUtf8(g_value_get_string(value)));
    }

    std::optional<DocumentValue> value(const char* name) const
    {
        const GValue* value = valueOf(name);
        if (!value)
            return std::nullopt;
        if (G_VALUE_HOLDS_STRING(value)) {
            const auto found = text(name);
            return found ? std::optional<DocumentValue>(*found) : std::nullopt;
        }
        if (const auto date = dateOf(value))
            return DocumentValue(*date);
        if (G_VALUE_HOLDS(value, GSF_DOCPROP_VECTOR_TYPE))
            return DocumentValue(list(value));
        if (const auto number = countOf(value))
            return DocumentValue(*number);
        if (G_VALUE_HOLDS_DOUBLE(value))
            return DocumentValue(g_value_get_double(value));
        gchar* description = g_strdup_value_contents(value);
        const QString text = QString::fromUtf8(description);
        g_free(description);
        return DocumentValue(OtherDocumentValue{text});
    }

    std::optional<QDateTime> date(const char* name) const
    {
        const GValue* value = valueOf(name);
        return value ? dateOf(value) : std::nullopt;
    }

    std::optional<qint64> count(const char* name) const
    {
        const GValue* value = valueOf(name);
        return value ? countOf(value) : std::nullopt;
    }

private:
    const GValue* valueOf(const char* name) const
    {
        GsfDocProp* property = gsf_doc_meta_data_lookup(meta, name);
        return property ? gsf_doc_prop_get_val(property) : nullptr;
    }

    static std::optional<QDateTime> dateOf(const GValue* value)
    {
        if (!G_VALUE_HOLDS(value, GSF_TIMESTAMP_TYPE))
            return std::nullopt;
        const auto* timestamp = static_cast<const GsfTimestamp*>(g_value_get_boxed(value));
        return QDateTime::fromSecsSinceEpoch(qint64(timestamp->timet));
    }

    static std::optional<qint64> countOf(const GValue* value)
    {
        if (G_VALUE_HOLDS_INT(value))
            return qint64(g_value_get_int(value));
        if (G_VALUE_HOLDS_UINT(value))
            return qint64(g_value_get_uint(value));
        return std::nullopt;
    }

    QStringList list(const GValue* value) const
    {
        // Debian's libgsf declares gsf_value_get_docprop_array but does not export it: use the older call.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        QStringList texts;
        GValueArray* array = gsf_value_get_docprop_varray(value);
        for (guint i = 0; array && i < array->n_values; ++i) {
            const GValue* element = g_value_array_get_nth(array, i);
            if (G_VALUE_HOLDS_STRING(element))
                if (const auto text = decoded(QString::fromUtf8(g_value_get_string(element))))
                    texts.append(*text);
        }
#pragma GCC diagnostic pop
        return texts;
    }

    // libgsf decodes texts through iconv, and where iconv lacks the set's code page (Mac Simplified
    // Chinese, 10008, for one) as windows-1252. Such a text is encoded back and decoded with ICU; where
    // ICU can't either, the text is left out rather than shown wrong. ASCII reads the same in all of them.
    std::optional<QString> decoded(const QString& text) const
    {
        if (!misdecodedCodePage)
            return text;
        const auto bytes = CodePageText::windows1252Bytes(text);
        if (bytes &&
            std::all_of(bytes->cbegin(), bytes->cend(), [](char byte) { return quint8(byte) < 0x80; }))
            return text;
        // The code page is stored in 16 bits: UTF-8's 65001 comes back as -535.
        return bytes ? CodePageText::decode(*bytes, quint16(*misdecodedCodePage)) : std::nullopt;
    }

    static bool iconvKnows(int codePage)
    {
        const GIConv converter = gsf_msole_iconv_open_for_import(codePage);
        if (converter == GIConv(-1))
            return false;
        g_iconv_close(converter);
        return true;
    }

    GsfDocMetaData* meta;
    bool read = false;
    std::optional<int> misdecodedCodePage; // the set's code page, as libgsf read it, when iconv lacks it
};

DocumentProperties propertiesOf(const PropertySet& summary, const PropertySet& documentSummary)
{
    DocumentProperties properties;
    properties.title = summary.value(GSF_META_NAME_TITLE);
    properties.authors = summary.value(GSF_META_NAME_CREATOR);
    properties.creator = summary.value(GSF_META_NAME_GENERATOR);
    properties.description = summary.value(GSF_META_NAME_DESCRIPTION);
    properties.subject = summary.value(GSF_META_NAME_SUBJECT);
    properties.created = summary.date(GSF_META_NAME_DATE_CREATED);
    properties.modified = summary.date(GSF_META_NAME_DATE_MODIFIED);
    properties.lastAuthor = summary.text(GSF_META_NAME_LAST_SAVED_BY);
    properties.revision = summary.text(GSF_META_NAME_REVISION_COUNT);
    properties.pages = summary.count(GSF_META_NAME_PAGE_COUNT);
    properties.words = summary.count(GSF_META_NAME_WORD_COUNT);
    properties.company = documentSummary.text(GSF_META_NAME_COMPANY);
    properties.slides = documentSummary.count(GSF_META_NAME_SLIDE_COUNT);
    return properties;
}

} // namespace

std::optional<DocumentProperties> readLegacyProperties(const QString& path)
{
    prepareLibrary();
    GsfInput* input = gsf_input_stdio_new(QFile::encodeName(path).constData(), nullptr);
    GsfInfile* ole = input ? gsf_infile_msole_new(input, nullptr) : nullptr;
    const auto release = qScopeGuard([&] {
        for (gpointer object : {gpointer(ole), gpointer(input)})
            if (object)
                g_object_unref(object);
    });
    if (!ole)
        return std::nullopt;
    const PropertySet summary(ole, "\005SummaryInformation");
    if (!summary.wasRead())
        return std::nullopt;
    const PropertySet documentSummary(ole, "\005DocumentSummaryInformation");
    return propertiesOf(summary, documentSummary);
}

} // namespace MetadataReaders
