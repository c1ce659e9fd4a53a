#include "editor/HighlightedText.h"

#include <algorithm>

template <typename Change> void HighlightedText::change(qsizetype start, qsizetype length, Change apply)
{
    const qsizetype end = std::min(start + length, qsizetype(styles.size()));
    for (qsizetype i = std::max<qsizetype>(start, 0); i < end; ++i)
        apply(styles[size_t(i)]);
}

void HighlightedText::setForeground(qsizetype start, qsizetype length, HighlightColour colour)
{
    change(start, length, [colour](CharacterStyle& style) { style.foreground = colour; });
}

void HighlightedText::setBackground(qsizetype start, qsizetype length, HighlightColour colour)
{
    change(start, length, [colour](CharacterStyle& style) { style.background = colour; });
}

void HighlightedText::setUnderline(qsizetype start, qsizetype length, HighlightColour colour)
{
    change(start, length, [colour](CharacterStyle& style) { style.underline = colour; });
}

void HighlightedText::setBold(qsizetype start, qsizetype length)
{
    change(start, length, [](CharacterStyle& style) { style.bold = true; });
}

void HighlightedText::setToolTip(qsizetype start, qsizetype length, const QString& tip)
{
    toolTips.push_back({start, length, tip});
}

std::optional<QString> HighlightedText::toolTipAt(qsizetype position) const
{
    for (const ToolTip& tip : toolTips) {
        if (position >= tip.start && position < tip.start + tip.length)
            return tip.text;
    }
    return std::nullopt;
}
