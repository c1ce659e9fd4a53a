#include "metadata/FieldCatalogue.h"

#include "common/KitCatalogue.h"

#include <QStringList>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

using FieldCatalogue::Group;

struct Described {
    const char* name;
    Group group;
    const char* description;
};

// Texts are marked here and translated when asked for, in the language of that moment.
const Described table[] = {
    {"filename", Group::File, QT_TRANSLATE_NOOP("TessaryKit", "The name without its extension")},
    {"row", Group::File, QT_TRANSLATE_NOOP("TessaryKit", "The file's number in the order, from 1")},
    {"date", Group::File, QT_TRANSLATE_NOOP("TessaryKit", "The day the file was created")},
    {"time", Group::File, QT_TRANSLATE_NOOP("TessaryKit", "The time the file was created")},
    {"moddate", Group::File, QT_TRANSLATE_NOOP("TessaryKit", "The day the content last changed")},
    {"modtime", Group::File, QT_TRANSLATE_NOOP("TessaryKit", "The time the content last changed")},

    {"image.date", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "The day the photo was taken")},
    {"image.time", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "The time the photo was taken")},
    {"image.subsec", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "Fractions of a second of that time")},
    {"image.offset", Group::Image,
     QT_TRANSLATE_NOOP("TessaryKit", "The time zone of that time, such as +02-00")},
    {"image.make", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "The camera's maker")},
    {"image.model", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "The camera's model")},
    {"image.serial", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "The camera's serial number")},
    {"image.lens", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "The lens model")},
    {"image.width", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "Width in pixels")},
    {"image.height", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "Height in pixels")},
    {"image.orientation", Group::Image,
     QT_TRANSLATE_NOOP("TessaryKit", "How to turn the image upright, 1 to 8 (1: as stored)")},
    {"image.exposure", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "Exposure time in seconds")},
    {"image.exposure.frac", Group::Image,
     QT_TRANSLATE_NOOP("TessaryKit", "Exposure time as a fraction, such as 1-250")},
    {"image.aperture", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "Aperture, such as f2.8")},
    {"image.fnumber", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "Aperture as a number, such as 2.8")},
    {"image.iso", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "ISO speed")},
    {"image.focal_length", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "Focal length in millimetres")},
    {"image.focal_length_35mm", Group::Image,
     QT_TRANSLATE_NOOP("TessaryKit", "Focal length as on 35 mm film, in millimetres")},
    {"image.latitude", Group::Image,
     QT_TRANSLATE_NOOP("TessaryKit", "Where it was taken: latitude in degrees, south negative")},
    {"image.longitude", Group::Image,
     QT_TRANSLATE_NOOP("TessaryKit", "Where it was taken: longitude in degrees, west negative")},
    {"image.altitude", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "Altitude in metres")},
    {"image.title", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "The title given to the image")},
    {"image.keywords", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "Keywords, separated by commas")},
    {"image.rating", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "Rating, 0 to 5 stars")},
    {"image.software", Group::Image, QT_TRANSLATE_NOOP("TessaryKit", "The program that saved the image")},

    {"video.date", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "The day the video was recorded")},
    {"video.time", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "The time the video was recorded")},
    {"video.duration", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "Length in whole seconds")},
    {"video.width", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "Width in pixels")},
    {"video.height", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "Height in pixels")},
    {"video.resolution", Group::Video,
     QT_TRANSLATE_NOOP("TessaryKit", "Size class: SD, 480p, 720p, 1080p, 4K or 8K")},
    {"video.fps", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "Frames per second")},
    {"video.codec", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "The video codec, such as h264")},
    {"video.bitrate", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "Bit rate in kilobits per second")},
    {"video.rotation", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "Rotation for playback, in degrees")},
    {"video.audio_tracks", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "Number of sound tracks")},
    {"video.make", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "The camera's maker")},
    {"video.model", Group::Video, QT_TRANSLATE_NOOP("TessaryKit", "The camera's model")},
    {"video.latitude", Group::Video,
     QT_TRANSLATE_NOOP("TessaryKit", "Where it was recorded: latitude in degrees, south negative")},
    {"video.longitude", Group::Video,
     QT_TRANSLATE_NOOP("TessaryKit", "Where it was recorded: longitude in degrees, west negative")},

    {"audio.title", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "The title of the piece")},
    {"audio.artist", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "The performing artist")},
    {"audio.album", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "The album")},
    {"audio.album_artist", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "The album's artist")},
    {"audio.composer", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "The composer")},
    {"audio.genre", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "The genre")},
    {"audio.year", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "The year of release")},
    {"audio.track_number", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "The track's number")},
    {"audio.track_total", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "Number of tracks")},
    {"audio.disc_number", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "The disc's number")},
    {"audio.disc_total", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "Number of discs")},
    {"audio.comment", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "The comment tag")},
    {"audio.duration", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "Length in whole seconds")},
    {"audio.codec", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "The audio codec, such as mp3")},
    {"audio.bitrate", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "Bit rate in kilobits per second")},
    {"audio.sample_rate", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "Samples per second")},
    {"audio.bit_depth", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "Bits per sample")},
    {"audio.channels", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "Number of channels")},
    {"audio.channel_type", Group::Audio, QT_TRANSLATE_NOOP("TessaryKit", "mono, stereo or multi")},

    {"pdf.title", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "The document's title")},
    {"pdf.author", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "The author")},
    {"pdf.subject", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "The subject")},
    {"pdf.keywords", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "Keywords")},
    {"pdf.page_count", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "Number of pages")},
    {"pdf.date", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "The day the document was created")},
    {"pdf.time", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "The time the document was created")},
    {"pdf.moddate", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "The day the document last changed")},
    {"pdf.modtime", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "The time the document last changed")},
    {"pdf.creator", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "The program the document was written in")},
    {"pdf.producer", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "The program that made the PDF")},
    {"pdf.version", Group::Pdf, QT_TRANSLATE_NOOP("TessaryKit", "The PDF version, such as 1.7")},

    {"doc.title", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "The document's title")},
    {"doc.subject", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "The subject")},
    {"doc.authors", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "The authors")},
    {"doc.last_author", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "Who saved it last")},
    {"doc.company", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "The company")},
    {"doc.description", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "The description or comments")},
    {"doc.date", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "The day the document was created")},
    {"doc.time", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "The time the document was created")},
    {"doc.moddate", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "The day the document last changed")},
    {"doc.modtime", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "The time the document last changed")},
    {"doc.pages", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "Number of pages")},
    {"doc.words", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "Number of words")},
    {"doc.slides", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "Number of slides")},
    {"doc.revision", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "How often it was saved")},
    {"doc.creator", Group::Document, QT_TRANSLATE_NOOP("TessaryKit", "The program that wrote it")},
};

} // namespace

