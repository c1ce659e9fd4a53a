// The PDF group on poppler: the document information dictionary, the version and the page count.
#include "common/Diagnostics.h"
#include "metadata/DateFields.h"
#include "metadata/readers/MetadataReaders.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <memory>
#include <mutex>
#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>

// poppler's own PDFDocEncoding table, exported by the library that poppler-cpp wraps; poppler-cpp itself
// hands text without a byte-order mark over as Latin-1.
extern const unsigned int pdfDocEncoding[256];

using namespace Qt::StringLiterals;

namespace MetadataReaders {
namespace {

void prepareLibrary()
{
    static std::once_flag once;
    std::call_once(once,
                   [] { poppler::set_debug_error_function([](const std::string&, void*) {}, nullptr); });
}

// A text string of the information dictionary, as poppler-cpp gives it: decoded when it had a UTF-16
// byte-order mark, otherwise one code unit per byte. Those bytes are PDFDocEncoding, or UTF-8 behind its
// mark (PDF 2.0). Where PDFDocEncoding differs from Latin-1 (0x18–0x1F, 0x7F–0xA0, 0xAD), Latin-1 has
// controls, which no UTF-16 text carries, and the no-break space and soft hyphen, which PDFDocEncoding
// lacks: so a text with such a control is decoded as PDFDocEncoding whole, and any other text is taken
// as it is. The price is that 0xA0 alone reads as a no-break space, not as the euro sign.
QString decodedText(const poppler::ustring& value)
{
    const bool bytes = std::all_of(value.cbegin(), value.cend(), [](auto unit) { return unit <= 0xFF; });
    if (!bytes)
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(value.data()), qsizetype(value.size()));
    QByteArray raw(qsizetype(value.size()), Qt::Uninitialized);
    std::transform(value.cbegin(), value.cend(), raw.begin(), [](auto unit) { return char(unit); });
    if (raw.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(raw.mid(3));
    const bool pdfDocOnly = std::any_of(raw.cbegin(), raw.cend(), [](char byte) {
        const auto code = quint8(byte);
        return (code >= 0x18 && code <= 0x1F) || (code >= 0x7F && code <= 0x9F);
    });
    if (!pdfDocOnly)
        return QString::fromLatin1(raw);
    QString text;
    for (const char byte : std::as_const(raw))
        if (const char32_t code = pdfDocEncoding[quint8(byte)])
            text += QString::fromUcs4(&code, 1);
    return text;
}

// Whether the last cross-reference section is where the trailer says. When it isn't, poppler rebuilds
// the table by reading the whole file, which takes minutes for a damaged file of gigabytes.
bool hasIntactTrailer(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    constexpr qint64 tailSize = 2048;
    file.seek(std::max<qint64>(0, file.size() - tailSize));
    const QByteArray tail = file.read(tailSize);
    static const QRegularExpression startXref(u"startxref\\s+(\\d+)\\s+%%EOF"_s);
    QRegularExpressionMatch last;
    for (const auto& match : startXref.globalMatch(QString::fromLatin1(tail)))
        last = match;
    bool ok = false;
    const qint64 offset = last.captured(1).toLongLong(&ok);
    if (!ok || offset >= file.size() || !file.seek(offset))
        return false;
    static const QRegularExpression section(u"\\A\\s*(xref|\\d+\\s+\\d+\\s+obj)"_s);
    return section.match(QString::fromLatin1(file.read(64))).hasMatch();
}

// Files up to this size are handed to poppler whatever their state: rebuilding their table is quick.
constexpr qint64 rebuildableSize = 32 << 20;

} // namespace

void readPDFFields(const QString& path, Fields& fields)
{
    prepareLibrary();
    if (QFileInfo(path).size() > rebuildableSize && !hasIntactTrailer(path)) {
        qCWarning(metadataLog, "Failed to read a PDF: its cross-reference table is damaged");
        return;
    }
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
            {"Creator", u"pdf.creator"_s}, {"Producer", u"pdf.producer"_s}, {"Keywords", u"pdf.keywords"_s},
        };
        for (const auto& [key, field] : textEntries)
            if (has(key))
                fields.insert(field, decodedText(document->info_key(key)));
        const std::pair<const char*, QString> dateEntries[] = {{"CreationDate", u"pdf."_s},
                                                               {"ModDate", u"pdf.mod"_s}};
        for (const auto& [key, prefix] : dateEntries) {
            const time_t date = has(key) ? document->info_date_t(key) : time_t(-1);
            if (date != time_t(-1))
                addDateFields(QDateTime::fromSecsSinceEpoch(date), prefix, fields);
        }
        int major = 0;
        int minor = 0;
        document->get_pdf_version(&major, &minor);
        if (major > 0)
            fields.insert(u"pdf.version"_s, u"%1.%2"_s.arg(major).arg(minor));
        fields.insert(u"pdf.page_count"_s, QString::number(document->pages()));
    } catch (const std::exception& exception) {
        // A document poppler cannot read: what was read so far stays.
        logFailure("poppler", path, exception);
    }
}

} // namespace MetadataReaders
