#pragma once

#include <QStyledItemDelegate>

// The Result cell: the new name with its mark, and a file's error under it in smaller, secondary text.
class FileResultDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QFont errorFont(const QFont& base);
};
