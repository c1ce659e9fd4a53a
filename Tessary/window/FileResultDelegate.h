#pragma once

#include <QStyledItemDelegate>

// The Result cell: the new name with its mark, and a file's error or warning under it in smaller,
// secondary text; the mark tells which it is.
class FileResultDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QFont errorFont(const QFont& base);

private:
    // The error, else the warning; empty when the file has neither.
    static QString problemText(const QModelIndex& index);
};
