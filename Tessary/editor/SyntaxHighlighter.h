#pragma once

#include "editor/HighlightedText.h"

#include <QRegularExpression>
#include <QSet>
#include <memory>

// Colours a rule's text. Highlighters are values: the editor keeps a copy of the one it last ran and runs
// again only when the text or the highlighter differs. Highlighting never changes the text and never fails.
class SyntaxHighlighter {
public:
    virtual ~SyntaxHighlighter() = default;
    virtual void highlight(HighlightedText& text) const = 0;
    virtual std::unique_ptr<SyntaxHighlighter> clone() const = 0;
    // Same kind, same settings.
    virtual bool equals(const SyntaxHighlighter& other) const = 0;

    friend bool operator==(const SyntaxHighlighter& a, const SyntaxHighlighter& b) { return a.equals(b); }
};

template <typename Derived> class SyntaxHighlighterValue : public SyntaxHighlighter {
public:
    std::unique_ptr<SyntaxHighlighter> clone() const override
    {
        return std::make_unique<Derived>(static_cast<const Derived&>(*this));
    }
    bool equals(const SyntaxHighlighter& other) const override
    {
        const auto* same = dynamic_cast<const Derived*>(&other);
        return same && *same == static_cast<const Derived&>(*this);
    }
};

// Regular expressions: special characters purple, the names of named groups bold on green.
class RegexHighlighter : public SyntaxHighlighterValue<RegexHighlighter> {
public:
    void highlight(HighlightedText& text) const override;
    friend bool operator==(const RegexHighlighter&, const RegexHighlighter&) { return true; }
};

// Scripts: keywords bold purple, one-line string literals brown, literal field names on green.
class JavaScriptHighlighter : public SyntaxHighlighterValue<JavaScriptHighlighter> {
public:
    void highlight(HighlightedText& text) const override;
    friend bool operator==(const JavaScriptHighlighter&, const JavaScriptHighlighter&) { return true; }
};

// Result patterns: a reference to a known field on green, any other reference red and underlined.
class PatternFieldHighlighter : public SyntaxHighlighterValue<PatternFieldHighlighter> {
public:
    explicit PatternFieldHighlighter(QSet<QString> knownFields = {}) : knownFields(std::move(knownFields)) {}
    void highlight(HighlightedText& text) const override;
    friend bool operator==(const PatternFieldHighlighter& a, const PatternFieldHighlighter& b)
    {
        return a.knownFields == b.knownFields;
    }

    QSet<QString> knownFields; // compared exactly: case and spaces count
};
