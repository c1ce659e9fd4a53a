#include "model/RenameFileList.h"

#include "common/FileNameParts.h"
#include "renaming/journal/RenameHistory.h"

namespace {

QString stateText(RenameHistory::FileState state)
{
    switch (state) {
    case RenameHistory::FileState::Renamed:
        //: State of a file in the Rename History window
        return RenameFileList::tr("Renamed");
    case RenameHistory::FileState::Restored:
        //: State of a file in the Rename History window
        return RenameFileList::tr("Old name restored");
    case RenameHistory::FileState::NotRenamed:
        //: State of a file in the Rename History window: the rename failed for it
        return RenameFileList::tr("Not renamed");
    case RenameHistory::FileState::Interrupted:
        break;
    }
    //: State of a file in the Rename History window
    return RenameFileList::tr("Interrupted");
}

} // namespace

void RenameFileList::show(const JournalEntry& shown, const FileRenamer::Failures& refused)
{
    beginResetModel();
    entry = shown;
    problems = refused;
    endResetModel();
}

void RenameFileList::clear()
{
    show({}, {});
}

int RenameFileList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entry.operations.size());
}

int RenameFileList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RenameFileList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= entry.operations.size())
        return {};
    const JournalOperation& operation = entry.operations[index.row()];
    if (role == Qt::ToolTipRole && index.column() != StateColumn && index.column() != ProblemColumn)
        return index.column() == OldNameColumn ? operation.operation.source : operation.operation.destination;
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && role != Qt::ToolTipRole)
        return {};
    switch (Column(index.column())) {
    case OldNameColumn:
        return FileNameParts::nameOf(operation.operation.source);
    case NewNameColumn:
        return FileNameParts::nameOf(operation.operation.destination);
    case StateColumn:
        return stateText(RenameHistory::stateOf(entry, operation));
    case ProblemColumn:
        return problems.value(operation.operation.id, entry.failures.value(operation.operation.id));
    case ColumnCount:
        break;
    }
    return {};
}

QVariant RenameFileList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (Column(section)) {
    case OldNameColumn:
        //: Column of the files of a rename in the Rename History window
        return tr("Old Name");
    case NewNameColumn:
        //: Column of the files of a rename in the Rename History window
        return tr("New Name");
    case StateColumn:
        //: Column of the files of a rename in the Rename History window
        return tr("State");
    case ProblemColumn:
        //: Column of the files of a rename in the Rename History window
        return tr("Problem");
    case ColumnCount:
        break;
    }
    return {};
}
