// The video and audio groups on libavformat: the container is probed, nothing is decoded beyond what
// the stream parameters need.
#include "common/Diagnostics.h"
#include "metadata/DateFields.h"
#include "metadata/Iso6709.h"
#include "metadata/MetadataItems.h"
#include "metadata/NumberText.h"
#include "metadata/VideoResolution.h"
#include "metadata/readers/MetadataReaders.h"
#include "metadata/readers/ReadDeadline.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/display.h>
#include <libavutil/parseutils.h>
}

using namespace Qt::StringLiterals;

namespace MetadataReaders {
namespace {

QString gaveUp()
{
    return u"gave up after %1 ms"_s.arg(ReadDeadline::budget.count());
}

QString describe(int error)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return QString::fromUtf8(text);
}

// An opened container with its stream parameters, or why it could not be opened.
class Container {
public:
    explicit Container(const QString& path)
    {
        static std::once_flag once;
        std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
        format = avformat_alloc_context();
        if (!format) {
            failure = describe(AVERROR(ENOMEM));
            return;
        }
        format->interrupt_callback.callback = [](void* deadline) {
            return int(static_cast<const ReadDeadline*>(deadline)->passed());
        };
        format->interrupt_callback.opaque = &deadline;
        int result = avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr);
        if (result >= 0)
            result = avformat_find_stream_info(format, nullptr);
        if (result == AVERROR_EXIT)
            failure = gaveUp();
        else if (result < 0)
            failure = describe(result);
        else if (deadline.passed())
            qCWarning(metadataLog, "libavformat %s, keeping what it read", qUtf8Printable(gaveUp()));
    }
    ~Container() { avformat_close_input(&format); }
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    bool isOpen() const { return !failure; }
    const QString& error() const { return *failure; }

    // Whole seconds, toward zero; nothing for an unknown duration.
    std::optional<qint64> durationSeconds() const
    {
        if (!isOpen() || format->duration == AV_NOPTS_VALUE || format->duration < 0)
            return std::nullopt;
        return format->duration / AV_TIME_BASE;
    }

    // Streams of one kind, in the container's order. Cover art is a picture, not a video track.
    QList<const AVStream*> streams(AVMediaType type) const
    {
        QList<const AVStream*> found;
        for (unsigned i = 0; isOpen() && i < format->nb_streams; ++i) {
            const AVStream* stream = format->streams[i];
            if (stream->codecpar->codec_type == type && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
                found.append(stream);
        }
        return found;
    }

    // The container's tags, then those of its first audio stream (where Ogg keeps them).
    QList<MetadataItem> items() const
    {
        QList<MetadataItem> list;
        appendItems(format->metadata, list);
        if (const auto audio = streams(AVMEDIA_TYPE_AUDIO); !audio.isEmpty())
            appendItems(audio.first()->metadata, list);
        return list;
    }

    // The movie header's time; a header stamped with the Unix epoch or earlier holds no date.
    std::optional<QDateTime> creationTime() const
    {
        const auto entry = tag("creation_time");
        int64_t microseconds = 0;
        if (!entry || av_parse_time(&microseconds, entry->toUtf8().constData(), 0) < 0 || microseconds <= 0)
            return std::nullopt;
        return QDateTime::fromMSecsSinceEpoch(microseconds / 1000, Qt::UTC);
    }

    std::optional<QString> tag(const char* key) const
    {
        const AVDictionaryEntry* entry = isOpen() ? av_dict_get(format->metadata, key, nullptr, 0) : nullptr;
        return entry ? std::optional(QString::fromUtf8(entry->value)) : std::nullopt;
    }

    int64_t bitrate() const { return isOpen() ? format->bit_rate : 0; }

    // The ratio of a pixel's width to its height, when it is known and not 1:1.
    std::optional<AVRational> pixelAspect(const AVStream* stream) const
    {
        const AVRational ratio = av_guess_sample_aspect_ratio(format, const_cast<AVStream*>(stream), nullptr);
        if (ratio.num <= 0 || ratio.den <= 0 || ratio.num == ratio.den)
            return std::nullopt;
        return ratio;
    }

private:
    static void appendItems(const AVDictionary* tags, QList<MetadataItem>& list)
    {
        static const QSet<QString> commonKeys{u"title"_s, u"artist"_s, u"album"_s};
        const AVDictionaryEntry* entry = nullptr;
        while ((entry = av_dict_get(tags, "", entry, AV_DICT_IGNORE_SUFFIX))) {
            const QString key = QString::fromUtf8(entry->key).toLower();
            list.append(MetadataItem{key, commonKeys.contains(key) ? std::optional(key) : std::nullopt,
                                     QString::fromUtf8(entry->value)});
        }
    }

    ReadDeadline deadline;
    AVFormatContext* format = nullptr;
    std::optional<QString> failure;
};

double frameRate(const AVStream* stream)
{
    const AVRational rate = stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0
                                ? stream->avg_frame_rate
                                : stream->r_frame_rate;
    return rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0;
}

// Kilobits per second: the stream's own rate, else the container's.
std::optional<qint64> bitrate(const AVCodecParameters* parameters, const Container& container)
{
    const int64_t bitsPerSecond = parameters->bit_rate > 0 ? parameters->bit_rate : container.bitrate();
    if (bitsPerSecond <= 0)
        return std::nullopt;
    return std::llround(double(bitsPerSecond) / 1000);
}

void addCodec(const AVCodecParameters* parameters, const Container& container, const QString& group,
              Fields& fields)
{
    if (parameters->codec_id != AV_CODEC_ID_NONE)
        fields.insert(group + u"codec"_s, QString::fromUtf8(avcodec_get_name(parameters->codec_id)));
    if (const auto kilobits = bitrate(parameters, container))
        fields.insert(group + u"bitrate"_s, QString::number(*kilobits));
}

// Clockwise degrees a player turns the picture by: 0, 90, 180 or 270.
int rotation(const AVStream* stream)
{
    size_t size = 0;
    const uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!matrix || size < 9 * sizeof(int32_t))
        return 0;
    const double counterClockwise = av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
    if (!std::isfinite(counterClockwise))
        return 0;
    const int degrees = int(std::lround(-counterClockwise / 90)) * 90 % 360;
    return degrees < 0 ? degrees + 360 : degrees;
}

