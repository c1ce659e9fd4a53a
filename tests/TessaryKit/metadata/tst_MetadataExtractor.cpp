#include "LogCapture.h"
#include "metadata/FieldCatalogue.h"
#include "metadata/MetadataExtractor.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString fixtureFolder = QStringLiteral(TESSARY_FIXTURES);
const QString realWorldFolder = QStringLiteral(TESSARY_REAL_WORLD);
const QStringList fileDateKeys{u"date"_s, u"time"_s, u"moddate"_s, u"modtime"_s};

Fields withoutFileDates(Fields fields)
{
    for (const QString& key : fileDateKeys)
        fields.remove(key);
    return fields;
}

// Sends one of the process's standard streams to a file for the lifetime of the object.
class StreamCapture {
public:
    StreamCapture(int stream, const QString& path) : stream(stream)
    {
        std::fflush(nullptr);
        saved = ::dup(stream);
        const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(file, stream);
        ::close(file);
    }
    ~StreamCapture()
    {
        std::fflush(nullptr);
        ::dup2(saved, stream);
        ::close(saved);
    }

private:
    int stream;
    int saved;
};

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

Q_DECLARE_METATYPE(Fields)

namespace {

// Each case: a fixture and every field it must give besides the file's own dates.
struct FixtureCase {
    const char* tag;
    QString fixture;
    Fields expected;
};

QList<FixtureCase> fixtureCases()
{
    // The five properties of every format, then what the document adds of the others (empty texts
    // leave an entry out).
    const auto document = [](const QString& name, const QStringList& five, const Fields& more) {
        const QStringList keys{u"doc.title"_s, u"doc.authors"_s, u"doc.creator"_s, u"doc.description"_s,
                               u"doc.subject"_s};
        Fields fields = more;
        fields.insert(u"filename"_s, name);
        for (qsizetype i = 0; i < keys.size(); ++i)
            if (!five[i].isEmpty())
                fields.insert(keys[i], five[i]);
        return fields;
    };
    const Fields datesOfEveryDocument{{u"doc.date"_s, u"2020-02-03"_s},
                                      {u"doc.time"_s, u"04-05-06"_s},
                                      {u"doc.moddate"_s, u"2021-03-04"_s},
                                      {u"doc.modtime"_s, u"05-06-07"_s}};
    const auto withDates = [&](Fields fields) {
        fields.insert(datesOfEveryDocument);
        return fields;
    };
    // The one-second mono test songs, tagged "<tagger> Title", "<tagger> Artist" and "<tagger> Album".
    const auto monoSong = [](const QString& tagger, const QString& genre, const QString& track,
                             const QString& disc, const QString& codec, const QString& bitrate) {
        return Fields{{u"filename"_s, u"song"_s},
                      {u"audio.duration"_s, u"1"_s},
                      {u"audio.title"_s, tagger + u" Title"_s},
                      {u"audio.artist"_s, tagger + u" Artist"_s},
                      {u"audio.album"_s, tagger + u" Album"_s},
                      {u"audio.genre"_s, genre},
                      {u"audio.track_number"_s, track},
                      {u"audio.track_total"_s, u"12"_s},
                      {u"audio.disc_number"_s, disc},
                      {u"audio.disc_total"_s, QString::number(disc.toInt() + 1)},
                      {u"audio.codec"_s, codec},
                      {u"audio.bitrate"_s, bitrate},
                      {u"audio.year"_s, u"2019"_s},
                      {u"audio.sample_rate"_s, u"44100"_s},
                      {u"audio.channels"_s, u"1"_s},
                      {u"audio.channel_type"_s, u"mono"_s}};
    };
    // The fields packed a few to a line, so that each case reads as one block.
    // clang-format off
    return {
        {"JPEG with camera and GPS", u"photo.jpg"_s,
         Fields{{u"filename"_s, u"photo"_s}, {u"image.width"_s, u"320"_s}, {u"image.height"_s, u"240"_s},
                {u"image.make"_s, u"Tessary"_s}, {u"image.model"_s, u"Test Camera"_s},
                {u"image.lens"_s, u"Test Lens 35mm"_s}, {u"image.exposure"_s, u"0.0040"_s},
                {u"image.exposure.frac"_s, u"1-250"_s}, {u"image.aperture"_s, u"f2.8"_s},
                {u"image.fnumber"_s, u"2.8"_s}, {u"image.iso"_s, u"400"_s},
                {u"image.focal_length"_s, u"35"_s}, {u"image.focal_length_35mm"_s, u"52"_s},
                {u"image.date"_s, u"2023-07-14"_s}, {u"image.time"_s, u"18-22-05"_s},
                {u"image.offset"_s, u"+02-00"_s}, {u"image.latitude"_s, u"-33.856800"_s}, {u"image.longitude"_s, u"-151.215300"_s},
                {u"image.altitude"_s, u"-12.3"_s}}},
        {"JPEG north, east, above the sea, long exposure", u"photo-north.jpg"_s,
         Fields{{u"filename"_s, u"photo-north"_s}, {u"image.width"_s, u"80"_s}, {u"image.height"_s, u"60"_s},
                {u"image.exposure"_s, u"2.5000"_s}, {u"image.exposure.frac"_s, u"2.5"_s},
                {u"image.latitude"_s, u"33.856800"_s}, {u"image.longitude"_s, u"151.215300"_s},
                {u"image.altitude"_s, u"12.3"_s}}},
        {"JPEG with no exposure and a latitude without reference", u"photo-partial.jpg"_s,
         Fields{
             {u"filename"_s, u"photo-partial"_s}, {u"image.width"_s, u"80"_s}, {u"image.height"_s, u"60"_s}}},
        {"JPEG with rationals single precision gets wrong", u"photo-fast.jpg"_s,
         Fields{{u"filename"_s, u"photo-fast"_s}, {u"image.width"_s, u"80"_s}, {u"image.height"_s, u"60"_s},
                {u"image.exposure"_s, u"0.0013"_s}, {u"image.exposure.frac"_s, u"1-800"_s},
                {u"image.focal_length"_s, u"14"_s}}},
        {"JPEG with padded names and a blank GPS block", u"photo-blank-gps.jpg"_s,
         Fields{{u"filename"_s, u"photo-blank-gps"_s}, {u"image.width"_s, u"80"_s}, {u"image.height"_s, u"60"_s},
                {u"image.make"_s, u"OLYMPUS IMAGING CORP."_s}, {u"image.model"_s, u"E-M5"_s},
                {u"image.exposure"_s, u"0.4000"_s}, {u"image.exposure.frac"_s, u"1-3"_s},
                {u"image.focal_length"_s, u"12"_s}}},
        {"JPEG digitized, described, rated, with XMP title and keywords", u"photo-described.jpg"_s,
         Fields{{u"filename"_s, u"photo-described"_s}, {u"image.width"_s, u"80"_s}, {u"image.height"_s, u"60"_s},
                {u"image.date"_s, u"2022-01-02"_s}, {u"image.time"_s, u"03-04-05"_s}, {u"image.subsec"_s, u"25"_s},
                {u"image.offset"_s, u"-05-00"_s}, {u"image.orientation"_s, u"6"_s}, {u"image.serial"_s, u"123456"_s},
                {u"image.software"_s, u"Tessary Fixtures 1.0"_s}, {u"image.rating"_s, u"4"_s},
                {u"image.title"_s, u"Harbour at dusk"_s}, {u"image.keywords"_s, u"harbour, dusk"_s}}},
        {"JPEG with only an XMP date, IPTC keywords, a blank XMP title and a padded description", u"photo-xmp-date.jpg"_s,
         Fields{{u"filename"_s, u"photo-xmp-date"_s}, {u"image.width"_s, u"80"_s}, {u"image.height"_s, u"60"_s},
                {u"image.date"_s, u"2021-08-09"_s}, {u"image.time"_s, u"10-11-00"_s}, {u"image.offset"_s, u"+00-00"_s},
                {u"image.software"_s, u"Editor 2"_s}, {u"image.title"_s, u"Padded description"_s},
                {u"image.keywords"_s, u"alpha, beta"_s}}},
        {"JPEG with the lens only in Canon maker notes", u"canon-makernote.jpg"_s,
         Fields{{u"filename"_s, u"canon-makernote"_s}, {u"image.width"_s, u"80"_s}, {u"image.height"_s, u"60"_s},
                {u"image.make"_s, u"Canon"_s}, {u"image.model"_s, u"Canon EOS 5D"_s},
                {u"image.lens"_s, u"Canon EF 50mm f/1.8"_s}}},
        {"JPEG with the ISO only in Nikon maker notes", u"nikon-makernote.jpg"_s,
         Fields{{u"filename"_s, u"nikon-makernote"_s}, {u"image.width"_s, u"80"_s}, {u"image.height"_s, u"60"_s},
                {u"image.make"_s, u"NIKON CORPORATION"_s}, {u"image.model"_s, u"NIKON D90"_s},
                {u"image.iso"_s, u"400"_s}}},
        {"PNG", u"picture.png"_s,
         Fields{{u"filename"_s, u"picture"_s}, {u"image.width"_s, u"64"_s}, {u"image.height"_s, u"48"_s}}},
        {"HEIC", u"picture.heic"_s,
         Fields{{u"filename"_s, u"picture"_s}, {u"image.width"_s, u"128"_s}, {u"image.height"_s, u"96"_s}}},
        {"HEIC sized by its primary image, not by its Exif", u"portrait-exif.heic"_s,
         Fields{{u"filename"_s, u"portrait-exif"_s}, {u"image.width"_s, u"96"_s}, {u"image.height"_s, u"128"_s},
                {u"image.make"_s, u"HeifMaker"_s}, {u"image.date"_s, u"2022-05-06"_s},
                {u"image.time"_s, u"07-08-09"_s}}},
        {"MP4 with two audio tracks", u"video.mp4"_s,
         Fields{{u"filename"_s, u"video"_s}, {u"video.duration"_s, u"2"_s}, {u"video.width"_s, u"1280"_s},
                {u"video.height"_s, u"720"_s}, {u"video.fps"_s, u"30"_s}, {u"video.resolution"_s, u"720p"_s},
                {u"video.audio_tracks"_s, u"2"_s}, {u"video.date"_s, u"2024-01-31"_s},
                {u"video.time"_s, u"22-59-59"_s}, {u"video.codec"_s, u"h264"_s}, {u"video.bitrate"_s, u"16"_s},
                {u"video.rotation"_s, u"0"_s}}},
        {"phone video: display size, rotation, capture time in its zone, camera, position", u"iphone.mov"_s,
         Fields{{u"filename"_s, u"iphone"_s}, {u"video.duration"_s, u"0"_s}, {u"video.width"_s, u"768"_s},
                {u"video.height"_s, u"576"_s}, {u"video.fps"_s, u"25"_s}, {u"video.resolution"_s, u"480p"_s},
                {u"video.codec"_s, u"h264"_s}, {u"video.bitrate"_s, u"75"_s}, {u"video.rotation"_s, u"90"_s},
                {u"video.date"_s, u"2019-05-03"_s}, {u"video.time"_s, u"14-22-01"_s},
                {u"video.make"_s, u"Apple"_s}, {u"video.model"_s, u"iPhone 12"_s},
                {u"video.latitude"_s, u"48.857700"_s}, {u"video.longitude"_s, u"2.295000"_s}}},
        {"video stamped with the Unix epoch has no date", u"epoch.mp4"_s,
         Fields{{u"filename"_s, u"epoch"_s}, {u"video.duration"_s, u"0"_s}, {u"video.width"_s, u"64"_s},
                {u"video.height"_s, u"48"_s}, {u"video.fps"_s, u"10"_s}, {u"video.resolution"_s, u"SD"_s},
                {u"video.codec"_s, u"h264"_s}, {u"video.bitrate"_s, u"25"_s}, {u"video.rotation"_s, u"0"_s}}},
        {"MP3 with ID3", u"song.mp3"_s, monoSong(u"Test"_s, u"Test Genre"_s, u"3"_s, u"1"_s, u"mp3"_s, u"32"_s)},
        {"M4A with iTunes atoms", u"song.m4a"_s, monoSong(u"iTunes"_s, u"Jazz"_s, u"5"_s, u"2"_s, u"aac"_s, u"17"_s)},
        {"six-channel FLAC", u"song.flac"_s,
         Fields{{u"filename"_s, u"song"_s}, {u"audio.duration"_s, u"0"_s},
                {u"audio.title"_s, u"Flac Title"_s}, {u"audio.artist"_s, u"Flac Artist"_s},
                {u"audio.track_number"_s, u"7"_s}, {u"audio.sample_rate"_s, u"8000"_s},
                {u"audio.codec"_s, u"flac"_s}, {u"audio.bitrate"_s, u"167"_s},
                {u"audio.bit_depth"_s, u"16"_s}, {u"audio.channels"_s, u"6"_s},
                {u"audio.channel_type"_s, u"multi"_s}}},
        {"repeated Vorbis comment: the first value", u"repeated.flac"_s,
         Fields{{u"filename"_s, u"repeated"_s}, {u"audio.duration"_s, u"0"_s},
                {u"audio.title"_s, u"Flac Title"_s}, {u"audio.artist"_s, u"First Artist"_s},
                {u"audio.track_number"_s, u"7"_s}, {u"audio.sample_rate"_s, u"8000"_s},
                {u"audio.codec"_s, u"flac"_s}, {u"audio.bitrate"_s, u"167"_s},
                {u"audio.bit_depth"_s, u"16"_s}, {u"audio.channels"_s, u"6"_s},
                {u"audio.channel_type"_s, u"multi"_s}}},
        {"WMA attributes", u"song.wma"_s,
         Fields{{u"filename"_s, u"song"_s}, {u"audio.duration"_s, u"0"_s}, {u"audio.title"_s, u"WmaTitle"_s},
                {u"audio.year"_s, u"2017"_s}, {u"audio.album_artist"_s, u"Wma Band"_s},
                {u"audio.sample_rate"_s, u"44100"_s}, {u"audio.channels"_s, u"1"_s},
                {u"audio.channel_type"_s, u"mono"_s}, {u"audio.codec"_s, u"wmav2"_s},
                {u"audio.bitrate"_s, u"32"_s}}},
        {"stereo WAV", u"sound.wav"_s,
         Fields{{u"filename"_s, u"sound"_s}, {u"audio.duration"_s, u"0"_s},
                {u"audio.sample_rate"_s, u"44100"_s}, {u"audio.bit_depth"_s, u"16"_s},
                {u"audio.channels"_s, u"2"_s}, {u"audio.channel_type"_s, u"stereo"_s},
                {u"audio.codec"_s, u"pcm_s16le"_s}, {u"audio.bitrate"_s, u"1411"_s}}},
        {"PDF with an information dictionary", u"document.pdf"_s,
         Fields{{u"filename"_s, u"document"_s}, {u"pdf.title"_s, u"Test PDF"_s},
                {u"pdf.author"_s, u"Ann Author"_s}, {u"pdf.subject"_s, u"Fixtures"_s},
                {u"pdf.creator"_s, u"Writer"_s}, {u"pdf.producer"_s, u"Tessary fixtures"_s},
                {u"pdf.date"_s, u"2024-01-31"_s}, {u"pdf.time"_s, u"23-59-59"_s},
                {u"pdf.moddate"_s, u"2024-02-01"_s}, {u"pdf.modtime"_s, u"08-09-10"_s},
                {u"pdf.page_count"_s, u"2"_s}, {u"pdf.version"_s, u"1.4"_s}}},
        {"PDF texts in every encoding", u"encodings.pdf"_s,
         Fields{{u"filename"_s, u"encodings"_s}, {u"pdf.title"_s, u"PDP-15\u2019s"_s},
                {u"pdf.author"_s, u"Zo\u00eb \u2019"_s}, {u"pdf.subject"_s, u"Caf\u00e9"_s},
                {u"pdf.creator"_s, u"\u00c6r\u00f8 \u2019"_s}, {u"pdf.producer"_s, u"A\u00a0B"_s},
                {u"pdf.keywords"_s, u"rename, files"_s}, {u"pdf.page_count"_s, u"2"_s},
                {u"pdf.version"_s, u"1.7"_s}}},
        {"PDF without one has no PDF field", u"no-info.pdf"_s, Fields{{u"filename"_s, u"no-info"_s}}},
        {"DOCX with two authors and every property", u"report.docx"_s,
         document(u"report"_s, {u"Word Title"_s, u"Ann, Bob"_s, u"Microsoft Office Word"_s,
                                u"A document for the tests"_s, u"Fixtures"_s},
                  withDates({{u"doc.last_author"_s, u"Someone Else"_s}, {u"doc.revision"_s, u"7"_s},
                             {u"doc.pages"_s, u"3"_s}, {u"doc.words"_s, u"250"_s}, {u"doc.company"_s, u"Acme"_s}}))},
        {"XLSX with empty properties", u"table.xlsx"_s,
         document(u"table"_s, {u"Sheet Title"_s, u"Carla"_s, u"Microsoft Excel"_s, u""_s, u"Fixtures"_s},
                  withDates({{u"doc.last_author"_s, u"Someone Else"_s}}))},
        {"PPTX with slides", u"deck.pptx"_s,
         document(u"deck"_s, {u"Deck Title"_s, u"Dora"_s, u"Microsoft Office PowerPoint"_s,
                              u"A document for the tests"_s, u"Fixtures"_s},
                  withDates({{u"doc.last_author"_s, u"Someone Else"_s}, {u"doc.revision"_s, u"7"_s},
                             {u"doc.slides"_s, u"12"_s}, {u"doc.words"_s, u"40"_s}, {u"doc.company"_s, u"Acme"_s}}))},
        {"ODT", u"letter.odt"_s,
         document(u"letter"_s, {u"Open Title"_s, u"Dora"_s, u"LibreOffice/7.4"_s, u"Open description"_s,
                                u"Open subject"_s},
                  withDates({{u"doc.last_author"_s, u"Eve"_s}, {u"doc.revision"_s, u"4"_s}, {u"doc.pages"_s, u"2"_s},
                             {u"doc.words"_s, u"120"_s}}))},
        {"legacy DOC", u"legacy.doc"_s,
         document(u"legacy"_s, {u"Legacy Title"_s, u"Frank"_s, u"Microsoft Word 8.0"_s, u"Legacy comments"_s,
                                u"Legacy subject"_s},
                  withDates({{u"doc.last_author"_s, u"Grace"_s}, {u"doc.revision"_s, u"7"_s}, {u"doc.pages"_s, u"3"_s},
                             {u"doc.words"_s, u"250"_s}, {u"doc.company"_s, u"Acme"_s}, {u"doc.slides"_s, u"12"_s}}))},
        {"legacy DOC in a Mac code page iconv lacks", u"mac-central.doc"_s,
         Fields{{u"filename"_s, u"mac-central"_s}, {u"doc.title"_s, u"\u0141\u00f3dka"_s}}},
        {"legacy DOC in Mac Simplified Chinese", u"mac-chinese.doc"_s,
         Fields{{u"filename"_s, u"mac-chinese"_s}, {u"doc.title"_s, u"\u4e2d\u6587"_s}}},
        {"legacy DOC in a code page no library knows: no wrong text", u"mac-arabic.doc"_s,
         Fields{{u"filename"_s, u"mac-arabic"_s}}},
        {"DOCX nesting 60,000 elements", u"deep.docx"_s, Fields{{u"filename"_s, u"deep"_s}}},
        {"ODT nesting 60,000 elements", u"deep.odt"_s, Fields{{u"filename"_s, u"deep"_s}}},
        // clang-format on
    };
}

} // namespace

