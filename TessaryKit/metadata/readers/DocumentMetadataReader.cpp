// The office document group, read from the documents themselves: OOXML and OpenDocument packages through
// libzip, legacy OLE2 files through libgsf's summary information.
#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "metadata/DocumentValue.h"
#include "metadata/readers/MetadataReaders.h"

#include <QFile>
#include <QXmlStreamReader>
#include <gsf/gsf.h>
#include <mutex>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace MetadataReaders {
namespace {

const QString dublinCore = u"http://purl.org/dc/elements/1.1/"_s;
const QString openDocumentMeta = u"urn:oasis:names:tc:opendocument:xmlns:meta:1.0"_s;
const QString officeApplication =
    u"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"_s;

// The five properties, as each format names them.
struct DocumentProperties {
    std::optional<DocumentValue> title, authors, creator, description, subject;

    void addTo(Fields& fields) const
    {
        const std::pair<const std::optional<DocumentValue>*, QString> entries[] = {
            {&title, u"doc.title"_s},     {&authors, u"doc.authors"_s},
            {&creator, u"doc.creator"_s}, {&description, u"doc.description"_s},
            {&subject, u"doc.subject"_s},
        };
        for (const auto& [value, key] : entries)
            if (*value)
                addDocumentValue(key, **value, fields);
    }
};

std::optional<QByteArray> zipEntry(zip_t* archive, const char* name)
{
    zip_stat_t status;
    zip_stat_init(&status);
    if (zip_stat(archive, name, 0, &status) != 0 || !(status.valid & ZIP_STAT_SIZE) ||
        status.size > (16u << 20))
        return std::nullopt;
    zip_file_t* file = zip_fopen(archive, name, 0);
    if (!file)
        return std::nullopt;
    QByteArray bytes(qsizetype(status.size), Qt::Uninitialized);
    const zip_int64_t read = zip_fread(file, bytes.data(), status.size);
    zip_fclose(file);
    if (read != zip_int64_t(status.size))
        return std::nullopt;
    return bytes;
}

bool isPropertyNamespace(QStringView ns)
{
    return ns == dublinCore || ns == openDocumentMeta || ns == officeApplication;
}

// Texts of the property elements of an XML part (below the root, in the property namespaces), by
// namespace and name. Read in one flat loop with a depth limit: a few hundred bytes of packed XML can
// nest tens of thousands of elements.
QHash<QString, QString> elementTexts(const QByteArray& xml)
{
    constexpr int depthLimit = 64;
    QHash<QString, QString> texts;
    QXmlStreamReader reader(xml);
    int depth = 0;
    QString key; // the property being read, with the depth of its element
    int keyDepth = 0;
    QString text;
    while (!reader.atEnd() && !reader.hasError()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > depthLimit)
                return texts;
            if (key.isEmpty() && depth > 1 && isPropertyNamespace(reader.namespaceUri())) {
                key = reader.namespaceUri().toString() + u'|' + reader.name().toString();
                keyDepth = depth;
                text.clear();
            }
            break;
        case QXmlStreamReader::Characters:
            if (!key.isEmpty())
                text += reader.text();
            break;
        case QXmlStreamReader::EndElement:
            if (depth-- == keyDepth && !key.isEmpty()) {
                if (!texts.contains(key))
                    texts.insert(key, text);
                key.clear();
            }
            break;
        default:
            break;
        }
    }
    return texts;
}

std::optional<DocumentValue> textValue(const QHash<QString, QString>& texts, const QString& ns,
                                       const QString& name)
{
    const auto it = texts.constFind(ns + u'|' + name);
    return it == texts.cend() ? std::nullopt : std::optional<DocumentValue>(*it);
}

// Word keeps several authors in one text, separated by semicolons.
std::optional<DocumentValue> authorsValue(const QHash<QString, QString>& texts, const QString& ns,
                                          const QString& name)
{
    const auto it = texts.constFind(ns + u'|' + name);
    if (it == texts.cend())
        return std::nullopt;
    QStringList authors;
    for (const QString& author : it->split(u';', Qt::SkipEmptyParts))
        authors.append(author.trimmed());
    return DocumentValue(authors);
}

