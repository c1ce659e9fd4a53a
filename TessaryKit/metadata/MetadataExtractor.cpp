#include "metadata/MetadataExtractor.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "common/Signpost.h"
#include "metadata/DateFields.h"
#include "metadata/readers/MetadataReaders.h"
#include "platform/FileDates.h"

#include <QMimeDatabase>
#include <QSet>
#include <QThread>
#include <QThreadPool>
#include <atomic>
#include <latch>
#include <sys/stat.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace MetadataExtractor {
namespace {

const QSet<QString> imageExtensions{u"jpg"_s,  u"jpeg"_s, u"png"_s, u"heic"_s, u"heif"_s,
                                    u"tiff"_s, u"raw"_s,  u"cr2"_s, u"nef"_s,  u"arw"_s};
const QSet<QString> movieExtensions{u"mp4"_s, u"mov"_s, u"m4v"_s, u"avi"_s, u"mkv"_s, u"wmv"_s};
const QSet<QString> audioExtensions{u"mp3"_s, u"m4a"_s, u"aac"_s, u"wav"_s, u"flac"_s, u"ogg"_s};
const QSet<QString> pdfExtensions{u"pdf"_s};
// OpenDocument files, the office format of Linux desktops, are read too.
const QSet<QString> documentExtensions{u"doc"_s,   u"docx"_s,    u"xls"_s, u"xlsx"_s, u"ppt"_s, u"pptx"_s,
                                       u"pages"_s, u"numbers"_s, u"key"_s, u"odt"_s,  u"ods"_s, u"odp"_s};

// What the shared MIME database says of an extension: which of the four kinds it conforms to.
struct Kinds {
    bool image = false;
    bool movie = false;
    bool audio = false;
    bool pdf = false;
};

Kinds kindsOf(const QString& extension)
{
    Kinds kinds;
    if (extension.isEmpty())
        return kinds;
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(u"x."_s + extension, QMimeDatabase::MatchExtension);
    QStringList names = type.allAncestors();
    names.prepend(type.name());
    for (const QString& name : names) {
        kinds.image |= name.startsWith(u"image/"_s);
        kinds.movie |= name.startsWith(u"video/"_s);
        kinds.audio |= name.startsWith(u"audio/"_s);
        kinds.pdf |= name == u"application/pdf"_s;
    }
    return kinds;
}

// Returns whether the file has content to read: a folder or a pipe has none, and reading a pipe could
// wait forever.
bool readFileFields(const QString& path, const FileNameParts& parts, Fields& fields)
{
    fields.insert(u"filename"_s, parts.stem);
    QString error;
    const auto dates = FileDates::read(path, &error);
    if (!dates) {
        qCWarning(metadataLog, "Failed to read file dates: %s", qUtf8Printable(error));
        return false;
    }
    if (dates->created)
        addDateFields(*dates->created, QString(), fields);
    if (dates->modified)
        addDateFields(*dates->modified, u"mod"_s, fields);
    return dates->regularFile;
}

void readDocumentFields(const QString& extension, const QString& path, Fields& fields)
{
    static const QSet<QString> legacy{u"doc"_s, u"xls"_s, u"ppt"_s};
    const auto properties = legacy.contains(extension) ? MetadataReaders::readLegacyProperties(path)
                                                       : MetadataReaders::readPackageProperties(path);
    if (properties)
        properties->addTo(fields);
}

// Text read from a file is often padded ("OLYMPUS IMAGING CORP.  "); blanks must never reach a name.
void trimReadValues(Fields& fields)
{
    static const QString fileName = u"filename"_s; // the name itself, not read from the file
    for (auto it = fields.begin(); it != fields.end(); ++it)
        if (it.key() != fileName)
            *it = it->trimmed();
}

} // namespace

int width(int processors)
{
    return processors < 4 ? 2 : std::min(processors / 2, 8);
}

Fields extract(const QString& path)
{
    const FileNameParts parts = FileNameParts::of(path);
    const QString extension = parts.extension.toLower();
    const Kinds kinds = kindsOf(extension);

    Fields fields;
    if (!readFileFields(path, parts, fields))
        return fields;
    if (kinds.image || imageExtensions.contains(extension))
        MetadataReaders::readImageFields(path, fields);
    if (kinds.movie || movieExtensions.contains(extension))
        MetadataReaders::readVideoFields(path, fields);
    if (kinds.audio || audioExtensions.contains(extension))
        MetadataReaders::readAudioFields(path, fields);
    if (kinds.pdf || pdfExtensions.contains(extension))
        MetadataReaders::readPDFFields(path, fields);
    if (documentExtensions.contains(extension))
        readDocumentFields(extension, path, fields);
    trimReadValues(fields);
    return fields;
}

namespace {

// The readers' own pool: a caller running on another pool's thread never waits for a thread of its own
// pool.
struct ReaderPool : QThreadPool {
    ReaderPool() { setMaxThreadCount(width(QThread::idealThreadCount())); }
};

QThreadPool& readerPool()
{
    static ReaderPool pool;
    return pool;
}

} // namespace

QList<Fields> fields(const QStringList& paths, const std::function<void()>& fileRead)
{
    const Signpost signpost("Read metadata", u"%1 files"_s.arg(paths.size()));
    QList<Fields> results(paths.size());
    // Each reader takes the next file in input order as soon as it is free, and writes its own position.
    std::atomic<qsizetype> next = 0;
    const auto read = [&] {
        for (qsizetype i; (i = next++) < paths.size();) {
            results[i] = extract(paths[i]);
            if (fileRead)
                fileRead();
        }
    };
    // The caller reads too; the pool's threads stay for the next batch instead of starting anew.
    const qsizetype helpers = std::min<qsizetype>(readerPool().maxThreadCount(), paths.size()) - 1;
    std::latch finished(std::max<qsizetype>(helpers, 0));
    for (qsizetype i = 0; i < helpers; ++i)
        readerPool().start([&] {
            read();
            finished.count_down();
        });
    read();
    finished.wait();
    return results;
}

} // namespace MetadataExtractor
