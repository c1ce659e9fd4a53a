#pragma once

#include "platform/KitInternal.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What a HEIF container (HEIC, AVIF) says of its primary image, read with libheif: the size as shown,
// after the container's rotation and crop, and the raw Exif and XMP blocks for the tag reader.
struct HeifPrimaryImage {
    int width = 0;
    int height = 0;
    QByteArray exif; // a TIFF structure, starting at its byte-order mark; empty when there is none
    QByteArray xmp;  // an XMP packet; empty when there is none
};

namespace HeifContainer {

// Nothing when the file is not a HEIF container libheif can read; the reason is in `error`.
std::optional<HeifPrimaryImage> read(const QString& path, QString* error);

} // namespace HeifContainer
