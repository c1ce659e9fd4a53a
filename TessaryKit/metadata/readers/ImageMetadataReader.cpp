// The image group on exiv2: pixel size, TIFF, Exif and GPS tags, read without decoding pixels.
#include "metadata/readers/MetadataReaders.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <exiv2/exiv2.hpp>
#include <mutex>

using namespace Qt::StringLiterals;

namespace MetadataReaders {
namespace {

void prepareLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(); // once, before threads read images at the same time
        Exiv2::enableBMFF(true);        // HEIC and HEIF
    });
}

bool isInteger(Exiv2::TypeId type)
{
    switch (type) {
    case Exiv2::unsignedByte:
    case Exiv2::unsignedShort:
    case Exiv2::unsignedLong:
    case Exiv2::signedByte:
    case Exiv2::signedShort:
    case Exiv2::signedLong:
    case Exiv2::unsignedLongLong:
    case Exiv2::signedLongLong:
        return true;
    default:
        return false;
    }
}

bool isReal(Exiv2::TypeId type)
{
    return isInteger(type) || type == Exiv2::unsignedRational || type == Exiv2::signedRational ||
           type == Exiv2::tiffFloat || type == Exiv2::tiffDouble;
}

// Tag values by their expected type; a missing tag or one of another type gives nothing.
class Tags {
public:
    explicit Tags(const Exiv2::ExifData& exif) : exif(exif) {}

    std::optional<QString> text(const char* key) const
    {
        const auto it = find(key);
        if (it == exif.end() || it->typeId() != Exiv2::asciiString)
            return std::nullopt;
        return QString::fromStdString(it->toString());
    }

    std::optional<qint64> integer(const char* key) const
    {
        const auto it = find(key);
        if (it == exif.end() || !isInteger(it->typeId()) || it->count() == 0)
            return std::nullopt;
        return qint64(it->toLong(0));
    }

    std::optional<double> real(const char* key) const
    {
        const auto it = find(key);
        if (it == exif.end() || !isReal(it->typeId()) || it->count() == 0)
            return std::nullopt;
        const double value = it->toFloat(0);
        return std::isfinite(value) ? std::optional(value) : std::nullopt;
    }

    // Degrees, minutes and seconds as decimal degrees.
    std::optional<double> degrees(const char* key) const
    {
        const auto it = find(key);
        if (it == exif.end() || !isReal(it->typeId()) || it->count() == 0)
            return std::nullopt;
        double value = 0;
        for (long i = 0; i < std::min<long>(long(it->count()), 3); ++i)
            value += it->toFloat(i) / std::pow(60.0, double(i));
        return std::isfinite(value) ? std::optional(value) : std::nullopt;
    }

private:
    Exiv2::ExifData::const_iterator find(const char* key) const { return exif.findKey(Exiv2::ExifKey(key)); }
    const Exiv2::ExifData& exif;
};

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString exposureFraction(double seconds)
{
    if (seconds >= 1)
        return fixed(seconds, 1);
    return u"1-"_s + QString::number(std::llround(1 / seconds));
}

void addCameraFields(const Tags& tags, Fields& fields)
{
    if (const auto make = tags.text("Exif.Image.Make"))
        fields.insert(u"image.make"_s, *make);
    if (const auto model = tags.text("Exif.Image.Model"))
        fields.insert(u"image.model"_s, *model);
    if (const auto lens = tags.text("Exif.Photo.LensModel"))
        fields.insert(u"image.lens"_s, *lens);
    if (const auto exposure = tags.real("Exif.Photo.ExposureTime"); exposure && *exposure > 0) {
        fields.insert(u"image.exposure"_s, fixed(*exposure, 4));
        fields.insert(u"image.exposure.frac"_s, exposureFraction(*exposure));
    }
    if (const auto fNumber = tags.real("Exif.Photo.FNumber")) {
        fields.insert(u"image.aperture"_s, u"f"_s + fixed(*fNumber, 1));
        fields.insert(u"image.fnumber"_s, fixed(*fNumber, 1));
    }
    if (const auto iso = tags.integer("Exif.Photo.ISOSpeedRatings"))
        fields.insert(u"image.iso"_s, QString::number(*iso));
    if (const auto focalLength = tags.real("Exif.Photo.FocalLength"))
        fields.insert(u"image.focal_length"_s, fixed(*focalLength, 0));
    if (const auto focalLength35 = tags.integer("Exif.Photo.FocalLengthIn35mmFilm"))
        fields.insert(u"image.focal_length_35mm"_s, QString::number(*focalLength35));
}

void addCaptureDate(const Tags& tags, Fields& fields)
{
    static const QRegularExpression pattern(
        u"\\A(\\d{4}):(\\d{2}):(\\d{2}) (\\d{2}):(\\d{2}):(\\d{2}).*\\z"_s,
        QRegularExpression::DotMatchesEverythingOption);
    const auto original = tags.text("Exif.Photo.DateTimeOriginal");
    if (!original)
        return;
    const auto match = pattern.match(*original);
    if (!match.hasMatch())
        return;
    fields.insert(u"image.date"_s, match.captured(1) + u'-' + match.captured(2) + u'-' + match.captured(3));
    fields.insert(u"image.time"_s, match.captured(4) + u'-' + match.captured(5) + u'-' + match.captured(6));
}

void addLocation(const Tags& tags, Fields& fields)
{
    const auto latitude = tags.degrees("Exif.GPSInfo.GPSLatitude");
    const auto latitudeReference = tags.text("Exif.GPSInfo.GPSLatitudeRef");
    if (latitude && latitudeReference)
        fields.insert(u"image.latitude"_s, fixed(*latitudeReference == u"N" ? *latitude : -*latitude, 6));
    const auto longitude = tags.degrees("Exif.GPSInfo.GPSLongitude");
    const auto longitudeReference = tags.text("Exif.GPSInfo.GPSLongitudeRef");
    if (longitude && longitudeReference)
        fields.insert(u"image.longitude"_s, fixed(*longitudeReference == u"E" ? *longitude : -*longitude, 6));
    const auto altitude = tags.real("Exif.GPSInfo.GPSAltitude");
    const auto altitudeReference = tags.integer("Exif.GPSInfo.GPSAltitudeRef");
    if (altitude && altitudeReference)
        fields.insert(u"image.altitude"_s, fixed(*altitudeReference == 0 ? *altitude : -*altitude, 1));
}

} // namespace

void readImageFields(const QString& path, Fields& fields)
{
    prepareLibrary();
    try {
        const auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        if (!image.get())
            return;
        image->readMetadata();
        if (image->pixelWidth() > 0)
            fields.insert(u"image.width"_s, QString::number(image->pixelWidth()));
        if (image->pixelHeight() > 0)
            fields.insert(u"image.height"_s, QString::number(image->pixelHeight()));
        const Tags tags(image->exifData());
        addCameraFields(tags, fields);
        addCaptureDate(tags, fields);
        addLocation(tags, fields);
    } catch (const std::exception& exception) {
        // Not an image exiv2 can read, or a damaged one: what was read so far stays.
        logFailure("exiv2", path, exception);
    }
}

} // namespace MetadataReaders
