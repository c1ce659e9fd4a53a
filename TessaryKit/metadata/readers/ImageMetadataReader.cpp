// The image group on exiv2: pixel size, TIFF, Exif and GPS tags, read without decoding pixels. HEIF
// containers are opened with libheif, which knows the primary image's shown size, and their Exif block
// is handed to exiv2.
#include "common/FileNameParts.h"
#include "metadata/NumberText.h"
#include "metadata/readers/HeifContainer.h"
#include "metadata/readers/MetadataReaders.h"
#include "metadata/readers/ReadDeadline.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <cmath>
#include <exiv2/exiv2.hpp>
#include <memory>
#include <mutex>
#include <string>

using namespace Qt::StringLiterals;

namespace MetadataReaders {
namespace {

void prepareLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(); // once, before threads read images at the same time
        Exiv2::enableBMFF(true);        // HEIF files that libheif refuses
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

template <class Rational> std::optional<double> quotient(const Rational& rational)
{
    if (rational.second == 0)
        return std::nullopt; // 0/0 is how a blank value is written; n/0 is no number either
    return double(rational.first) / double(rational.second);
}

// Component `i` of a numeric tag in double precision: exiv2's own conversion goes through float.
std::optional<double> realAt(const Exiv2::Exifdatum& datum, long i)
{
    if (i >= long(datum.count()))
        return std::nullopt;
    const Exiv2::Value& value = datum.value();
    if (const auto* rationals = dynamic_cast<const Exiv2::URationalValue*>(&value))
        return quotient(rationals->value_[size_t(i)]);
    if (const auto* rationals = dynamic_cast<const Exiv2::RationalValue*>(&value))
        return quotient(rationals->value_[size_t(i)]);
    if (const auto* doubles = dynamic_cast<const Exiv2::DoubleValue*>(&value))
        return doubles->value_[size_t(i)];
    if (datum.typeId() == Exiv2::tiffFloat)
        return double(datum.toFloat(i));
    if (isInteger(datum.typeId()))
        return double(datum.toLong(i));
    return std::nullopt;
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
        if (it == exif.end())
            return std::nullopt;
        const auto value = realAt(*it, 0);
        return value && std::isfinite(*value) ? value : std::nullopt;
    }