QList<FieldCatalogue::Field> FieldCatalogue::fields()
{
    QList<Field> fields;
    fields.reserve(std::size(table));
    for (const Described& entry : table)
        fields.append({QString::fromLatin1(entry.name), entry.group, KitCatalogue::tr(entry.description)});
    return fields;
}

QString FieldCatalogue::titleOf(Group group)
{
    switch (group) {
    case Group::File:
        //: Group of fields in the field browser: those every file has
        return KitCatalogue::tr("File");
    case Group::Image:
        //: Group of fields in the field browser
        return KitCatalogue::tr("Image");
    case Group::Video:
        //: Group of fields in the field browser
        return KitCatalogue::tr("Video");
    case Group::Audio:
        //: Group of fields in the field browser
        return KitCatalogue::tr("Audio");
    case Group::Pdf:
        //: Group of fields in the field browser
        return KitCatalogue::tr("PDF");
    case Group::Document:
        //: Group of fields in the field browser: word processor, spreadsheet and presentation files
        return KitCatalogue::tr("Office Document");
    }
    return {};
}

std::optional<FieldCatalogue::Group> FieldCatalogue::groupOf(const QString& name)
{
    for (const Described& entry : table)
        if (name == QLatin1StringView(entry.name))
            return entry.group;
    return std::nullopt;
}

FieldCatalogue::Groups FieldCatalogue::groupsOf(const QStringList& names)
{
    Groups found;
    for (const QString& name : names)
        if (const std::optional<Group> group = groupOf(name))
            found |= *group;
    return found;
}
