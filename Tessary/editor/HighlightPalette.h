#pragma once

#include "editor/HighlightedText.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QTextCharFormat>

// The colours and fonts of highlighting, for a light or a dark appearance.
namespace HighlightPalette {

// Dark when the palette's text is lighter than its background.
bool isDark(const QPalette& palette);
QColor colour(HighlightColour colour, bool dark);
// The system's fixed-pitch font at 12 points: the editors' base font.
QFont codeFont();
QFont boldCodeFont();
// The attributes highlighting adds to a character styled so.
QTextCharFormat format(const CharacterStyle& style, bool dark);

} // namespace HighlightPalette