void addVideoTrack(const Container& container, Fields& fields)
{
    if (!container.isOpen()) {
        qCWarning(metadataLog, "Failed to read the video track: %s", qUtf8Printable(container.error()));
        return;
    }
    const auto tracks = container.streams(AVMEDIA_TYPE_VIDEO);
    if (tracks.isEmpty())
        return;
    const AVStream* track = tracks.first();
    const AVCodecParameters* parameters = track->codecpar;
    addCodec(parameters, container, u"video."_s, fields);
    fields.insert(u"video.rotation"_s, QString::number(rotation(track)));
    const double fps = frameRate(track);
    if (parameters->width <= 0 || parameters->height <= 0 || fps <= 0) {
        qCWarning(metadataLog, "Failed to read the video track: %s", "no picture size or frame rate");
        return;
    }
    // The size as shown: pixels that aren't square stretch the width (720 × 576 at 16:15 shows 768 wide).
    qint64 width = parameters->width;
    if (const auto aspect = container.pixelAspect(track))
        width = std::llround(double(width) * aspect->num / aspect->den);
    fields.insert(u"video.width"_s, QString::number(width));
    fields.insert(u"video.height"_s, QString::number(parameters->height));
    fields.insert(u"video.fps"_s, fixedText(fps, 0));
    fields.insert(u"video.resolution"_s, resolutionClass(double(width) * double(parameters->height)));
}

// The capture time as the camera wrote it, in its own zone: "2019-05-03T14:22:01+0200".
bool addAppleCaptureDate(const Container& container, Fields& fields)
{
    static const QRegularExpression pattern(u"\\A(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})"_s);
    const auto text = container.tag("com.apple.quicktime.creationdate");
    const auto match = text ? pattern.match(*text) : QRegularExpressionMatch();
    if (!match.hasMatch())
        return false;
    fields.insert(u"video.date"_s, match.captured(1) + u'-' + match.captured(2) + u'-' + match.captured(3));
    fields.insert(u"video.time"_s, match.captured(4) + u'-' + match.captured(5) + u'-' + match.captured(6));
    return true;
}

void addCameraTags(const Container& container, Fields& fields)
{
    if (const auto make = container.tag("com.apple.quicktime.make"))
        fields.insert(u"video.make"_s, *make);
    if (const auto model = container.tag("com.apple.quicktime.model"))
        fields.insert(u"video.model"_s, *model);
    auto location = container.tag("com.apple.quicktime.location.ISO6709");
    if (!location)
        location = container.tag("location");
    if (const auto position = location ? iso6709Position(*location) : std::nullopt) {
        fields.insert(u"video.latitude"_s, fixedText(position->latitude, 6));
        fields.insert(u"video.longitude"_s, fixedText(position->longitude, 6));
    }
}

