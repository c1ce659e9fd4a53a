#pragma once

#include "planning/RenameSession.h"

#include <QAbstractListModel>

// A session's files as an item model, in the order they were added. Views learn of changes through the
// item model's signals, announced per run of adjacent rows, never per file and field.
class TessaryFileList : public QAbstractListModel, private RenameSession::Observer {
    Q_OBJECT

public:
    explicit TessaryFileList(RenameSession& session, QObject* parent = nullptr);
    ~TessaryFileList() override;

    qsizetype size() const { return session.size(); }
    bool isEmpty() const { return session.isEmpty(); }
    const FileRecord& at(qsizetype row) const { return session.at(row); }
    auto begin() const { return session.files().cbegin(); }
    auto end() const { return session.files().cend(); }
    // The positions of the files in the order the last plan numbered them.
    std::vector<qsizetype> planOrder() const { return session.planOrder(); }
    // Whether the last plan numbered the files in descending name order.
    bool planReversed() const { return session.planReversed(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void filesAboutToBeAdded(qsizetype first, qsizetype last) override;
    void filesAdded() override;
    void filesAboutToBeRemoved(qsizetype first, qsizetype last) override;
    void filesRemoved() override;
    void filesAboutToBeCleared() override;
    void filesCleared() override;
    void filesAboutToBeReordered() override;
    void filesReordered() override;
    void filesChanged(qsizetype first, qsizetype last) override;

    RenameSession& session;
};
