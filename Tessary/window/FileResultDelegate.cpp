#include "window/FileResultDelegate.h"

#include "model/TessaryFileTableModel.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QTextLayout>
#include <QToolTip>
#include <QTreeView>

namespace {

constexpr int problemGap = 2; // between the name and the problem

} // namespace

FileResultDelegate::FileResultDelegate(QTreeView* view) : QStyledItemDelegate(view), view(view) {}

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

QStringList FileResultDelegate::problemLines(const QString& text, const QFont& font, int width)
{
    QStringList lines;
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine first = layout.createLine();
    if (first.isValid()) {
        first.setLineWidth(width);
        lines.append(text.mid(first.textStart(), first.textLength()).trimmed());
        const QString rest = text.mid(first.textStart() + first.textLength());
        if (!rest.isEmpty())
            lines.append(QFontMetrics(font).elidedText(rest, Qt::ElideRight, width));
    }
    layout.endLayout();
    return lines;
}

int FileResultDelegate::problemWidth(const QStyleOptionViewItem& option, int width)
{
    return std::max(1, width - option.decorationSize.width() - 8);
}

void FileResultDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QString problem = problemText(index);
    if (problem.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QFont font = errorFont(option.font);
    const QStringList lines = problemLines(problem, font, problemWidth(option, option.rect.width()));
    const int lineHeight = QFontMetrics(font).height();
    QStyleOptionViewItem name = option;
    name.rect.setBottom(option.rect.bottom() - int(lines.size()) * lineHeight - problemGap);
    QStyledItemDelegate::paint(painter, name, index);

    QRect area = option.rect;
    area.setTop(name.rect.bottom() + 1);
    painter->save();
    if (option.state & QStyle::State_Selected)
        painter->fillRect(area, option.palette.highlight());
    area.setLeft(option.rect.left() + option.decorationSize.width() + 8);
    painter->setFont(font);
    painter->setPen(option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                               : QPalette::PlaceholderText));
    for (const QString& line : lines) {
        painter->drawText(area, Qt::AlignLeft | Qt::AlignTop, line);
        area.setTop(area.top() + lineHeight);
    }
    painter->restore();
}

QSize FileResultDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QString problem = problemText(index);
    if (!problem.isEmpty()) {
        const QFont font = errorFont(option.font);
        const int width = problemWidth(option, view->columnWidth(index.column()));
        size.rheight() +=
            int(problemLines(problem, font, width).size()) * QFontMetrics(font).height() + problemGap;
    }
    return size;
}

bool FileResultDelegate::isElided(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem shown = option;
    initStyleOption(&shown, index);
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &shown, widget);
    // The style's margins around the text, as it elides within them.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    return shown.fontMetrics.horizontalAdvance(shown.text) > text.width() - 2 * margin;
}

bool FileResultDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* itemView,
                                   const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::ToolTip && problemText(index).isEmpty() && !isElided(option, index)) {
        QToolTip::hideText();
        return true; // all of it is in sight
    }
    return QStyledItemDelegate::helpEvent(event, itemView, option, index);
}
