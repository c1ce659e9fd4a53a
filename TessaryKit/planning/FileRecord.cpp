#include "planning/FileRecord.h"

#include "common/CanonicalText.h"
#include "common/FileNameParts.h"

FileRecord::FileRecord(QString id, QString path, Fields baseFields)
    : id(std::move(id)), path(std::move(path)), baseFields(std::move(baseFields)), fields(this->baseFields),
      resultName(originalName())
{
}

QString FileRecord::originalName() const
{
    return FileNameParts::nameOf(path);
}

QString FileRecord::locationNamed(const QString& name) const
{
    const QStringView folder = QStringView(path).first(path.lastIndexOf(u'/') + 1);
    QString location;
    location.reserve(folder.size() + name.size());
    return location.append(folder).append(name);
}

QString FileRecord::currentLocation() const
{
    return renamed ? locationNamed(resultName) : path;
}

std::optional<QString> FileRecord::shownError() const
{
    return operationError ? operationError : error;
}

bool FileRecord::nameChanged() const
{
    return !CanonicalText::equal(resultName, QStringView(path).sliced(path.lastIndexOf(u'/') + 1));
}

bool FileRecord::getsNewName() const
{
    return !error && nameChanged();
}