class tst_MetadataExtractor : public QObject {
    Q_OBJECT

    QTemporaryDir scratch;

    QString copyOf(const QString& fixture, const QString& name) const
    {
        const QString path = scratch.filePath(name);
        QFile::remove(path);
        QFile::copy(fixtureFolder + u'/' + fixture, path);
        return path;
    }

    QString written(const QString& name, const QByteArray& content) const
    {
        QFile file(scratch.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("can't write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

    static void verifyCatalogued(const Fields& fields)
    {
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            QVERIFY2(FieldCatalogue::groupOf(it.key()),
                     qPrintable(u"Not in the field catalogue: "_s + it.key()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("TZ", "UTC");
        tzset();
        QVERIFY(scratch.isValid());
    }

    void fixtures_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<Fields>("expected");
        for (const FixtureCase& row : fixtureCases())
            QTest::newRow(row.tag) << row.fixture << row.expected;
    }
    void fixtures()
    {
        QFETCH(QString, fixture);
        QFETCH(Fields, expected);
        const Fields fields = MetadataExtractor::extract(fixtureFolder + u'/' + fixture);
        QCOMPARE(withoutFileDates(fields), expected);
        verifyCatalogued(fields);
        QVERIFY(QRegularExpression(u"^\\d{4}-\\d{2}-\\d{2}$"_s).match(fields.value(u"moddate"_s)).hasMatch());
        QVERIFY(QRegularExpression(u"^\\d{2}-\\d{2}-\\d{2}$"_s).match(fields.value(u"modtime"_s)).hasMatch());
    }

    void extensionsMatchAfterLowerCasing()
    {
        const Fields fields = MetadataExtractor::extract(copyOf(u"photo.jpg"_s, u"IMG_0001.JPG"_s));
        QCOMPARE(fields.value(u"filename"_s), u"IMG_0001"_s);
        QCOMPARE(fields.value(u"image.make"_s), u"Tessary"_s);
    }

    void onlyTheLastExtensionSelects()
    {
        const Fields fields = MetadataExtractor::extract(copyOf(u"photo.jpg"_s, u"archive.tar.gz"_s));
        QCOMPARE(withoutFileDates(fields), (Fields{{u"filename"_s, u"archive.tar"_s}}));
        QCOMPARE(fields.value(u"moddate"_s).size(), 10);
    }

    void missingFileKeepsItsName()
    {
        const LogCapture log("org.tessary.Tessary.Metadata");
        const Fields fields = MetadataExtractor::extract(scratch.filePath(u"gone.txt"_s));
        QCOMPARE(fields, (Fields{{u"filename"_s, u"gone"_s}}));
        QCOMPARE(log.lines(), QStringList{u"Failed to read file dates: No such file or directory"_s});
    }

    void batchKeepsInputOrder()
    {
        QStringList paths;
        for (int round = 0; round < 5; ++round)
            for (const QString& fixture : {u"video.mp4"_s, u"picture.png"_s, u"song.mp3"_s, u"letter.odt"_s})
                paths.append(fixtureFolder + u'/' + fixture);
        const QList<Fields> results = MetadataExtractor::fields(paths);
        QCOMPARE(results.size(), paths.size());
        for (qsizetype i = 0; i < paths.size(); ++i)
            QCOMPARE(withoutFileDates(results[i]), withoutFileDates(MetadataExtractor::extract(paths[i])));
        QCOMPARE(MetadataExtractor::fields({}), QList<Fields>{});
    }

    // Callers on every thread of the application's pool at once, as when files are added in quick
    // succession: each batch completes, none waits for a thread its caller holds.
    // Equal values of a batch become one string; the values themselves stay as read.
    void repeatedValuesAreShared()
    {
        const auto own = [](QStringView text) { return text.toString(); };
        QList<Fields> files{{{u"filename"_s, own(u"a")}, {u"date"_s, own(u"2024-01-02")}},
                            {{u"filename"_s, own(u"b")}, {u"date"_s, own(u"2024-01-02")}},
                            {{u"filename"_s, own(u"c")}, {u"date"_s, own(u"2024-01-03")}}};
        const QList<Fields> before = files;
        MetadataExtractor::shareRepeatedValues(files);
        QCOMPARE(files, before);
        QVERIFY(files[0].value(u"date"_s).isSharedWith(files[1].value(u"date"_s)));
        QVERIFY(!files[0].value(u"date"_s).isSharedWith(files[2].value(u"date"_s)));
    }

    void batchesFromEveryPoolThread()
    {
        QThreadPool* pool = QThreadPool::globalInstance();
        const int callers = pool->maxThreadCount();
        const QStringList paths(8, fixtureFolder + u"/song.mp3"_s);
        std::atomic<int> complete = 0;
        for (int i = 0; i < callers; ++i)
            pool->start([&] {
                if (MetadataExtractor::fields(paths).size() == paths.size())
                    ++complete;
            });
        QVERIFY(pool->waitForDone(60'000));
        QCOMPARE(complete.load(), callers);
    }

    // Damaged and odd inputs of every kind: each gives at least its name, quietly.
    void badInputIsQuiet()
    {
        QStringList paths;
        const QStringList sources = QDir(fixtureFolder)
                                        .entryList({u"*.*"_s}, QDir::Files)
                                        .filter(QRegularExpression(u"^(?!make-)"_s));
        for (const QString& fixture : sources) {
            QFile file(fixtureFolder + u'/' + fixture);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            QByteArray flipped = bytes;
            for (qsizetype i = flipped.size() / 8; i < flipped.size(); i += 7)
                flipped[i] = char(~flipped[i]);
            const std::pair<QString, QByteArray> variants[] = {
                {u"half-"_s, bytes.first(bytes.size() / 2)},
                {u"flipped-"_s, flipped},
                {u"empty-"_s, QByteArray()},
            };
            for (const auto& [prefix, content] : variants) {
                QFile variant(scratch.filePath(prefix + fixture));
                QVERIFY(variant.open(QIODevice::WriteOnly));
                variant.write(content);
                paths.append(variant.fileName());
            }
        }
        QVERIFY(QDir(scratch.path()).mkdir(u"folder.jpg"_s));
        paths.append(scratch.filePath(u"folder.jpg"_s));
        paths.append(copyOf(u"song.mp3"_s, u"no extension"_s));
        paths.append(scratch.filePath(u"deleted.mp4"_s));
        QVERIFY(::mkfifo(QFile::encodeName(scratch.filePath(u"pipe.mp4"_s)).constData(), 0644) == 0);
        paths.append(scratch.filePath(u"pipe.mp4"_s));
        QVERIFY(QFile::link(scratch.filePath(u"nowhere"_s), scratch.filePath(u"dangling.pdf"_s)));
        paths.append(scratch.filePath(u"dangling.pdf"_s));
        const QString sparse = scratch.filePath(u"sparse.mp4"_s);
        QVERIFY(::truncate(QFile::encodeName(copyOf(u"video.mp4"_s, u"sparse.mp4"_s)).constData(),
                           2LL << 30) == 0);
        paths.append(sparse);

        const QString errorFile = scratch.filePath(u"stderr.txt"_s);
        QList<Fields> results;
        QStringList logged;
        {
            const LogCapture log("org.tessary.Tessary.Metadata");
            StreamCapture quiet(STDERR_FILENO, errorFile);
            results = MetadataExtractor::fields(paths);
            logged = LogCapture::lines();
        }
        // A library's complaint is logged, without the path, which is private.
        QVERIFY2(logged.filter(QRegularExpression(u"^exiv2 could not read <private>: ."_s)).size() > 0,
                 qPrintable(logged.join(u'\n')));
        QCOMPARE(logged.filter(scratch.path()), QStringList());
        QCOMPARE(results.size(), paths.size());
        for (qsizetype i = 0; i < paths.size(); ++i)
            QVERIFY2(!results[i].value(u"filename"_s).isEmpty(), qPrintable(paths[i]));
        QCOMPARE(contentsOf(errorFile), QByteArray());
    }

    // libavformat refuses an MP3 whose frames are gone; its ID3 tag is intact and still read.
    void damagedAudioStreamKeepsItsTags()
    {
        QByteArray song = contentsOf(fixtureFolder + u"/song.mp3"_s);
        QVERIFY(song.startsWith("ID3"));
        const auto syncsafe = [&](int i) { return qsizetype(quint8(song[i]) & 0x7f); };
        const qsizetype tagEnd =
            10 + (syncsafe(6) << 21 | syncsafe(7) << 14 | syncsafe(8) << 7 | syncsafe(9));
        QVERIFY(tagEnd < song.size());
        song.replace(tagEnd, song.size() - tagEnd, QByteArray(song.size() - tagEnd, '\0'));
        const QString path = written(u"damaged.mp3"_s, song);

        const LogCapture log("org.tessary.Tessary.Metadata");
        const Fields fields = MetadataExtractor::extract(path);
        QCOMPARE(fields.value(u"audio.title"_s), u"Test Title"_s);
        QCOMPARE(fields.value(u"audio.track_number"_s), u"3"_s);
        QCOMPARE(fields.value(u"audio.disc_total"_s), u"2"_s);
        QVERIFY(!fields.contains(u"audio.sample_rate"_s));
        QCOMPARE(LogCapture::lines().filter(u"Failed to read the audio track"_s).size(), 1);
    }

    // Without an intact trailer poppler rebuilds the cross-reference table from every byte of the file:
    // minutes for gigabytes. A large damaged PDF is left unread instead; a small one is rebuilt.
    void damagedPdfIsRebuiltOnlyWhenSmall_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("read");
        QTest::newRow("small") << qint64(64 << 10) << true;
        QTest::newRow("sparse 8 GiB") << (qint64(8) << 30) << false;
    }
    void damagedPdfIsRebuiltOnlyWhenSmall()
    {
        QFETCH(qint64, size);
        QFETCH(bool, read);
        // Zeros after the end: the trailer is no longer at the end of the file.
        const QString path = written(u"damaged.pdf"_s, contentsOf(fixtureFolder + u"/document.pdf"_s));
        QVERIFY(::truncate(QFile::encodeName(path).constData(), size) == 0);

        const LogCapture log("org.tessary.Tessary.Metadata");
        const Fields fields = MetadataExtractor::extract(path);
        QCOMPARE(fields.value(u"pdf.title"_s), read ? u"Test PDF"_s : QString());
        QCOMPARE(
            LogCapture::lines().contains(u"Failed to read a PDF: its cross-reference table is damaged"_s),
            !read);
    }

    // A damaged file of gigabytes keeps a parser walking through zeros for minutes: each library gives up
    // at its deadline, and the file keeps its name and dates.
    void endlessFilesAreGivenUp_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<qsizetype>("kept"); // bytes of the fixture kept before the zeros
        QTest::newRow("JPEG markers (exiv2)") << u"photo.jpg"_s << qsizetype(200);
        QTest::newRow("PNG chunks (exiv2)") << u"picture.png"_s << qsizetype(200);
        QTest::newRow("MP3 frames (libavformat)") << u"song.mp3"_s << qsizetype(2000);
        QTest::newRow("WAV chunks (libavformat)") << u"sound.wav"_s << qsizetype(2000);
    }
    void endlessFilesAreGivenUp()
    {
        QFETCH(QString, fixture);
        QFETCH(qsizetype, kept);
        const QString path =
            written(u"endless-"_s + fixture, contentsOf(fixtureFolder + u'/' + fixture).first(kept));
        QVERIFY(::truncate(QFile::encodeName(path).constData(), qint64(8) << 30) == 0);

        const LogCapture log("org.tessary.Tessary.Metadata");
        const Fields fields = MetadataExtractor::extract(path);
        QCOMPARE(fields.value(u"filename"_s), u"endless-"_s + fixture.section(u'.', 0, 0));
        QVERIFY(fields.contains(u"moddate"_s));
        QVERIFY2(!LogCapture::lines().filter(u"gave up after 1500 ms"_s).isEmpty(),
                 qPrintable(LogCapture::lines().join(u'\n')));
        QFile::remove(path);
    }

    // libgsf dumps the bytes of a property section it doesn't know with g_print, and GLib warns: neither
    // may reach standard output, which carries --json, or standard error.
    void noLibraryWritesToTheStandardStreams()
    {
        QByteArray document = contentsOf(fixtureFolder + u"/legacy.doc"_s);
        const QByteArray summaryFormat = QByteArray::fromHex("e0859ff2f94f6810ab9108002b27b3d9");
        QVERIFY(document.contains(summaryFormat));
        document.replace(summaryFormat, QByteArray(16, '\x5a'));
        const QString path = written(u"unknown-section.doc"_s, document);

        const QString output = scratch.filePath(u"stdout.txt"_s);
        const QString errors = scratch.filePath(u"stderr.txt"_s);
        QStringList logged;
        {
            const LogCapture log("org.tessary.Tessary.Metadata", true);
            StreamCapture quietOutput(STDOUT_FILENO, output);
            StreamCapture quietErrors(STDERR_FILENO, errors);
            QCOMPARE(MetadataExtractor::extract(path).value(u"filename"_s), u"unknown-section"_s);
            logged = LogCapture::lines();
        }
        QVERIFY2(!logged.filter(u"Unknown property section type"_s).isEmpty(),
                 qPrintable(logged.join(u'\n')));
        QCOMPARE(contentsOf(output), QByteArray());
        QCOMPARE(contentsOf(errors), QByteArray());
    }

    // Files from cameras and programs, with the fields checked against exiftool (realworld/MANIFEST.md).
    void realWorldFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("pad");
        QTest::addColumn<Fields>("expected");
        QTest::addColumn<QStringList>("absent");
        const QJsonObject cases =
            QJsonDocument::fromJson(contentsOf(realWorldFolder + u"/expected.json"_s)).object();
        QVERIFY(!cases.isEmpty());
        for (auto it = cases.begin(); it != cases.end(); ++it) {
            const QJsonObject entry = it->toObject();
            Fields expected;
            const QJsonObject fields = entry.value(u"fields"_s).toObject();
            for (auto field = fields.begin(); field != fields.end(); ++field)
                expected.insert(field.key(), field->toString());
            QTest::newRow(qPrintable(it.key()))
                << it.key() << qint64(entry.value(u"pad"_s).toDouble()) << expected
                << entry.value(u"absent"_s).toVariant().toStringList();
        }
    }
    void realWorldFiles()
    {
        QFETCH(QString, name);
        QFETCH(qint64, pad);
        QFETCH(Fields, expected);
        QFETCH(QStringList, absent);
        const QString path = written(name, contentsOf(realWorldFolder + u'/' + name));
        if (pad > 0)
            QVERIFY(::truncate(QFile::encodeName(path).constData(), pad) == 0);
        const Fields fields = MetadataExtractor::extract(path);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(fields.value(it.key(), u"<absent>"_s), it.value());
        for (const QString& key : absent)
            QVERIFY2(!fields.contains(key), qPrintable(key + u" = "_s + fields.value(key)));
        verifyCatalogued(fields);
    }

    // The field browser offers the catalogue: a field it lacks cannot be found there.
    void catalogueNamesMatchTheirGroups()
    {
        const QHash<QString, FieldCatalogue::Group> prefixes{{u"image."_s, FieldCatalogue::Group::Image},
                                                             {u"video."_s, FieldCatalogue::Group::Video},
                                                             {u"audio."_s, FieldCatalogue::Group::Audio},
                                                             {u"pdf."_s, FieldCatalogue::Group::Pdf},
                                                             {u"doc."_s, FieldCatalogue::Group::Document}};
        QSet<QString> names;
        for (const FieldCatalogue::Field& field : FieldCatalogue::fields()) {
            QVERIFY2(!names.contains(field.name), qPrintable(field.name));
            names.insert(field.name);
            QVERIFY(!field.description.isEmpty());
            const QString prefix = field.name.section(u'.', 0, 0) + u'.';
            QCOMPARE(field.group, prefixes.value(prefix, FieldCatalogue::Group::File));
        }
    }

    void everyRealWorldFileIsExpected()
    {
        const QJsonObject cases =
            QJsonDocument::fromJson(contentsOf(realWorldFolder + u"/expected.json"_s)).object();
        const QStringList present =
            QDir(realWorldFolder)
                .entryList(QDir::Files)
                .filter(
                    QRegularExpression(u"^(?!expected\\.json$|MANIFEST\\.md$|compare-with-peers\\.py$)"_s));
        QVERIFY(!present.isEmpty());
        for (const QString& file : present)
            QVERIFY2(cases.contains(file), qPrintable(u"expected.json has no entry for "_s + file));
    }

    void everyFixtureIsUsed()
    {
        const QStringList present =
            QDir(fixtureFolder).entryList(QDir::Files).filter(QRegularExpression(u"^(?!make-)"_s));
        QSet<QString> used;
        for (const FixtureCase& row : fixtureCases())
            used.insert(row.fixture);
        for (const QString& fixture : present)
            QVERIFY2(used.contains(fixture), qPrintable(u"No case reads the fixture "_s + fixture));
    }
};

QTEST_GUILESS_MAIN(tst_MetadataExtractor)
#include "tst_MetadataExtractor.moc"
