#pragma once

#include "editor/HighlightPalette.h"
#include "editor/SyntaxHighlightEditor.h"

#include <QTextBlock>
#include <QTextLayout>

// Reads back what an editor shows for every character, from its blocks' layouts, as four lines of codes:
// foreground ('.' plain, 'p' translucent purple, 'P' purple, 'b' brown, 'r' red), background ('g' green),
// bold ('B') and underline ('u', red).
struct EditorFormats {
    QString foreground, background, bold, underline;

    static EditorFormats of(const SyntaxHighlightEditor& editor)
    {
        EditorFormats shown;
        const bool dark = HighlightPalette::isDark(editor.palette());
        const QString text = editor.toPlainText();
        for (qsizetype position = 0; position < text.size(); ++position) {
            const QTextBlock block = editor.document()->findBlock(int(position));
            const int offset = int(position) - block.position();
            QTextCharFormat format;
            for (const QTextLayout::FormatRange& range : block.layout()->formats())
                if (offset >= range.start && offset < range.start + range.length)
                    format = range.format;
            shown.foreground +=
                code(format.foreground().color(), format.hasProperty(QTextFormat::ForegroundBrush), dark);
            shown.background +=
                code(format.background().color(), format.hasProperty(QTextFormat::BackgroundBrush), dark);
            shown.bold += format.fontWeight() == QFont::Bold ? u'B' : u'.';
            const bool underlined =
                format.underlineStyle() == QTextCharFormat::SingleUnderline &&
                format.underlineColor() == HighlightPalette::colour(HighlightColour::Red, dark);
            shown.underline += underlined ? u'u' : u'.';
        }
        return shown;
    }

private:
    static QChar code(const QColor& colour, bool set, bool dark)
    {
        if (!set)
            return u'.';
        const std::pair<HighlightColour, QChar> codes[] = {{HighlightColour::PurpleTranslucent, u'p'},
                                                           {HighlightColour::Purple, u'P'},
                                                           {HighlightColour::Brown, u'b'},
                                                           {HighlightColour::Red, u'r'},
                                                           {HighlightColour::GreenTranslucent, u'g'}};
        for (const auto& [role, letter] : codes)
            if (HighlightPalette::colour(role, dark) == colour)
                return letter;
        return u'?';
    }
};
