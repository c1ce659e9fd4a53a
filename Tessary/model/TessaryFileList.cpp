#include "model/TessaryFileList.h"

namespace {

template <typename T> bool assignIfDifferent(T& field, T& value)
{
    if (field == value)
        return false;
    std::swap(field, value);
    return true;
}

} // namespace

QSet<QString> TessaryFileList::ids() const
{
    QSet<QString> known;
    known.reserve(size());
    for (const TessaryFileModel& file : files)
        known.insert(file.id);
    return known;
}

void TessaryFileList::append(std::vector<TessaryFileModel> added)
{
    if (added.empty())
        return;
    beginInsertRows({}, int(size()), int(size() + qsizetype(added.size()) - 1));
    files.insert(files.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    endInsertRows();
}

void TessaryFileList::remove(const QSet<QString>& ids)
{
    // From the end, one run of adjacent rows at a time, so that earlier rows keep their numbers.
    for (qsizetype last = size() - 1; last >= 0; --last) {
        if (!ids.contains(at(last).id))
            continue;
        qsizetype first = last;
        while (first > 0 && ids.contains(at(first - 1).id))
            --first;
        beginRemoveRows({}, int(first), int(last));
        files.erase(files.begin() + first, files.begin() + last + 1);
        endRemoveRows();
        last = first;
    }
}

void TessaryFileList::clear()
{
    beginResetModel();
    files.clear();
    endResetModel();
}

void TessaryFileList::applyPlan(RenamePlanner::Plan& plan)
{
    std::vector<bool> changed(files.size());
    for (size_t row = 0; row < files.size(); ++row) {
        TessaryFileModel& file = files[row];
        const auto found = plan.find(file.id);
        if (found == plan.end())
            continue; // added after the plan started: the next one includes it
        PlanOutput& output = *found;
        bool different = assignIfDifferent(file.fields, output.fields);
        different |= assignIfDifferent(file.resultName, output.resultName);
        different |= assignIfDifferent(file.error, output.error);
        different |= assignIfDifferent(file.logs, output.logs);
        different |= file.operationError.has_value();
        file.operationError.reset();
        changed[row] = different;
    }
    announce(changed);
}

void TessaryFileList::applyMoves(const QSet<QString>& ids, const FileRenamer::Failures& failures,
                                 bool renamedUnlessFailed)
{
    std::vector<bool> changed(files.size());
    for (size_t row = 0; row < files.size(); ++row) {
        TessaryFileModel& file = files[row];
        if (!ids.contains(file.id))
            continue;
        const auto failure = failures.constFind(file.id);
        std::optional<QString> operationError;
        if (failure != failures.cend())
            operationError = *failure;
        bool renamed = renamedUnlessFailed == !operationError;
        changed[row] =
            assignIfDifferent(file.operationError, operationError) | assignIfDifferent(file.renamed, renamed);
    }
    announce(changed);
}

void TessaryFileList::setOperationError(const QSet<QString>& ids, const QString& message)
{
    std::vector<bool> changed(files.size());
    for (size_t row = 0; row < files.size(); ++row) {
        if (!ids.contains(files[row].id))
            continue;
        std::optional<QString> error = message;
        changed[row] = assignIfDifferent(files[row].operationError, error);
    }
    announce(changed);
}

int TessaryFileList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(size());
}

QVariant TessaryFileList::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TessaryFileModel& file = at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return file.resultName;
    case Qt::ToolTipRole:
        return file.shownError().value_or(QString());
    default:
        return {};
    }
}

void TessaryFileList::announce(const std::vector<bool>& changed)
{
    for (size_t first = 0; first < changed.size(); ++first) {
        if (!changed[first])
            continue;
        size_t last = first;
        while (last + 1 < changed.size() && changed[last + 1])
            ++last;
        Q_EMIT dataChanged(index(int(first)), index(int(last)));
        first = last;
    }
}
