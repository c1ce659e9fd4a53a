#include "common/Diagnostics.h"
#include "metadata/readers/MetadataReaders.h"

void MetadataReaders::logFailure(const char* library, const QString& path, const std::exception& exception)
{
    const QString privatePath = Diagnostics::privateValue(path);
    const QString message = QString::fromLocal8Bit(exception.what()).replace(path, privatePath);
    qCWarning(metadataLog, "%s could not read %s: %s", library, qUtf8Printable(privatePath),
              qUtf8Printable(message));
}
