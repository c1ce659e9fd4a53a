#include "metadata/MetadataExtractor.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "common/Signpost.h"
#include "metadata/DateFields.h"
#include "metadata/ReaderModules.h"
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

using FieldCatalogue::Groups;

// The only field made from the path rather than read from the file.
const QString fileNameField = u"filename"_s;

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
// wait forever. The dates go into `fields` when `withDates`.
bool readFileFields(const QString& path, bool withDates, Fields& fields)
{
    QString error;
    const auto dates = FileDates::read(path, &error);
    if (!dates) {
        qCWarning(metadataLog, "Failed to read file dates: %s", qUtf8Printable(error));
        return false;
    }
    if (withDates && dates->created)
        addDateFields(*dates->created, QString(), fields);
    if (withDates && dates->modified)
        addDateFields(*dates->modified, u"mod"_s, fields);
    return dates->regularFile;
}

// Text read from a file is often padded ("OLYMPUS IMAGING CORP.  "); blanks must never reach a name.
void trimReadValues(Fields& fields)
{
    fields.changeValues([](const QString& key, const QString& value) {
        return key == fileNameField ? value : value.trimmed();
    });
}

} // namespace

int width(int processors)
{
    return processors < 4 ? 2 : std::min(processors / 2, 8);
}

Fields extract(const QString& path, FieldCatalogue::Groups groups)
{
    using FieldCatalogue::Group;
    Fields fields{{fileNameField, FileNameParts::stemOf(path)}};
    if (!groups) // nothing but the name is asked for: neither the type database nor the disk is asked
        return fields;
    const QString extension = FileNameParts::extensionOf(path).toLower();
    const Kinds kinds = kindsOf(extension);
    Groups wanted;
    wanted.setFlag(Group::Image, kinds.image || imageExtensions.contains(extension));
    wanted.setFlag(Group::Video, kinds.movie || movieExtensions.contains(extension));
    wanted.setFlag(Group::Audio, kinds.audio || audioExtensions.contains(extension));
    wanted.setFlag(Group::Pdf, kinds.pdf || pdfExtensions.contains(extension));
    wanted.setFlag(Group::Document, documentExtensions.contains(extension));
    wanted &= groups;
    const bool withDates = groups.testFlag(Group::File);
    if ((!withDates && !wanted) || !readFileFields(path, withDates, fields))
        return fields;
    for (const Group group : FieldCatalogue::groups)
        if (wanted.testFlag(group))
            ReaderModules::read(group, path, fields);
    trimReadValues(fields);
    return fields;
}

namespace {

// The readers' own pool: a caller running on another pool's thread never waits for a thread of its own
// pool.
struct ReaderPool : QThreadPool {
    ReaderPool() { setMaxThreadCount(width(QThread::idealThreadCount())); }
};

// Never destroyed: every batch waits for its helpers, so at exit the threads are idle. A pool destroyed
// among the static destructors would end its threads while the process ends, and a thread's last
// teardown steps run after QThread::wait returns.
QThreadPool& readerPool()
{
    static auto* const pool = new ReaderPool;
    return *pool;
}

} // namespace

QList<Fields> fields(const QStringList& paths, const std::function<void()>& fileRead,
                     FieldCatalogue::Groups groups)
{
    const Signpost signpost("Read metadata", u"%1 files"_s.arg(paths.size()));
    QList<Fields> results(paths.size());
    // Each reader takes the next file in input order as soon as it is free, and writes its own position.
    std::atomic<qsizetype> next = 0;
    const auto read = [&] {
        for (qsizetype i; (i = next++) < paths.size();) {
            results[i] = extract(paths[i], groups);
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
    shareRepeatedValues(results);
    return results;
}

void shareRepeatedValues(QList<Fields>& files)
{
    QSet<QString> seen;
    for (Fields& fields : files)
        fields.changeValues([&](const QString& key, const QString& value) {
            if (key == fileNameField) // differs from file to file
                return value;
            const auto known = seen.constFind(value);
            if (known != seen.cend())
                return *known;
            seen.insert(value);
            return value;
        });
}

} // namespace MetadataExtractor
