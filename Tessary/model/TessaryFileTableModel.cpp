#include "model/TessaryFileTableModel.h"

#include "common/NaturalOrder.h"
#include "window/Icons.h"

#include <QApplication>
#include <QMimeData>
#include <QPalette>
#include <QScopedValueRollback>
#include <QTimer>
#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

constexpr quintptr topLevel = 0;
const QString rowsFormat = u"application/x-tessary-table-rows"_s;

QColor secondaryColour()
{
    return QApplication::palette().color(QPalette::PlaceholderText);
}

} // namespace

TessaryFileTableModel::TessaryFileTableModel(TessaryFileList* files, QObject* parent)
    : QAbstractItemModel(parent), files(files)
{
    resetOrder();
    connectList();
}

void TessaryFileTableModel::connectList()
{
    connect(files, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) {
                changing = true;
                beginInsertRows({}, first, last);
            });
    connect(files, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        for (int file = first; file <= last; ++file) {
            order.push_back(file);
            rowOfFile.push_back(int(order.size() - 1));
            fetchedChildren.push_back(notFetched);
        }
        endInsertRows();
        changing = false;
        if (sortColumn >= 0)
            applySort();
    });
    // Removals and resets are rare (the user's own action): views start over with them.
    const auto beginReset = [this] {
        changing = true;
        beginResetModel();
    };
    const auto endReset = [this] {
        resetOrder();
        endResetModel();
        changing = false;
        applySort();
    };
    connect(files, &QAbstractItemModel::rowsAboutToBeRemoved, this, beginReset);
    connect(files, &QAbstractItemModel::rowsRemoved, this, endReset);
    connect(files, &QAbstractItemModel::modelAboutToBeReset, this, beginReset);
    connect(files, &QAbstractItemModel::modelReset, this, endReset);
    connect(files, &QAbstractItemModel::dataChanged, this, &TessaryFileTableModel::filesChanged);
}

void TessaryFileTableModel::resetOrder()
{
    order.resize(size_t(files->size()));
    std::iota(order.begin(), order.end(), 0);
    rowOfFile.assign(order.begin(), order.end());
    fetchedChildren.assign(order.size(), notFetched);
}

void TessaryFileTableModel::filesChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    for (int file = topLeft.row(); file <= bottomRight.row(); ++file)
        if (fetchedChildren[size_t(file)] != notFetched)
            updateChildren(file);
    if (sortColumn < 0 && bottomRight.row() - topLeft.row() < largeChange) {
        Q_EMIT dataChanged(index(topLeft.row(), 0), index(bottomRight.row(), ResultColumn));
        return;
    }
    // A tree view measures every row of a changed range at once; after a layout change it measures only
    // the rows it shows. Nothing moved, so there is no persistent index to update.
    const QScopedValueRollback guard(changing, true);
    Q_EMIT layoutAboutToBeChanged();
    Q_EMIT layoutChanged();
    if (sortColumn >= 0 && !resortPending) { // once for all the ranges of one plan
        resortPending = true;
        QTimer::singleShot(0, this, [this] {
            resortPending = false;
            applySort();
        });
    }
}

// An expanded file whose plan brought other fields or logs: its children are announced again.
void TessaryFileTableModel::updateChildren(qsizetype file)
{
    const QModelIndex parent = index(rowOfFile[size_t(file)], 0);
    const int known = fetchedChildren[size_t(file)], now = childCount(file);
    const QScopedValueRollback guard(changing, true);
    if (now > known) {
        beginInsertRows(parent, known, now - 1);
        fetchedChildren[size_t(file)] = now;
        endInsertRows();
    } else if (now < known) {
        beginRemoveRows(parent, now, known - 1);
        fetchedChildren[size_t(file)] = now;
        endRemoveRows();
    }
    if (now > 0)
        Q_EMIT dataChanged(index(0, 0, parent), index(now - 1, ResultColumn, parent));
}

int TessaryFileTableModel::childCount(qsizetype file) const
{
    const FileRecord& record = files->at(file);
    return int(record.fields.size() + record.logs.size());
}

qsizetype TessaryFileTableModel::fileIndex(const QModelIndex& index) const
{
    if (!index.isValid())
        return -1;
    return index.internalId() == topLevel ? order[size_t(index.row())] : qsizetype(index.internalId() - 1);
}

