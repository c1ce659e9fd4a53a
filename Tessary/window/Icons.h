#pragma once

#include <QIcon>

// The symbols of the window, by what they show. Each is the icon theme's freedesktop icon when the theme
// has one, else a small drawing of our own, so that the window looks complete on any desktop.
namespace Icons {

enum class Symbol {
    Plus,
    Document,
    Clock,
    Rename,
    UndoArrow,
    Pencil,
    Checkmark,
    Warning,
    Caution,
    TextLines,
    Info
};

QIcon icon(Symbol symbol);
// Tessary's own icon, drawn like the installed org.tessary.Tessary.svg, for the window when it runs from
// the build folder where no icon theme knows it.
QIcon applicationIcon();
// The colour a symbol is drawn in when it carries meaning: green for done, red for a problem.
QColor tint(Symbol symbol);

} // namespace Icons
