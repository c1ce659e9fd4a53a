// OOXML and OpenDocument properties: the XML parts of the package, read through libzip.
#include "metadata/readers/MetadataReaders.h"

#include <QFile>
#include <QScopeGuard>
#include <QXmlStreamReader>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace MetadataReaders {
namespace {

const QString dublinCore = u"http://purl.org/dc/elements/1.1/"_s;
const QString dublinCoreTerms = u"http://purl.org/dc/terms/"_s;
const QString coreProperties = u"http://schemas.openxmlformats.org/package/2006/metadata/core-properties"_s;
const QString officeApplication =
    u"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"_s;
const QString openDocumentMeta = u"urn:oasis:names:tc:opendocument:xmlns:meta:1.0"_s;

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
    return ns == dublinCore || ns == dublinCoreTerms || ns == coreProperties || ns == officeApplication ||
           ns == openDocumentMeta;
}

// The property elements of an XML part (below the root, in the property namespaces): their texts by
// "namespace|name", and their attributes by "namespace|name@attribute". Read in one flat loop with a
// depth limit: a few hundred bytes of packed XML can nest tens of thousands of elements.
class PropertyTexts {
public:
    explicit PropertyTexts(const QByteArray& xml)
    {
        constexpr int depthLimit = 64;
        QXmlStreamReader reader(xml);
        int depth = 0;
        QString key; // the property being read, with the depth of its element
        int keyDepth = 0;
        QString text;
        while (!reader.atEnd() && !reader.hasError()) {
            switch (reader.readNext()) {
            case QXmlStreamReader::StartElement:
                if (++depth > depthLimit)
                    return;
                if (key.isEmpty() && depth > 1 && isPropertyNamespace(reader.namespaceUri())) {
                    key = reader.namespaceUri().toString() + u'|' + reader.name().toString();
                    keyDepth = depth;
                    text.clear();
                    for (const QXmlStreamAttribute& attribute : reader.attributes())
                        insertFirst(key + u'@' + attribute.name().toString(), attribute.value().toString());
                }
                break;
            case QXmlStreamReader::Characters:
                if (!key.isEmpty())
                    text += reader.text();
                break;
            case QXmlStreamReader::EndElement:
                if (depth-- == keyDepth && !key.isEmpty()) {
                    insertFirst(key, text);
                    key.clear();
                }
                break;
            default:
                break;
            }
        }
    }

    std::optional<QString> text(const QString& ns, const QString& name) const
    {
        const auto it = texts.constFind(ns + u'|' + name);
        return it == texts.cend() ? std::nullopt : std::optional(*it);
    }

    std::optional<DocumentValue> value(const QString& ns, const QString& name) const
    {
        const auto found = text(ns, name);
        return found ? std::optional<DocumentValue>(*found) : std::nullopt;
    }

    // Word keeps several authors in one text, separated by semicolons.
    std::optional<DocumentValue> authors(const QString& ns, const QString& name) const
    {
        const auto found = text(ns, name);
        if (!found)
            return std::nullopt;
        QStringList authors;
        for (const QString& author : found->split(u';', Qt::SkipEmptyParts))
            authors.append(author.trimmed());
        return DocumentValue(authors);
    }

    std::optional<QDateTime> date(const QString& ns, const QString& name) const
    {
        const auto found = text(ns, name);
        const QDateTime date =
            found ? QDateTime::fromString(found->trimmed(), Qt::ISODateWithMs) : QDateTime();
        return date.isValid() ? std::optional(date) : std::nullopt;
    }

    std::optional<qint64> count(const QString& key) const
    {
        bool ok = false;
        const qint64 number = texts.value(key).trimmed().toLongLong(&ok);
        return ok ? std::optional(number) : std::nullopt;
    }
    std::optional<qint64> count(const QString& ns, const QString& name) const
    {
        return count(ns + u'|' + name);
    }

private:
    // The first element of each name counts.
    void insertFirst(const QString& key, const QString& text)
    {
        if (!texts.contains(key))
            texts.insert(key, text);
    }

    QHash<QString, QString> texts;
};

DocumentProperties openDocumentProperties(const PropertyTexts& meta)
{
    const QString statistic = openDocumentMeta + u"|document-statistic@"_s;
    const bool hasInitialCreator = meta.text(openDocumentMeta, u"initial-creator"_s).has_value();
    DocumentProperties properties;
    properties.title = meta.value(dublinCore, u"title"_s);
    properties.authors = hasInitialCreator ? meta.authors(openDocumentMeta, u"initial-creator"_s)
                                           : meta.authors(dublinCore, u"creator"_s);
    properties.creator = meta.value(openDocumentMeta, u"generator"_s);
    properties.description = meta.value(dublinCore, u"description"_s);
    properties.subject = meta.value(dublinCore, u"subject"_s);
    properties.created = meta.date(openDocumentMeta, u"creation-date"_s);
    properties.modified = meta.date(dublinCore, u"date"_s);
    // In OpenDocument dc:creator is whoever saved the document last.
    if (hasInitialCreator)
        properties.lastAuthor = meta.text(dublinCore, u"creator"_s);
    properties.revision = meta.text(openDocumentMeta, u"editing-cycles"_s);
    properties.pages = meta.count(statistic + u"page-count"_s);
    properties.words = meta.count(statistic + u"word-count"_s);
    return properties;
}

DocumentProperties officeOpenProperties(const PropertyTexts& core, const PropertyTexts& application)
{
    DocumentProperties properties;
    properties.title = core.value(dublinCore, u"title"_s);
    properties.authors = core.authors(dublinCore, u"creator"_s);
    properties.creator = application.value(officeApplication, u"Application"_s);
    properties.description = core.value(dublinCore, u"description"_s);
    properties.subject = core.value(dublinCore, u"subject"_s);
    properties.created = core.date(dublinCoreTerms, u"created"_s);
    properties.modified = core.date(dublinCoreTerms, u"modified"_s);
    properties.lastAuthor = core.text(coreProperties, u"lastModifiedBy"_s);
    properties.revision = core.text(coreProperties, u"revision"_s);
    properties.company = application.text(officeApplication, u"Company"_s);
    properties.pages = application.count(officeApplication, u"Pages"_s);
    properties.words = application.count(officeApplication, u"Words"_s);
    properties.slides = application.count(officeApplication, u"Slides"_s);
    return properties;
}

} // namespace

std::optional<DocumentProperties> readPackageProperties(const QString& path)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive)
        return std::nullopt;
    const auto close = qScopeGuard([&] { zip_discard(archive); });
    if (const auto meta = zipEntry(archive, "meta.xml"))
        return openDocumentProperties(PropertyTexts(*meta));
    if (const auto core = zipEntry(archive, "docProps/core.xml"))
        return officeOpenProperties(
            PropertyTexts(*core),
            PropertyTexts(zipEntry(archive, "docProps/app.xml").value_or(QByteArray())));
    return std::nullopt;
}

} // namespace MetadataReaders