FileTableRow TessaryFileTableModel::row(const QModelIndex& index) const
{
    const qsizetype file = fileIndex(index);
    if (file < 0)
        return {};
    const FileRecord& record = files->at(file);
    if (index.internalId() == topLevel) {
        std::optional<QString> error = record.shownError();
        std::optional<QString> warning = error ? std::nullopt : record.warning;
        return {FileTableRow::Kind::File, record.originalName(), record.resultName, std::move(error),
                record.nameChanged(),     record.renamed,        std::move(warning)};
    }
    const qsizetype child = index.row();
    if (child < record.fields.size()) {
        const auto field = std::next(record.fields.cbegin(), child);
        return {
            FileTableRow::Kind::Field, field.key(), field.value(), std::nullopt, false, false, std::nullopt};
    }
    const qsizetype line = child - record.fields.size();
    return {FileTableRow::Kind::Log,
            u"console"_s,
            record.logs.value(line),
            std::nullopt,
            false,
            false,
            std::nullopt};
}

QModelIndex TessaryFileTableModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column > ResultColumn || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, topLevel);
    return createIndex(row, column, quintptr(order[size_t(parent.row())] + 1));
}

QModelIndex TessaryFileTableModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == topLevel)
        return {};
    return createIndex(rowOfFile[child.internalId() - 1], 0, topLevel);
}

int TessaryFileTableModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return int(order.size());
    if (parent.internalId() != topLevel || parent.column() != 0)
        return 0;
    return std::max(fetchedChildren[size_t(order[size_t(parent.row())])], 0);
}

int TessaryFileTableModel::columnCount(const QModelIndex&) const
{
    return 2;
}

bool TessaryFileTableModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return !order.empty();
    return parent.internalId() == topLevel && parent.column() == 0 &&
           childCount(order[size_t(parent.row())]) > 0;
}

bool TessaryFileTableModel::canFetchMore(const QModelIndex& parent) const
{
    return parent.isValid() && parent.internalId() == topLevel &&
           fetchedChildren[size_t(order[size_t(parent.row())])] == notFetched;
}

void TessaryFileTableModel::fetchMore(const QModelIndex& parent)
{
    if (changing || !canFetchMore(parent))
        return; // asked from inside the announcement of another change: the next ask fetches
    const qsizetype file = order[size_t(parent.row())];
    const int count = childCount(file);
    if (count == 0) {
        fetchedChildren[size_t(file)] = 0;
        return;
    }
    const QScopedValueRollback guard(changing, true);
    beginInsertRows(parent, 0, count - 1);
    fetchedChildren[size_t(file)] = count;
    endInsertRows();
}

QVariant TessaryFileTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const FileTableRow shown = row(index);
    const bool result = index.column() == ResultColumn;
    switch (role) {
    case Qt::DisplayRole:
        return result ? shown.result : shown.original;
    case Qt::ForegroundRole:
        if ((result && shown.kind == FileTableRow::Kind::File && !shown.changed) ||
            (!result && shown.kind == FileTableRow::Kind::Log))
            return secondaryColour();
        return {};
    case Qt::DecorationRole:
        if (!result && shown.kind == FileTableRow::Kind::Log)
            return Icons::icon(Icons::Symbol::TextLines);
        if (result && shown.error)
            return Icons::icon(Icons::Symbol::Warning);
        if (result && shown.warning)
            return Icons::icon(Icons::Symbol::Caution);
        if (result && shown.renamed)
            return Icons::icon(Icons::Symbol::Checkmark);
        return {};
    case Qt::AccessibleDescriptionRole:
        // A screen reader says what is wrong, not only that something is.
        if (result && shown.error)
            //: Accessibility description of a file with an error; the placeholder is the error
            return tr("Error: %1").arg(*shown.error);
        if (result && shown.warning)
            //: Accessibility description of a file with a warning; the placeholder is the warning
            return tr("Warning: %1").arg(*shown.warning);
        if (result && shown.renamed)
            //: Accessibility label of the mark of a renamed file in the file table
            return tr("Renamed");
        return {};
    case Qt::ToolTipRole: // the table shows it where the cell cuts its text short
        if (result && (shown.error || shown.warning))
            return shown.result + u'\n' + (shown.error ? *shown.error : *shown.warning);
        return result ? shown.result : shown.original;
    case ErrorRole:
        return result && shown.error ? QVariant(*shown.error) : QVariant();
    case WarningRole:
        return result && shown.warning ? QVariant(*shown.warning) : QVariant();
    default:
        return {};
    }
}

QVariant TessaryFileTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == OriginalColumn)
        //: Column of the file table: the file's name when it was added
        return tr("Original");
    //: Column of the file table: the new name
    return tr("Result");
}

