// The image group on exiv2: pixel size and tags, read without decoding pixels. HEIF containers are opened
// with libheif, which knows the primary image's shown size, and their Exif and XMP blocks are handed to
// exiv2.
#include "common/FileNameParts.h"
#include "metadata/readers/HeifContainer.h"
#include "metadata/readers/ImageTagFields.h"
#include "metadata/readers/MetadataReaders.h"
#include "metadata/readers/ReadDeadline.h"

#include <QFile>
#include <QSet>
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

void addSize(long width, long height, Fields& fields)
{
    if (width > 0)
        fields.insert(u"image.width"_s, QString::number(width));
    if (height > 0)
        fields.insert(u"image.height"_s, QString::number(height));
}

bool isHeif(const QString& path)
{
    static const QSet<QString> extensions{u"heic"_s, u"heif"_s, u"hif"_s, u"avif"_s};
    return extensions.contains(FileNameParts::extensionOf(path).toLower());
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
    Exiv2::XmpData xmp;
    if (!image->xmp.isEmpty())
        Exiv2::XmpParser::decode(xmp, image->xmp.toStdString());
    addImageTagFields(exif, xmp, Exiv2::IptcData(), fields);
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
    addImageTagFields(image->exifData(), image->xmpData(), image->iptcData(), fields);
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
