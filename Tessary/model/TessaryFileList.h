#pragma once

#include "renaming/FileRenamer.h"
#include "planning/RenamePlanner.h"
#include "model/TessaryFileModel.h"

#include <QAbstractListModel>
#include <QSet>
#include <vector>

// The files of the list in the order they were added, each identity once. Views learn of changes through
// the item model's signals, announced per run of adjacent rows, never per file and field.
class TessaryFileList : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    qsizetype size() const { return qsizetype(files.size()); }
    bool isEmpty() const { return files.empty(); }
    const TessaryFileModel& at(qsizetype row) const { return files[size_t(row)]; }
    auto begin() const { return files.cbegin(); }
    auto end() const { return files.cend(); }
    QSet<QString> ids() const;

    void append(std::vector<TessaryFileModel> added);
    void remove(const QSet<QString>& ids);
    void clear();

    // Takes each output's values for its file and clears the file's operation error. The plan is consumed:
    // it receives the replaced values, so that the caller can free them off the main thread.
    void applyPlan(RenamePlanner::Plan& plan);
    // After a rename or an undo of `ids`: which of them carry their new name now, and why others failed.
    void applyMoves(const QSet<QString>& ids, const FileRenamer::Failures& failures,
                    bool renamedUnlessFailed);
    // Denied access: `message` for every file of `ids`.
    void setOperationError(const QSet<QString>& ids, const QString& message);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    // Announces the changed rows, one signal per run of adjacent rows.
    void announce(const std::vector<bool>& changed);

    std::vector<TessaryFileModel> files;
};
