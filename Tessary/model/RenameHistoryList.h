#pragma once

#include "model/Lifeline.h"
#include "renaming/journal/RenameJournal.h"

#include <QAbstractTableModel>
#include <optional>

// The renames of the journal as a table, newest first: when, how many files, where, with which rules, and
// in which state. Reading happens on a worker; `refreshed` tells when a new listing is in. Main thread.
class RenameHistoryList : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { WhenColumn, FilesColumn, FolderColumn, RulesColumn, StateColumn, ColumnCount };

    explicit RenameHistoryList(QString journalFolder, QObject* parent = nullptr);

    const QString& journalFolder() const { return folder; }
    const QList<JournalSummary>& summaries() const { return history; }
    std::optional<JournalSummary> undoTarget() const;
    std::optional<JournalSummary> redoTarget() const;
    // Reads the journal again; a listing that arrives after a newer request is dropped.
    void refresh();

    // How each of the columns reads for people; also used by the window's tooltips.
    static QString stateText(JournalSummary::State state);
    static QString rulesText(const std::optional<RenameRules>& rules);
    static QString folderText(const QStringList& folders);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    void refreshed();

private:
    const QString folder;
    QList<JournalSummary> history;
    quint64 serial = 0;
    Lifeline lifeline{this};
};
