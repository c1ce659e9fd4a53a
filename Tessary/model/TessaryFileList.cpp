#include "model/TessaryFileList.h"

TessaryFileList::TessaryFileList(RenameSession& session, QObject* parent)
    : QAbstractListModel(parent), session(session)
{
    session.setObserver(this);
}

TessaryFileList::~TessaryFileList()
{
    session.setObserver(nullptr);
}

int TessaryFileList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(size());
}

QVariant TessaryFileList::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const FileRecord& file = at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return file.resultName;
    case Qt::ToolTipRole:
        return file.shownError().value_or(QString());
    default:
        return {};
    }
}

void TessaryFileList::filesAboutToBeAdded(qsizetype first, qsizetype last)
{
    beginInsertRows({}, int(first), int(last));
}

void TessaryFileList::filesAdded()
{
    endInsertRows();
}

void TessaryFileList::filesAboutToBeRemoved(qsizetype first, qsizetype last)
{
    beginRemoveRows({}, int(first), int(last));
}

void TessaryFileList::filesRemoved()
{
    endRemoveRows();
}

void TessaryFileList::filesAboutToBeCleared()
{
    beginResetModel();
}

void TessaryFileList::filesCleared()
{
    endResetModel();
}

// Rare, and moves many rows at once: views start over.
void TessaryFileList::filesAboutToBeReordered()
{
    beginResetModel();
}

void TessaryFileList::filesReordered()
{
    endResetModel();
}

void TessaryFileList::filesChanged(qsizetype first, qsizetype last)
{
    Q_EMIT dataChanged(index(int(first)), index(int(last)));
}
