#pragma once

#include "Fields.h"
#include "platform/KitInternal.h"

#include <exiv2/exiv2.hpp>

namespace MetadataReaders {

// The image fields that tags give: camera, exposure, capture time, position and description. Empty data
// of any kind gives no field.
void addImageTagFields(const Exiv2::ExifData& exif, const Exiv2::XmpData& xmp, const Exiv2::IptcData& iptc,
                       Fields& fields);

} // namespace MetadataReaders