// Audio tags: TagLib's, which survive a damaged stream, or the container's where TagLib doesn't know the
// format. Identifiers of both vocabularies are listed.
void addTags(const QList<MetadataItem>& items, Fields& fields)
{
    using namespace MetadataItems;
    const auto text = [&](const QString& key, std::optional<QString> value) {
        if (value)
            fields.insert(key, *value);
    };
    const auto number = [&](const QString& key, std::optional<qint64> value) {
        if (value)
            fields.insert(key, QString::number(*value));
    };
    const QSet<QString> track{u"track"_s, u"tracknumber"_s};
    const QSet<QString> disc{u"disc"_s, u"discnumber"_s};
    text(u"audio.title"_s, firstStringValue(matchingItems(items, {}, u"title"_s)));
    text(u"audio.artist"_s, firstStringValue(matchingItems(items, {}, u"artist"_s)));
    text(u"audio.album"_s, firstStringValue(matchingItems(items, {}, u"album"_s)));
    text(u"audio.genre"_s, firstStringValue(matchingItems(items, {u"genre"_s}, std::nullopt)));
    number(u"audio.track_number"_s, firstNumberValue(matchingItems(items, track, std::nullopt)));
    number(u"audio.disc_number"_s, firstNumberValue(matchingItems(items, disc, std::nullopt)));
    text(u"audio.year"_s,
         firstYearValue(matchingItems(items, {u"date"_s, u"year"_s, u"tyer"_s, u"tdrc"_s}, std::nullopt)));
    text(u"audio.album_artist"_s,
         firstStringValue(matchingItems(items, {u"album_artist"_s, u"albumartist"_s}, std::nullopt)));
    text(u"audio.composer"_s, firstStringValue(matchingItems(items, {u"composer"_s}, std::nullopt)));
    text(u"audio.comment"_s, firstStringValue(matchingItems(items, {u"comment"_s}, std::nullopt)));
    const auto total = [&](const QSet<QString>& numbers, const QSet<QString>& totals) {
        const auto afterSlash = firstTotalValue(matchingItems(items, numbers, std::nullopt));
        return afterSlash ? afterSlash : firstNumberValue(matchingItems(items, totals, std::nullopt));
    };
    number(u"audio.track_total"_s, total(track, {u"tracktotal"_s, u"totaltracks"_s}));
    number(u"audio.disc_total"_s, total(disc, {u"disctotal"_s, u"totaldiscs"_s}));
}

void addAudioFormat(const AVCodecParameters* parameters, Fields& fields)
{
    if (parameters->sample_rate <= 0)
        return; // no stream description
    fields.insert(u"audio.sample_rate"_s, QString::number(parameters->sample_rate));
    // What the codec stores per sample: 0 for compressed audio such as AAC and MP3.
    const int bits = parameters->bits_per_raw_sample > 0 ? parameters->bits_per_raw_sample
                                                         : av_get_bits_per_sample(parameters->codec_id);
    if (bits == 8 || bits == 16 || bits == 24 || bits == 32)
        fields.insert(u"audio.bit_depth"_s, QString::number(bits));
    const int channels = parameters->ch_layout.nb_channels;
    fields.insert(u"audio.channels"_s, QString::number(channels));
    if (channels > 0)
        fields.insert(u"audio.channel_type"_s, channels == 1   ? u"mono"_s
                                               : channels == 2 ? u"stereo"_s
                                                               : u"multi"_s);
}

} // namespace

void readVideoFields(const QString& path, Fields& fields)
{
    const Container container(path);
    if (const auto seconds = container.durationSeconds())
        fields.insert(u"video.duration"_s, QString::number(*seconds));
    addVideoTrack(container, fields);
    if (const auto audioTracks = container.streams(AVMEDIA_TYPE_AUDIO).size(); audioTracks > 0)
        fields.insert(u"video.audio_tracks"_s, QString::number(audioTracks));
    if (!addAppleCaptureDate(container, fields))
        if (const auto created = container.creationTime())
            addDateFields(*created, u"video."_s, fields);
    addCameraTags(container, fields);
}

void readAudioFields(const QString& path, Fields& fields)
{
    const Container container(path);
    if (const auto seconds = container.durationSeconds())
        fields.insert(u"audio.duration"_s, QString::number(*seconds));
    const auto tags = readAudioTags(path);
    if (!container.isOpen()) {
        if (!tags)
            qCWarning(metadataLog, "Failed to read audio metadata: %s", qUtf8Printable(container.error()));
        else
            addTags(*tags, fields);
        qCWarning(metadataLog, "Failed to read the audio track: %s", qUtf8Printable(container.error()));
        return;
    }
    addTags(tags ? *tags : container.items(), fields);
    if (const auto tracks = container.streams(AVMEDIA_TYPE_AUDIO); !tracks.isEmpty()) {
        addAudioFormat(tracks.first()->codecpar, fields);
        addCodec(tracks.first()->codecpar, container, u"audio."_s, fields);
    }
}

} // namespace MetadataReaders
