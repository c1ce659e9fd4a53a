#include "common/NormalizedPath.h"

#include <QDir>

QString normalizedPath(const QString& path)
{
    return QDir::cleanPath(path).normalized(QString::NormalizationForm_C).toLower();
}
