// The video and audio groups on libavformat: the container is probed, nothing is decoded beyond what
// the stream parameters need.
#include "common/Diagnostics.h"
#include "metadata/DateFields.h"
#include "metadata/MetadataItems.h"
#include "metadata/VideoResolution.h"
#include "metadata/readers/MetadataReaders.h"

#include <QFile>
#include <cmath>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/parseutils.h>
}

using namespace Qt::StringLiterals;

namespace MetadataReaders {
namespace {

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
        int result = avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr);
        if (result >= 0)
            result = avformat_find_stream_info(format, nullptr);
        if (result < 0)
            failure = describe(result);
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

    std::optional<QDateTime> creationTime() const
    {
        const AVDictionaryEntry* entry =
            isOpen() ? av_dict_get(format->metadata, "creation_time", nullptr, 0) : nullptr;
        int64_t microseconds = 0;
        if (!entry || av_parse_time(&microseconds, entry->value, 0) < 0)
            return std::nullopt;
        return QDateTime::fromMSecsSinceEpoch(microseconds / 1000, Qt::UTC);
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

void addVideoTrack(const Container& container, Fields& fields)
{
    if (!container.isOpen()) {
        qCWarning(metadataLog, "Failed to read the video track: %s", qUtf8Printable(container.error()));
        return;
    }
    const auto tracks = container.streams(AVMEDIA_TYPE_VIDEO);
    if (tracks.isEmpty())
        return;
    const AVCodecParameters* parameters = tracks.first()->codecpar;
    const double fps = frameRate(tracks.first());
    if (parameters->width <= 0 || parameters->height <= 0 || fps <= 0) {
        qCWarning(metadataLog, "Failed to read the video track: %s", "no picture size or frame rate");
        return;
    }
    fields.insert(u"video.width"_s, QString::number(parameters->width));
    fields.insert(u"video.height"_s, QString::number(parameters->height));
    fields.insert(u"video.fps"_s, QString::number(fps, 'f', 0));
    fields.insert(u"video.resolution"_s,
                  resolutionClass(double(parameters->width) * double(parameters->height)));
}

void addTags(const Container& container, Fields& fields)
{
    using namespace MetadataItems;
    const QList<MetadataItem> items = container.items();
    const auto text = [&](const QString& key, std::optional<QString> value) {
        if (value)
            fields.insert(key, *value);
    };
    text(u"audio.title"_s, firstStringValue(matchingItems(items, {}, u"title"_s)));
    text(u"audio.artist"_s, firstStringValue(matchingItems(items, {}, u"artist"_s)));
    text(u"audio.album"_s, firstStringValue(matchingItems(items, {}, u"album"_s)));
    text(u"audio.genre"_s, firstStringValue(matchingItems(items, {u"genre"_s}, std::nullopt)));
    if (const auto track = firstNumberValue(matchingItems(items, {u"track"_s}, std::nullopt)))
        fields.insert(u"audio.track_number"_s, QString::number(*track));
    if (const auto disc = firstNumberValue(matchingItems(items, {u"disc"_s}, std::nullopt)))
        fields.insert(u"audio.disc_number"_s, QString::number(*disc));
    text(u"audio.year"_s,
         firstYearValue(matchingItems(items, {u"date"_s, u"year"_s, u"tyer"_s, u"tdrc"_s}, std::nullopt)));
}

void addAudioFormat(const AVCodecParameters* parameters, Fields& fields)
{
    if (parameters->sample_rate <= 0)
        return; // no stream description
    fields.insert(u"audio.sample_rate"_s, QString::number(double(parameters->sample_rate), 'f', 0));
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
    if (const auto created = container.creationTime())
        addDateFields(*created, u"video."_s, fields);
}

void readAudioFields(const QString& path, Fields& fields)
{
    const Container container(path);
    if (const auto seconds = container.durationSeconds())
        fields.insert(u"audio.duration"_s, QString::number(*seconds));
    if (!container.isOpen()) {
        qCWarning(metadataLog, "Failed to read audio metadata: %s", qUtf8Printable(container.error()));
        qCWarning(metadataLog, "Failed to read the audio track: %s", qUtf8Printable(container.error()));
        return;
    }
    addTags(container, fields);
    if (const auto tracks = container.streams(AVMEDIA_TYPE_AUDIO); !tracks.isEmpty())
        addAudioFormat(tracks.first()->codecpar, fields);
}

} // namespace MetadataReaders
