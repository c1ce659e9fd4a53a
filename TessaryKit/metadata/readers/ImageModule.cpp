#include "metadata/readers/MetadataReaders.h"
#include "metadata/readers/ReaderModule.h"

namespace {

void read(FieldCatalogue::Group, const QString& path, Fields& fields)
{
    MetadataReaders::readImageFields(path, fields);
}

} // namespace

TESSARY_READER_MODULE(read)
