// The image group's rules on exiv2's tag data: which Exif, XMP and IPTC tags make which field.
#include "metadata/readers/ImageTagFields.h"

#include "metadata/NumberText.h"

#include <QRegularExpression>
#include <cmath>
#include <exiv2/easyaccess.hpp>

using namespace Qt::StringLiterals;

namespace MetadataReaders {
namespace {

// Blank text, which cameras and programs write for what they don't know, is no text.
std::optional<QString> nonBlank(const QString& text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? std::nullopt : std::optional(trimmed);
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
    Tags(const Exiv2::ExifData& exif, const Exiv2::XmpData& xmp, const Exiv2::IptcData& iptc)
        : exif(exif), xmp(xmp), iptc(iptc)
    {
    }

    std::optional<QString> text(const char* key) const
    {
        const auto it = find(key);
        if (it == exif.end() || it->typeId() != Exiv2::asciiString)
            return std::nullopt;
        return nonBlank(QString::fromStdString(it->toString()));
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

    // An XMP property as text: a language alternative in its default language, an array joined with ", ".
    std::optional<QString> xmpText(const char* key) const
    {
        const auto it = xmp.findKey(Exiv2::XmpKey(key));
        if (it == xmp.end() || it->count() == 0)
            return std::nullopt;
        if (const auto* alternatives = dynamic_cast<const Exiv2::LangAltValue*>(&it->value())) {
            const auto preferred = alternatives->value_.find("x-default");
            const auto& chosen =
                preferred != alternatives->value_.end() ? *preferred : *alternatives->value_.begin();
            return nonBlank(QString::fromStdString(chosen.second));
        }
        if (const auto* array = dynamic_cast<const Exiv2::XmpArrayValue*>(&it->value())) {
            QStringList items;
            for (long i = 0; i < long(array->count()); ++i)
                if (const auto item = nonBlank(QString::fromStdString(array->toString(i))))
                    items.append(*item);
            return nonBlank(items.join(u", "_s));
        }
        return nonBlank(QString::fromStdString(it->toString()));
    }

    // Every value of a repeated IPTC dataset, joined with ", ".
    std::optional<QString> iptcTexts(const char* key) const
    {
        const Exiv2::IptcKey wanted(key);
        QStringList items;
        for (const Exiv2::Iptcdatum& datum : iptc)
            if (datum.tag() == wanted.tag() && datum.record() == wanted.record())
                if (const auto item = nonBlank(QString::fromStdString(datum.toString())))
                    items.append(*item);
        return nonBlank(items.join(u", "_s));
    }

    // The tag exiv2 judges best among the standard and maker note tags for a property (its lens, its
    // ISO), as exiv2 prints it: a maker note's lens number becomes the lens's name.
    std::optional<QString> printed(Exiv2::ExifData::const_iterator (*finder)(const Exiv2::ExifData&)) const
    {
        const auto it = finder(exif);
        if (it == exif.end())
            return std::nullopt;
        return nonBlank(QString::fromStdString(it->print(&exif)));
    }

private:
    Exiv2::ExifData::const_iterator find(const char* key) const { return exif.findKey(Exiv2::ExifKey(key)); }
    const Exiv2::ExifData& exif;
    const Exiv2::XmpData& xmp;
    const Exiv2::IptcData& iptc;
};

// The first of several sources that has a value.
template <class T> std::optional<T> firstOf(std::initializer_list<std::optional<T>> candidates)
{
    for (const auto& candidate : candidates)
        if (candidate)
            return candidate;
    return std::nullopt;
}

QString exposureFraction(double seconds)
{
    if (seconds >= 1)
        return fixedText(seconds, 1);
    return u"1-"_s + QString::number(std::llround(1 / seconds));
}

// A maker note's lens; a lens number exiv2 has no name for prints in parentheses and says nothing.
std::optional<QString> makerNoteLens(const Tags& tags)
{
    const auto lens = tags.printed(Exiv2::lensName);
    if (!lens || lens->startsWith(u'(') || lens->front().isDigit())
        return std::nullopt;
    return lens;
}

std::optional<qint64> makerNoteIso(const Tags& tags)
{
    bool ok = false;
    const qint64 iso = tags.printed(Exiv2::isoSpeed).value_or(QString()).toLongLong(&ok);
    return ok && iso > 0 ? std::optional(iso) : std::nullopt;
}

void addCameraFields(const Tags& tags, Fields& fields)
{
    if (const auto make = tags.text("Exif.Image.Make"))
        fields.insert(u"image.make"_s, *make);
    if (const auto model = tags.text("Exif.Image.Model"))
        fields.insert(u"image.model"_s, *model);
    if (const auto lens = firstOf({tags.text("Exif.Photo.LensModel"), makerNoteLens(tags)}))
        fields.insert(u"image.lens"_s, *lens);
    if (const auto exposure = tags.real("Exif.Photo.ExposureTime"); exposure && *exposure > 0) {
        fields.insert(u"image.exposure"_s, fixedText(*exposure, 4));
        fields.insert(u"image.exposure.frac"_s, exposureFraction(*exposure));
    }
    if (const auto fNumber = tags.real("Exif.Photo.FNumber")) {
        fields.insert(u"image.aperture"_s, u"f"_s + fixedText(*fNumber, 1));
        fields.insert(u"image.fnumber"_s, fixedText(*fNumber, 1));
    }
    if (const auto iso = firstOf({tags.integer("Exif.Photo.ISOSpeedRatings"), makerNoteIso(tags)}))
        fields.insert(u"image.iso"_s, QString::number(*iso));
    if (const auto focalLength = tags.real("Exif.Photo.FocalLength"))
        fields.insert(u"image.focal_length"_s, fixedText(*focalLength, 0));
    if (const auto focalLength35 = tags.integer("Exif.Photo.FocalLengthIn35mmFilm"))
        fields.insert(u"image.focal_length_35mm"_s, QString::number(*focalLength35));
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

// When the picture was taken, as the camera wrote it: no zone conversion.
struct CaptureTime {
    QString date, time;
    std::optional<QString> subsec, offset;
};

// "+02:00" as "+02-00", "Z" as "+00-00"; anything else is no offset.
std::optional<QString> offsetText(const QString& text)
{
    static const QRegularExpression offset(u"\\A([+-]\\d{2}):(\\d{2})\\z"_s);
    if (text == u"Z"_s)
        return u"+00-00"_s;
    const auto match = offset.match(text.trimmed());
    return match.hasMatch() ? std::optional(match.captured(1) + u'-' + match.captured(2)) : std::nullopt;
}

std::optional<QString> digits(const std::optional<QString>& text)
{
    static const QRegularExpression allDigits(u"\\A\\d+\\z"_s);
    if (!text || !allDigits.match(text->trimmed()).hasMatch())
        return std::nullopt;
    return text->trimmed();
}

// An Exif date ("2023:07:14 18:22:05") with the sub-second and offset tags that belong to it.
std::optional<CaptureTime> exifCaptureTime(const Tags& tags, const char* dateKey, const char* subsecKey,
                                           const char* offsetKey)
{
    static const QRegularExpression pattern(
        u"\\A(\\d{4}):(\\d{2}):(\\d{2}) (\\d{2}):(\\d{2}):(\\d{2}).*\\z"_s,
        QRegularExpression::DotMatchesEverythingOption);
    const auto text = tags.text(dateKey);
    const auto match = text ? pattern.match(*text) : QRegularExpressionMatch();
    if (!match.hasMatch())
        return std::nullopt;
    const auto offset = tags.text(offsetKey);
    return CaptureTime{match.captured(1) + u'-' + match.captured(2) + u'-' + match.captured(3),
                       match.captured(4) + u'-' + match.captured(5) + u'-' + match.captured(6),
                       digits(tags.text(subsecKey)), offset ? offsetText(*offset) : std::nullopt};
}

// An XMP date ("2023-07-14T18:22:05.25+02:00"); seconds may be left out, a date alone is not enough.
std::optional<CaptureTime> xmpCaptureTime(const Tags& tags, const char* key)
{
    static const QRegularExpression pattern(
        u"\\A(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d+))?)?(Z|[+-]\\d{2}:\\d{2})?\\z"_s);
    const auto text = tags.xmpText(key);
    const auto match = text ? pattern.match(text->trimmed()) : QRegularExpressionMatch();
    if (!match.hasMatch())
        return std::nullopt;
    const QString seconds = match.hasCaptured(6) ? match.captured(6) : u"00"_s;
    return CaptureTime{match.captured(1) + u'-' + match.captured(2) + u'-' + match.captured(3),
                       match.captured(4) + u'-' + match.captured(5) + u'-' + seconds,
                       match.hasCaptured(7) ? std::optional(match.captured(7)) : std::nullopt,
                       match.hasCaptured(8) ? offsetText(match.captured(8)) : std::nullopt};
}

void addCaptureTime(const Tags& tags, Fields& fields)
{
    const auto capture = firstOf({
        exifCaptureTime(tags, "Exif.Photo.DateTimeOriginal", "Exif.Photo.SubSecTimeOriginal",
                        "Exif.Photo.OffsetTimeOriginal"),
        exifCaptureTime(tags, "Exif.Photo.DateTimeDigitized", "Exif.Photo.SubSecTimeDigitized",
                        "Exif.Photo.OffsetTimeDigitized"),
        xmpCaptureTime(tags, "Xmp.exif.DateTimeOriginal"),
        xmpCaptureTime(tags, "Xmp.photoshop.DateCreated"),
        xmpCaptureTime(tags, "Xmp.xmp.CreateDate"),
    });
    if (!capture)
        return;
    fields.insert(u"image.date"_s, capture->date);
    fields.insert(u"image.time"_s, capture->time);
    if (capture->subsec)
        fields.insert(u"image.subsec"_s, *capture->subsec);
    if (capture->offset)
        fields.insert(u"image.offset"_s, *capture->offset);
}

std::optional<qint64> integerText(const std::optional<QString>& text)
{
    bool ok = false;
    const qint64 number = text ? text->trimmed().toLongLong(&ok) : 0;
    return ok ? std::optional(number) : std::nullopt;
}

void addDescriptionFields(const Tags& tags, Fields& fields)
{
    if (const auto orientation = tags.integer("Exif.Image.Orientation");
        orientation && *orientation >= 1 && *orientation <= 8)
        fields.insert(u"image.orientation"_s, QString::number(*orientation));
    if (const auto serial =
            firstOf({tags.text("Exif.Photo.BodySerialNumber"), tags.printed(Exiv2::serialNumber),
                     tags.xmpText("Xmp.aux.SerialNumber")}))
        fields.insert(u"image.serial"_s, *serial);
    if (const auto software =
            firstOf({tags.text("Exif.Image.Software"), tags.xmpText("Xmp.xmp.CreatorTool")}))
        fields.insert(u"image.software"_s, *software);
    if (const auto rating =
            firstOf({integerText(tags.xmpText("Xmp.xmp.Rating")), tags.integer("Exif.Image.Rating")}))
        fields.insert(u"image.rating"_s, QString::number(*rating));
    if (const auto title = firstOf({tags.xmpText("Xmp.dc.title"), tags.text("Exif.Image.ImageDescription")}))
        fields.insert(u"image.title"_s, *title);
    if (const auto keywords =
            firstOf({tags.xmpText("Xmp.dc.subject"), tags.iptcTexts("Iptc.Application2.Keywords")}))
        fields.insert(u"image.keywords"_s, *keywords);
}

} // namespace

void addImageTagFields(const Exiv2::ExifData& exif, const Exiv2::XmpData& xmp, const Exiv2::IptcData& iptc,
                       Fields& fields)
{
    const Tags tags(exif, xmp, iptc);
    addCameraFields(tags, fields);
    addCaptureTime(tags, fields);
    addLocation(tags, fields);
    addDescriptionFields(tags, fields);
}

} // namespace MetadataReaders
