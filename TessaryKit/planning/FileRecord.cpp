#include "planning/FileRecord.h"

#include "common/CanonicalText.h"
#include "common/FileNameParts.h"

FileRecord::FileRecord(QString id, QString path, Fields baseFields)
    : id(std::move(id)), path(std::move(path)), baseFields(std::move(baseFields)), fields(this->baseFields),
      resultName(originalName())
{
}

QString FileRecord::folder() const
{
    return FileNameParts::parentOf(path);
}

QString FileRecord::originalName() const
{
    return FileNameParts::nameOf(path);
}

QString FileRecord::currentLocation() const
{
    return renamed ? joinPath(folder(), resultName) : path;
}

std::optional<QString> FileRecord::shownError() const
{
    return operationError ? operationError : error;
}

bool FileRecord::nameChanged() const
{
    return !CanonicalText::equal(resultName, originalName());
}

bool FileRecord::getsNewName() const
{
    return !error && nameChanged();
}
