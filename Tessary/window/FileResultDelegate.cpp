#include "window/FileResultDelegate.h"

#include "model/TessaryFileTableModel.h"

#include <QApplication>
#include <QPainter>

QFont FileResultDelegate::errorFont(const QFont& base)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.9);
    return font;
}

QString FileResultDelegate::problemText(const QModelIndex& index)
{
    const QString error = index.data(TessaryFileTableModel::ErrorRole).toString();
    return error.isEmpty() ? index.data(TessaryFileTableModel::WarningRole).toString() : error;
}

void FileResultDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QString error = problemText(index);
    if (error.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QFontMetrics errorMetrics(errorFont(option.font));
    QStyleOptionViewItem name = option;
    name.rect.setBottom(option.rect.bottom() - errorMetrics.height() - 2);
    QStyledItemDelegate::paint(painter, name, index);

    QRect errorArea = option.rect;
    errorArea.setTop(name.rect.bottom() + 1);
    errorArea.setLeft(option.rect.left() + option.decorationSize.width() + 8);
    painter->save();
    if (option.state & QStyle::State_Selected)
        painter->fillRect(errorArea, option.palette.highlight());
    painter->setFont(errorFont(option.font));
    painter->setPen(option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                               : QPalette::PlaceholderText));
    painter->drawText(errorArea, Qt::AlignLeft | Qt::AlignTop,
                      errorMetrics.elidedText(error, Qt::ElideRight, errorArea.width()));
    painter->restore();
}

QSize FileResultDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (!problemText(index).isEmpty())
        size.rheight() += QFontMetrics(errorFont(option.font)).height() + 2;
    return size;
}
