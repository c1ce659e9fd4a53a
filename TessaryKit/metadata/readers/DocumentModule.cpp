#include "common/FileNameParts.h"
#include "metadata/readers/MetadataReaders.h"
#include "metadata/readers/ReaderModule.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace {

void read(FieldCatalogue::Group, const QString& path, Fields& fields)
{
    static const QSet<QString> legacy{u"doc"_s, u"xls"_s, u"ppt"_s};
    const auto properties = legacy.contains(FileNameParts::extensionOf(path).toLower())
                                ? MetadataReaders::readLegacyProperties(path)
                                : MetadataReaders::readPackageProperties(path);
    if (properties)
        properties->addTo(fields);
}

} // namespace

TESSARY_READER_MODULE(read)
