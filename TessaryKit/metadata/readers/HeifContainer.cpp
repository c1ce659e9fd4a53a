// The HEIF adapter on libheif. Nothing is decoded: heif_init() is not called, so no codec plugin loads.
#include "metadata/readers/HeifContainer.h"

#include <QFile>
#include <QScopeGuard>
#include <libheif/heif.h>
#include <vector>

namespace HeifContainer {
namespace {

QByteArray metadataBlock(const heif_image_handle* handle, heif_item_id id)
{
    QByteArray block(qsizetype(heif_image_handle_get_metadata_size(handle, id)), Qt::Uninitialized);
    if (heif_image_handle_get_metadata(handle, id, block.data()).code != heif_error_Ok)
        return {};
    return block;
}

// The Exif item starts with the offset of the TIFF header behind it (ISO/IEC 23008-12, A.2.1).
QByteArray tiffStructure(const QByteArray& exifItem)
{
    if (exifItem.size() < 4)
        return {};
    const quint32 offset = quint32(quint8(exifItem[0])) << 24 | quint32(quint8(exifItem[1])) << 16 |
                           quint32(quint8(exifItem[2])) << 8 | quint32(quint8(exifItem[3]));
    if (offset > quint32(exifItem.size() - 4))
        return {};
    return exifItem.mid(4 + qsizetype(offset));
}

void readMetadata(const heif_image_handle* handle, HeifPrimaryImage& image)
{
    const int count = heif_image_handle_get_number_of_metadata_blocks(handle, nullptr);
    std::vector<heif_item_id> ids(size_t(std::max(count, 0)));
    heif_image_handle_get_list_of_metadata_block_IDs(handle, nullptr, ids.data(), count);
    for (const heif_item_id id : ids) {
        const QByteArray type = heif_image_handle_get_metadata_type(handle, id);
        const QByteArray contentType = heif_image_handle_get_metadata_content_type(handle, id);
        if (type == "Exif" && image.exif.isEmpty())
            image.exif = tiffStructure(metadataBlock(handle, id));
        else if (type == "mime" && contentType == "application/rdf+xml" && image.xmp.isEmpty())
            image.xmp = metadataBlock(handle, id);
    }
}

} // namespace

std::optional<HeifPrimaryImage> read(const QString& path, QString* error)
{
    heif_context* context = heif_context_alloc();
    const auto freeContext = qScopeGuard([&] { heif_context_free(context); });
    heif_error result = heif_context_read_from_file(context, QFile::encodeName(path).constData(), nullptr);
    heif_image_handle* handle = nullptr;
    if (result.code == heif_error_Ok)
        result = heif_context_get_primary_image_handle(context, &handle);
    if (result.code != heif_error_Ok) {
        *error = QString::fromUtf8(result.message);
        return std::nullopt;
    }
    const auto releaseHandle = qScopeGuard([&] { heif_image_handle_release(handle); });
    HeifPrimaryImage image;
    image.width = heif_image_handle_get_width(handle);
    image.height = heif_image_handle_get_height(handle);
    readMetadata(handle, image);
    return image;
}

} // namespace HeifContainer