    // Degrees, minutes and seconds as decimal degrees. Blank degrees mean no position; blank minutes or
    // seconds count as none.
    std::optional<double> degrees(const char* key) const
    {
        const auto it = find(key);
        if (it == exif.end())
            return std::nullopt;
        std::optional<double> value = realAt(*it, 0);
        for (long i = 1; value && i < 3; ++i)
            *value += realAt(*it, i).value_or(0) / std::pow(60.0, double(i));
        return value && std::isfinite(*value) ? value : std::nullopt;
    }

private:
    Exiv2::ExifData::const_iterator find(const char* key) const { return exif.findKey(Exiv2::ExifKey(key)); }
    const Exiv2::ExifData& exif;
};

QString exposureFraction(double seconds)
{
    if (seconds >= 1)
        return fixedText(seconds, 1);
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
        fields.insert(u"image.exposure"_s, fixedText(*exposure, 4));
        fields.insert(u"image.exposure.frac"_s, exposureFraction(*exposure));
    }
    if (const auto fNumber = tags.real("Exif.Photo.FNumber")) {
        fields.insert(u"image.aperture"_s, u"f"_s + fixedText(*fNumber, 1));
        fields.insert(u"image.fnumber"_s, fixedText(*fNumber, 1));
    }
    if (const auto iso = tags.integer("Exif.Photo.ISOSpeedRatings"))
        fields.insert(u"image.iso"_s, QString::number(*iso));
    if (const auto focalLength = tags.real("Exif.Photo.FocalLength"))
        fields.insert(u"image.focal_length"_s, fixedText(*focalLength, 0));
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

// A coordinate with its hemisphere; a blank reference, like blank degrees, means no position.
std::optional<double> coordinate(const Tags& tags, const char* valueKey, const char* referenceKey,
                                 const char* positive)
{
    const auto value = tags.degrees(valueKey);
    const auto reference = tags.text(referenceKey);
    if (!value || !reference || reference->trimmed().isEmpty())
        return std::nullopt;
    return reference->trimmed() == QLatin1StringView(positive) ? *value : -*value;
}

void addLocation(const Tags& tags, Fields& fields)
{
    const auto latitude = coordinate(tags, "Exif.GPSInfo.GPSLatitude", "Exif.GPSInfo.GPSLatitudeRef", "N");
    const auto longitude = coordinate(tags, "Exif.GPSInfo.GPSLongitude", "Exif.GPSInfo.GPSLongitudeRef", "E");
    if (latitude)
        fields.insert(u"image.latitude"_s, fixedText(*latitude, 6));
    if (longitude)
        fields.insert(u"image.longitude"_s, fixedText(*longitude, 6));
    if (!latitude && !longitude)
        return; // an altitude of a blank position is as blank as the position
    const auto altitude = tags.real("Exif.GPSInfo.GPSAltitude");
    const auto altitudeReference = tags.integer("Exif.GPSInfo.GPSAltitudeRef");
    if (altitude && altitudeReference)
        fields.insert(u"image.altitude"_s, fixedText(*altitudeReference == 0 ? *altitude : -*altitude, 1));
}

void addSize(long width, long height, Fields& fields)
{
    if (width > 0)
        fields.insert(u"image.width"_s, QString::number(width));
    if (height > 0)
        fields.insert(u"image.height"_s, QString::number(height));
}

void addTagFields(const Exiv2::ExifData& exif, Fields& fields)
{
    const Tags tags(exif);
    addCameraFields(tags, fields);
    addCaptureDate(tags, fields);
    addLocation(tags, fields);
}

bool isHeif(const QString& path)
{
    static const QSet<QString> extensions{u"heic"_s, u"heif"_s, u"hif"_s, u"avif"_s};
    return extensions.contains(FileNameParts::of(path).extension.toLower());
}

// False when libheif can't read the file, which then goes to exiv2 like any other image.
bool readHeifFields(const QString& path, Fields& fields)
{
    QString error;
    const auto image = HeifContainer::read(path, &error);
    if (!image)
        return false;
    addSize(image->width, image->height, fields);
    Exiv2::ExifData exif;
    if (!image->exif.isEmpty())
        Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(image->exif.constData()),
                                  uint32_t(image->exif.size()));
    addTagFields(exif, fields);
    return true;
}

// A file that stops being readable at the deadline: exiv2 walks a damaged JPEG or PNG byte by byte, or
// chunk by empty chunk, through gigabytes of zeros.
class DeadlineFileIo : public Exiv2::FileIo {
public:
    using FileIo::FileIo;

    Exiv2::DataBuf read(long count) override
    {
        check();
        return FileIo::read(count);
    }
    long read(Exiv2::byte* buffer, long count) override
    {
        check();
        return FileIo::read(buffer, count);
    }
    int getb() override
    {
        // Called once per byte: look at the clock once per 64 KiB.
        if (++bytes % 65536 == 0)
            check();
        return FileIo::getb();
    }

private:
    void check() const
    {
        if (deadline.passed())
            throw Exiv2::Error(Exiv2::kerErrorMessage,
                               "gave up after " + std::to_string(ReadDeadline::budget.count()) + " ms");
    }

    ReadDeadline deadline;
    quint64 bytes = 0;
};

std::unique_ptr<Exiv2::Image> openImage(const QString& path)
{
    // exiv2 0.27 hands images and files over in std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    Exiv2::BasicIo::AutoPtr io(new DeadlineFileIo(QFile::encodeName(path).toStdString()));
    return std::unique_ptr<Exiv2::Image>(Exiv2::ImageFactory::open(io).release());
#pragma GCC diagnostic pop
}

void readExiv2Fields(const QString& path, Fields& fields)
{
    const auto image = openImage(path);
    if (!image.get())
        return;
    image->readMetadata();
    addSize(image->pixelWidth(), image->pixelHeight(), fields);
    addTagFields(image->exifData(), fields);
}

} // namespace

void readImageFields(const QString& path, Fields& fields)
{
    prepareLibrary();
    try {
        if (!isHeif(path) || !readHeifFields(path, fields))
            readExiv2Fields(path, fields);
    } catch (const std::exception& exception) {
        // Not an image exiv2 can read, or a damaged one: what was read so far stays.
        logFailure("exiv2", path, exception);
    }
}

} // namespace MetadataReaders
