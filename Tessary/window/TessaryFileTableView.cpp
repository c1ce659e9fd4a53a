#include "window/TessaryFileTableView.h"

#include "desktop/DesktopIntegration.h"
#include "model/TessaryModel.h"
#include "planning/FileOrder.h"
#include "window/FileResultDelegate.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <set>

TessaryFileTableView::TessaryFileTableView(TessaryModel* model, QSettings& preferences, QWidget* parent)
    : QTreeView(parent), model(model), preferences(preferences),
      rows(new TessaryFileTableModel(model->files(), this))
{
    setModel(rows);
    setItemDelegate(new FileResultDelegate(this));
    // A problem wraps at the Result column's width, so its rows change height with it.
    connect(header(), &QHeaderView::sectionResized, this, [this](int section) {
        if (section == TessaryFileTableModel::ResultColumn)
            scheduleDelayedItemsLayout();
    });
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAlternatingRowColors(true);
    setAllColumnsShowFocus(true);
    //: Accessibility label of the file table
    setAccessibleName(tr("Files"));
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);
    header()->resizeSection(TessaryFileTableModel::OriginalColumn, 260);
    // The plan's order unless the user chose another, so that the rows and {row} agree.
    header()->setSortIndicator(TessaryFileTableModel::OriginalColumn, Qt::AscendingOrder);
    header()->restoreState(preferences.value(customizationKey).toByteArray());
    if (header()->sortIndicatorSection() < 0) // unsorted, as earlier versions began
        header()->setSortIndicator(TessaryFileTableModel::OriginalColumn, Qt::AscendingOrder);
    setSortingEnabled(true);
    // Files are dragged to reorder them under the "listed" order; the model says when that is allowed.
    setDragDropMode(QAbstractItemView::InternalMove);
    setDropIndicatorShown(true);
    const auto refreshReorderable = [this] {
        rows->setReorderable(FileOrder(this->model->order()).isListed() && !this->model->isRenamed() &&
                             !this->model->isRenaming());
    };
    for (const auto signal :
         {&TessaryModel::orderChanged, &TessaryModel::isRenamedChanged, &TessaryModel::isRenamingChanged})
        connect(model, signal, this, refreshReorderable);
    refreshReorderable();
    connect(rows, &TessaryFileTableModel::reorderRequested, model, &TessaryModel::reorderFiles);

    const auto save = [this] { this->preferences.setValue(customizationKey, header()->saveState()); };
    connect(header(), &QHeaderView::sectionResized, this, save);
    connect(header(), &QHeaderView::sortIndicatorChanged, this, save);
    connect(header(), &QHeaderView::sortIndicatorChanged, this, &TessaryFileTableView::sortChanged);
    sortChanged(header()->sortIndicatorSection(), header()->sortIndicatorOrder());
}

void TessaryFileTableView::sortChanged(int section, Qt::SortOrder order)
{
    model->setSortReversed(section == TessaryFileTableModel::OriginalColumn && order == Qt::DescendingOrder);
}

QList<qsizetype> TessaryFileTableView::selectedFiles() const
{
    std::set<std::pair<int, qsizetype>> found; // by table row, each file once
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        const QModelIndex fileRow = index.parent().isValid() ? index.parent() : index;
        found.insert({fileRow.row(), rows->fileIndex(fileRow)});
    }
    QList<qsizetype> files;
    for (const auto& [row, file] : found)
        files.append(file);
    return files;
}

std::optional<qsizetype> TessaryFileTableView::currentFile() const
{
    const qsizetype file = rows->fileIndex(currentIndex());
    return file < 0 ? std::nullopt : std::optional(file);
}

QStringList TessaryFileTableView::selectedLocations() const
{
    QStringList locations;
    for (const qsizetype file : selectedFiles())
        locations.append(model->files()->at(file).currentLocation());
    return locations;
}

QSet<QString> TessaryFileTableView::selectedFileIds() const
{
    QSet<QString> ids;
    for (const qsizetype file : selectedFiles())
        ids.insert(model->files()->at(file).id);
    return ids;
}

void TessaryFileTableView::previewSelection()
{
    const QStringList locations = selectedLocations();
    if (!locations.isEmpty())
        DesktopIntegration::preview(locations.first(), this);
}

void TessaryFileTableView::showSelectionInFileManager()
{
    DesktopIntegration::showInFileManager(selectedLocations());
}

void TessaryFileTableView::removeSelection()
{
    model->removeFiles(selectedFileIds());
}

void TessaryFileTableView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        previewSelection();
        return;
    }
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Backspace) {
        removeSelection();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TessaryFileTableView::contextMenuEvent(QContextMenuEvent* event)
{
    if (selectedFiles().isEmpty())
        return;
    QMenu menu(this);
    //: Context menu of the file table
    menu.addAction(tr("Preview"), this, &TessaryFileTableView::previewSelection);
    //: Context menu of the file table
    menu.addAction(tr("Show in File Manager"), this, &TessaryFileTableView::showSelectionInFileManager);
    menu.addSeparator();
    //: Context menu of the file table
    QAction* remove = menu.addAction(tr("Remove from List"), this, &TessaryFileTableView::removeSelection);
    remove->setEnabled(!model->isRenamed() && !model->isRenaming());
    menu.exec(event->globalPos());
}
