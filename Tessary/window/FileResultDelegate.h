#pragma once

#include <QStyledItemDelegate>

class QTreeView;

// The cells of the file table. A Result cell shows the new name with its mark, and a file's error or
// warning under it in smaller, secondary text, wrapped to two lines at most; the mark tells which it is.
// A cell's tool tip gives its whole text, and shows only when there is more to read than the cell holds.
class FileResultDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit FileResultDelegate(QTreeView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    static QFont errorFont(const QFont& base);
    // `text` in at most two lines of `width`, the second elided when more would follow.
    static QStringList problemLines(const QString& text, const QFont& font, int width);

private:
    // The error, else the warning; empty when the file has neither.
    static QString problemText(const QModelIndex& index);
    // Where the problem goes in a cell of `width`: right of the mark.
    static int problemWidth(const QStyleOptionViewItem& option, int width);
    bool isElided(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    QTreeView* view;
};
