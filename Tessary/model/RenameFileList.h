#pragma once

#include "renaming/journal/RenameJournal.h"

#include <QAbstractTableModel>

// The files of one rename of the journal: old name, new name, what each is now as last recorded, and why
// the last undo or redo here refused it. Main thread.
class RenameFileList : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { OldNameColumn, NewNameColumn, StateColumn, ProblemColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // `problems`: file id to why it was refused, from this session's last undo or redo of the entry.
    void show(const JournalEntry& entry, const FileRenamer::Failures& problems);
    void clear();
    const QString& entryFile() const { return entry.file; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    JournalEntry entry;
    FileRenamer::Failures problems;
};
