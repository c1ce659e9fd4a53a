#include "metadata/readers/MetadataReaders.h"
#include "metadata/readers/ReaderModule.h"

namespace {

void read(FieldCatalogue::Group group, const QString& path, Fields& fields)
{
    if (group == FieldCatalogue::Group::Video)
        MetadataReaders::readVideoFields(path, fields);
    else
        MetadataReaders::readAudioFields(path, fields);
}

} // namespace

TESSARY_READER_MODULE(read)
