#include "editor/HighlightPalette.h"

#include <QFontDatabase>
#include <array>

namespace HighlightPalette {
namespace {

struct Colours {
    QColor purple, brown, green, red;
};

QColor withAlpha(QColor colour, qreal alpha)
{
    colour.setAlphaF(float(alpha));
    return colour;
}

// One set of values per appearance, made once; the translucent green is shared by all highlighters.
const std::array<QColor, 6>& table(bool dark)
{
    static const auto make = [](const Colours& c) {
        return std::array<QColor, 6>{QColor(), c.purple, withAlpha(c.purple, 0.8),
                                     c.brown,  c.red,    withAlpha(c.green, 0.2)};
    };
    static const std::array<QColor, 6> light =
        make({QColor(175, 82, 222), QColor(162, 132, 94), QColor(52, 199, 89), QColor(255, 59, 48)});
    static const std::array<QColor, 6> darkTable =
        make({QColor(191, 90, 242), QColor(172, 142, 104), QColor(48, 209, 88), QColor(255, 69, 58)});
    return dark ? darkTable : light;
}

} // namespace

bool isDark(const QPalette& palette)
{
    return palette.color(QPalette::Text).lightness() > palette.color(QPalette::Base).lightness();
}

QColor colour(HighlightColour colour, bool dark)
{
    return table(dark)[size_t(colour)];
}

QFont codeFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(12);
    return font;
}

QFont boldCodeFont()
{
    QFont font = codeFont();
    font.setBold(true);
    return font;
}

QTextCharFormat format(const CharacterStyle& style, bool dark)
{
    QTextCharFormat format;
    if (style.foreground != HighlightColour::None)
        format.setForeground(colour(style.foreground, dark));
    if (style.background != HighlightColour::None)
        format.setBackground(colour(style.background, dark));
    if (style.underline != HighlightColour::None) {
        format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        format.setUnderlineColor(colour(style.underline, dark));
    }
    if (style.bold)
        format.setFont(boldCodeFont(), QTextCharFormat::FontPropertiesSpecifiedOnly);
    return format;
}

} // namespace HighlightPalette