std::optional<DocumentProperties> readPackage(const QString& path)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive)
        return std::nullopt;
    std::optional<DocumentProperties> properties;
    if (const auto meta = zipEntry(archive, "meta.xml")) { // OpenDocument
        const auto texts = elementTexts(*meta);
        const bool hasInitialCreator = texts.contains(openDocumentMeta + u"|initial-creator"_s);
        properties = DocumentProperties{
            textValue(texts, dublinCore, u"title"_s),
            hasInitialCreator ? authorsValue(texts, openDocumentMeta, u"initial-creator"_s)
                              : authorsValue(texts, dublinCore, u"creator"_s),
            textValue(texts, openDocumentMeta, u"generator"_s),
            textValue(texts, dublinCore, u"description"_s),
            textValue(texts, dublinCore, u"subject"_s),
        };
    } else if (const auto core = zipEntry(archive, "docProps/core.xml")) { // OOXML
        const auto texts = elementTexts(*core);
        const auto application = zipEntry(archive, "docProps/app.xml");
        properties = DocumentProperties{
            textValue(texts, dublinCore, u"title"_s),
            authorsValue(texts, dublinCore, u"creator"_s),
            application ? textValue(elementTexts(*application), officeApplication, u"Application"_s)
                        : std::nullopt,
            textValue(texts, dublinCore, u"description"_s),
            textValue(texts, dublinCore, u"subject"_s),
        };
    }
    zip_discard(archive);
    return properties;
}

void routeGlibMessage(const gchar* domain, GLogLevelFlags, const gchar* message, gpointer)
{
    qCDebug(metadataLog, "%s: %s", domain ? domain : "GLib", message);
}

void prepareGsf()
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

std::optional<DocumentValue> gsfValue(GsfDocMetaData* meta, const char* name)
{
    GsfDocProp* property = gsf_doc_meta_data_lookup(meta, name);
    const GValue* value = property ? gsf_doc_prop_get_val(property) : nullptr;
    if (!value)
        return std::nullopt;
    if (G_VALUE_HOLDS_STRING(value))
        return DocumentValue(QString::fromUtf8(g_value_get_string(value)));
    if (G_VALUE_HOLDS(value, GSF_TIMESTAMP_TYPE)) {
        const auto* timestamp = static_cast<const GsfTimestamp*>(g_value_get_boxed(value));
        return DocumentValue(QDateTime::fromSecsSinceEpoch(qint64(timestamp->timet)));
    }
    if (G_VALUE_HOLDS(value, GSF_DOCPROP_VECTOR_TYPE)) {
        // Debian's libgsf declares gsf_value_get_docprop_array but does not export it: use the older call.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        QStringList list;
        GValueArray* array = gsf_value_get_docprop_varray(value);
        for (guint i = 0; array && i < array->n_values; ++i) {
            const GValue* element = g_value_array_get_nth(array, i);
            if (G_VALUE_HOLDS_STRING(element))
                list.append(QString::fromUtf8(g_value_get_string(element)));
        }
#pragma GCC diagnostic pop
        return DocumentValue(list);
    }
    if (G_VALUE_HOLDS_INT(value))
        return DocumentValue(qint64(g_value_get_int(value)));
    if (G_VALUE_HOLDS_UINT(value))
        return DocumentValue(qint64(g_value_get_uint(value)));
    if (G_VALUE_HOLDS_DOUBLE(value))
        return DocumentValue(g_value_get_double(value));
    gchar* description = g_strdup_value_contents(value);
    const QString text = QString::fromUtf8(description);
    g_free(description);
    return DocumentValue(OtherDocumentValue{text});
}

std::optional<DocumentProperties> readSummaryInformation(const QString& path)
{
    prepareGsf();
    GsfInput* input = gsf_input_stdio_new(QFile::encodeName(path).constData(), nullptr);
    GsfInfile* ole = input ? gsf_infile_msole_new(input, nullptr) : nullptr;
    GsfInput* summary = ole ? gsf_infile_child_by_name(ole, "\005SummaryInformation") : nullptr;
    GsfDocMetaData* meta = gsf_doc_meta_data_new();
    std::optional<DocumentProperties> properties;
    if (summary) {
        if (GError* error = gsf_doc_meta_data_read_from_msole(meta, summary))
            g_error_free(error);
        else
            properties = DocumentProperties{
                gsfValue(meta, GSF_META_NAME_TITLE),     gsfValue(meta, GSF_META_NAME_CREATOR),
                gsfValue(meta, GSF_META_NAME_GENERATOR), gsfValue(meta, GSF_META_NAME_DESCRIPTION),
                gsfValue(meta, GSF_META_NAME_SUBJECT),
            };
    }
    g_object_unref(meta);
    for (gpointer object : {gpointer(summary), gpointer(ole), gpointer(input)})
        if (object)
            g_object_unref(object);
    return properties;
}

} // namespace

void readDocumentFields(const QString& path, Fields& fields)
{
    const QString extension = FileNameParts::of(path).extension.toLower();
    static const QSet<QString> legacy{u"doc"_s, u"xls"_s, u"ppt"_s};
    const auto properties = legacy.contains(extension) ? readSummaryInformation(path) : readPackage(path);
    if (properties)
        properties->addTo(fields);
}

} // namespace MetadataReaders
