#pragma once

#include <QString>
#include <optional>
#include <vector>

// The colours of highlighting, by role; HighlightPalette turns them into the current appearance's colours.
enum class HighlightColour : quint8 { None, Purple, PurpleTranslucent, Brown, Red, GreenTranslucent };

// What highlighting adds to one character; the editor's base font and text colour show where it adds nothing.
struct CharacterStyle {
    HighlightColour foreground = HighlightColour::None;
    HighlightColour background = HighlightColour::None;
    HighlightColour underline = HighlightColour::None; // a single underline in this colour
    bool bold = false;

    friend bool operator==(const CharacterStyle&, const CharacterStyle&) = default;
};

// A text with a style per UTF-16 unit, as highlighters see it. Each call sets one attribute on a range
// and leaves the others as they are, so a later pass wins only where it sets the same attribute.
class HighlightedText {
public:
    explicit HighlightedText(QString text) : content(std::move(text)), styles(size_t(content.size())) {}

    const QString& text() const { return content; }
    const std::vector<CharacterStyle>& characterStyles() const { return styles; }

    void setForeground(qsizetype start, qsizetype length, HighlightColour colour);
    void setBackground(qsizetype start, qsizetype length, HighlightColour colour);
    void setUnderline(qsizetype start, qsizetype length, HighlightColour colour);
    void setBold(qsizetype start, qsizetype length);
    // What the editor shows while the pointer rests on the range, such as why it is underlined.
    void setToolTip(qsizetype start, qsizetype length, const QString& tip);
    // The tool tip of the range that holds `position`; nothing outside every range.
    std::optional<QString> toolTipAt(qsizetype position) const;

    struct ToolTip {
        qsizetype start;
        qsizetype length;
        QString text;
    };

private:
    template <typename Change> void change(qsizetype start, qsizetype length, Change apply);

    QString content;
    std::vector<CharacterStyle> styles;
    std::vector<ToolTip> toolTips;
};
