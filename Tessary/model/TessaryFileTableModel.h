#pragma once

#include "model/FileTableRow.h"
#include "model/TessaryFileList.h"

#include <QAbstractItemModel>
#include <vector>

// The file table's rows over the file list, built when a view asks for them: a file row per file, and
// under it its sorted field rows and its log rows. A file's children are announced only once a view
// expanded it, so that a new plan for 100,000 files costs a handful of signals, not one per file.
class TessaryFileTableModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { OriginalColumn, ResultColumn };
    enum Role { ErrorRole = Qt::UserRole + 1, WarningRole };

    explicit TessaryFileTableModel(TessaryFileList* files, QObject* parent = nullptr);

    FileTableRow row(const QModelIndex& index) const;
    // Whether the user may drag files to put them in another order: under the "listed" order, while the
    // table shows the plan's order.
    void setReorderable(bool value) { reorderable = value; }
    // The position in the file list of the file the row belongs to; -1 for an invalid index.
    qsizetype fileIndex(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

Q_SIGNALS:
    // Files were dropped elsewhere in the table: `positions` is the file list in its new order.
    void reorderRequested(const std::vector<qsizetype>& positions);

private:
    static constexpr int notFetched = -1;
    static constexpr int largeChange = 256; // rows; more are announced as a layout change

    void connectList();
    void filesChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void updateChildren(qsizetype file);
    int childCount(qsizetype file) const;
    void resetOrder();
    void applySort();
    std::vector<qsizetype> sortedFiles() const;

    TessaryFileList* files;
    std::vector<qsizetype> order;     // table row → file position
    std::vector<int> rowOfFile;       // file position → table row
    std::vector<int> fetchedChildren; // per file: the children views know of, or notFetched
    int sortColumn = -1;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
    bool resortPending = false;
    bool changing = false; // a change is being announced: fetching waits for the next ask
    bool reorderable = false;
};
