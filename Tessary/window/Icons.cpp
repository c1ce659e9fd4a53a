#include "window/Icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

using namespace Qt::StringLiterals;

namespace Icons {
namespace {

constexpr int side = 64;

void draw(Symbol symbol, QPainter& painter)
{
    const QColor colour = tint(symbol);
    QPen pen(colour, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    switch (symbol) {
    case Symbol::Plus:
        painter.drawLine(32, 12, 32, 52);
        painter.drawLine(12, 32, 52, 32);
        break;
    case Symbol::Document:
        painter.drawPolygon(QPolygon({{16, 8}, {40, 8}, {50, 18}, {50, 56}, {16, 56}}));
        break;
    case Symbol::Clock:
        painter.drawEllipse(QPoint(32, 32), 24, 24);
        painter.drawPolyline(QPolygon({{32, 18}, {32, 32}, {42, 38}}));
        break;
    case Symbol::Rename: // a name field with the text cursor in it
        painter.drawRoundedRect(QRect(6, 20, 52, 24), 4, 4);
        painter.drawLine(40, 12, 40, 52);
        painter.drawLine(34, 12, 46, 12);
        painter.drawLine(34, 52, 46, 52);
        break;
    case Symbol::UndoArrow: {
        QPainterPath path(QPointF(22, 24));
        path.lineTo(40, 24);
        path.cubicTo(58, 24, 58, 52, 40, 52);
        path.lineTo(26, 52);
        painter.drawPath(path);
        painter.drawPolyline(QPolygon({{30, 12}, {18, 24}, {30, 36}}));
        break;
    }
    case Symbol::Pencil:
        painter.drawLine(14, 50, 46, 18);
        painter.drawLine(40, 12, 52, 24);
        painter.drawLine(10, 54, 16, 48);
        break;
    case Symbol::Checkmark:
        painter.setBrush(colour);
        painter.drawEllipse(QPoint(32, 32), 26, 26);
        painter.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(QPolygon({{20, 33}, {29, 42}, {45, 23}}));
        break;
    case Symbol::Warning:
    case Symbol::Caution:
        painter.setBrush(colour);
        painter.drawPolygon(QPolygon({{32, 6}, {60, 56}, {4, 56}}));
        painter.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(32, 24, 32, 38);
        painter.drawPoint(32, 47);
        break;
    case Symbol::TextLines:
        for (const int y : {16, 28, 40, 52})
            painter.drawLine(10, y, y == 52 ? 36 : 54, y);
        break;
    case Symbol::Info:
        painter.drawEllipse(QPoint(32, 32), 26, 26);
        painter.drawLine(32, 28, 32, 46);
        painter.drawPoint(32, 18);
        break;
    }
}

QIcon drawn(Symbol symbol)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(symbol, painter);
    return QIcon(pixmap);
}

QString themeName(Symbol symbol)
{
    switch (symbol) {
    case Symbol::Plus:
        return u"list-add"_s;
    case Symbol::Document:
        return u"document-new"_s;
    case Symbol::Clock:
        return u"document-open-recent"_s;
    case Symbol::Rename:
        return u"edit-rename"_s;
    case Symbol::UndoArrow:
        return u"edit-undo"_s;
    case Symbol::Pencil:
        return u"document-edit"_s;
    case Symbol::Checkmark:
        return u"emblem-ok-symbolic"_s;
    case Symbol::Warning:
    case Symbol::Caution:
        return u"dialog-warning"_s;
    case Symbol::TextLines:
        return u"format-justify-left"_s;
    case Symbol::Info:
        return u"help-about"_s;
    }
    return {};
}

} // namespace

QColor tint(Symbol symbol)
{
    switch (symbol) {
    case Symbol::Checkmark:
        return QColor(52, 199, 89);
    case Symbol::Warning:
        return QColor(255, 59, 48);
    case Symbol::Caution:
        return QColor(255, 159, 10);
    default:
        return QPalette().color(QPalette::WindowText);
    }
}

QIcon icon(Symbol symbol)
{
    static QHash<Symbol, QIcon> made; // the table asks for every visible row; drawing is done once
    auto found = made.find(symbol);
    if (found == made.end()) {
        // Green, red and amber carry meaning, which a theme's monochrome symbol would lose.
        const bool coloured =
            symbol == Symbol::Checkmark || symbol == Symbol::Warning || symbol == Symbol::Caution;
        found = made.insert(symbol,
                            coloured ? drawn(symbol) : QIcon::fromTheme(themeName(symbol), drawn(symbol)));
    }
    return *found;
}

QIcon applicationIcon()
{
    QPixmap pixmap(128, 128);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient tile(0, 8, 0, 120);
    tile.setColorAt(0, QColor(0x5b, 0x8d, 0xef));
    tile.setColorAt(1, QColor(0x31, 0x54, 0xb8));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(8, 8, 112, 112, 24, 24);
    QColor name = Qt::white;
    name.setAlphaF(0.55f);
    painter.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const int y : {30, 57, 84}) {
        painter.fillRect(26, y, 44, 14, name);
        painter.drawLine(76, y + 7, 90, y + 7);
        painter.drawPolyline(QPolygon({{86, y - 1}, {96, y + 7}, {86, y + 15}}));
    }
    return QIcon::fromTheme(u"org.tessary.Tessary"_s, QIcon(pixmap));
}

} // namespace Icons