void TessaryFileTableModel::sort(int column, Qt::SortOrder order)
{
    sortColumn = column;
    sortOrder = order;
    applySort();
}

// "Original": the order the plan numbered the files in, turned around when the header asks for the other
// direction; files the plan did not see last. "Result": natural order of the new names.
std::vector<qsizetype> TessaryFileTableModel::sortedFiles() const
{
    if (sortColumn == OriginalColumn) {
        std::vector<qsizetype> planned = files->planOrder();
        const auto unplanned = std::find_if(planned.begin(), planned.end(),
                                            [&](qsizetype file) { return files->at(file).row == 0; });
        if ((sortOrder == Qt::DescendingOrder) != files->planReversed())
            std::reverse(planned.begin(), unplanned);
        return planned;
    }
    const NaturalOrder natural;
    std::vector<NaturalOrder::Key> keys;
    keys.reserve(size_t(files->size()));
    for (qsizetype file = 0; file < files->size(); ++file)
        keys.push_back(natural.key(files->at(file).resultName));
    std::vector<qsizetype> sorted = order;
    std::stable_sort(sorted.begin(), sorted.end(), [&](qsizetype a, qsizetype b) {
        const int comparison = NaturalOrder::compare(keys[size_t(a)], keys[size_t(b)]);
        return sortOrder == Qt::AscendingOrder ? comparison < 0 : comparison > 0;
    });
    return sorted;
}

void TessaryFileTableModel::applySort()
{
    if (sortColumn < 0 || order.empty())
        return;
    const QScopedValueRollback guard(changing, true);
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList persistent = persistentIndexList();
    std::vector<qsizetype> persistentFiles;
    for (const QModelIndex& index : persistent)
        persistentFiles.push_back(fileIndex(index));

    order = sortedFiles();
    for (size_t row = 0; row < order.size(); ++row)
        rowOfFile[size_t(order[row])] = int(row);

    QModelIndexList moved;
    for (qsizetype i = 0; i < persistent.size(); ++i) {
        const QModelIndex& old = persistent[i];
        moved.append(old.internalId() == topLevel
                         ? createIndex(rowOfFile[size_t(persistentFiles[size_t(i)])], old.column(), topLevel)
                         : old); // children keep their place under their file
    }
    changePersistentIndexList(persistent, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

Qt::ItemFlags TessaryFileTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    const bool draggable = reorderable && sortColumn == OriginalColumn;
    if (draggable && index.isValid() && index.internalId() == topLevel)
        flags |= Qt::ItemIsDragEnabled;
    if (draggable && (!index.isValid() || index.internalId() == topLevel))
        flags |= Qt::ItemIsDropEnabled;
    return flags;
}

QStringList TessaryFileTableModel::mimeTypes() const
{
    return {rowsFormat};
}

// The table rows of the dragged files, each once.
QMimeData* TessaryFileTableModel::mimeData(const QModelIndexList& indexes) const
{
    QStringList rows;
    for (const QModelIndex& index : indexes) {
        if (index.isValid() && index.internalId() == topLevel && index.column() == 0)
            rows.append(QString::number(index.row()));
    }
    auto* data = new QMimeData;
    data->setData(rowsFormat, rows.join(u',').toLatin1());
    return data;
}

bool TessaryFileTableModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                            const QModelIndex& parent) const
{
    return action == Qt::MoveAction && data->hasFormat(rowsFormat) && (flags(parent) & Qt::ItemIsDropEnabled);
}

// Dropped between rows, the files go there; dropped on a file, before it.
bool TessaryFileTableModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                         const QModelIndex& parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    const int target = parent.isValid() ? parent.row() : (row < 0 ? int(order.size()) : row);
    std::vector<bool> moved(order.size());
    for (const QByteArray& text : data->data(rowsFormat).split(',')) {
        bool ok = false;
        const int dragged = text.toInt(&ok);
        if (ok && dragged >= 0 && size_t(dragged) < order.size())
            moved[size_t(dragged)] = true;
    }
    std::vector<qsizetype> shown;
    shown.reserve(order.size());
    const auto keep = [&](int first, int last, bool wantMoved) {
        for (int table = first; table < last; ++table)
            if (moved[size_t(table)] == wantMoved)
                shown.push_back(order[size_t(table)]);
    };
    keep(0, target, false);
    keep(0, int(order.size()), true);
    keep(target, int(order.size()), false);
    // The table shows the plan's order: under a reversed order, the list runs the other way.
    if (files->planReversed())
        std::reverse(shown.begin(), shown.end());
    Q_EMIT reorderRequested(shown);
    return true;
}
