#include "model/TessaryFileModel.h"

#include "common/CanonicalText.h"
#include "common/FileNameParts.h"

TessaryFileModel::TessaryFileModel(QString id, QString url, Fields baseFields)
    : id(std::move(id)), url(std::move(url)), baseFields(std::move(baseFields)), fields(this->baseFields),
      resultName(originalName())
{
}

QString TessaryFileModel::folder() const
{
    return FileNameParts::parentOf(url);
}

QString TessaryFileModel::originalName() const
{
    return FileNameParts::nameOf(url);
}

QString TessaryFileModel::currentLocation() const
{
    return renamed ? joinPath(folder(), resultName) : url;
}

std::optional<QString> TessaryFileModel::shownError() const
{
    return operationError ? operationError : error;
}

bool TessaryFileModel::nameChanged() const
{
    return !CanonicalText::equal(resultName, originalName());
}

bool TessaryFileModel::getsNewName() const
{
    return !error && nameChanged();
}
