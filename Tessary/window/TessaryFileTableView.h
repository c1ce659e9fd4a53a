#pragma once

#include "model/TessaryFileTableModel.h"

#include <QSettings>
#include <QTreeView>

class TessaryModel;

// The file table: each file with its original and new name, its fields and script lines under it. Sorting
// by "Original" descending numbers the files in reverse; the header's layout persists in the preferences.
class TessaryFileTableView : public QTreeView {
    Q_OBJECT

public:
    static inline const QString customizationKey = QStringLiteral("TessaryFileTableViewCustomization");

    TessaryFileTableView(TessaryModel* model, QSettings& preferences, QWidget* parent = nullptr);

    TessaryFileTableModel* tableModel() const { return rows; }
    // Where the selected files are now (their new names once renamed), in table order.
    QStringList selectedLocations() const;
    QSet<QString> selectedFileIds() const;
    // The file of the current row, a field or log line under it included.
    std::optional<qsizetype> currentFile() const;

    void previewSelection();
    void showSelectionInFileManager();
    void removeSelection();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void sortChanged(int section, Qt::SortOrder order);
    QList<qsizetype> selectedFiles() const;

    TessaryModel* model;
    QSettings& preferences;
    TessaryFileTableModel* rows;
};
