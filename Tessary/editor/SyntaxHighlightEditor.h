#pragma once

#include "editor/SyntaxHighlighter.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class FindBar;

// The editor of one rule: plain monospaced text bound two-way to a text property of a model, coloured by a
// SyntaxHighlighter over the whole text after every change. The colours live in the blocks' layouts, not in
// the document, so they never enter the undo history; an unchanged (text, highlighter) pair is not coloured
// again. While an input method composes, neither the model nor highlighting touches the text.
class SyntaxHighlightEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    SyntaxHighlightEditor(const SyntaxHighlighter& highlighter, const QString& label,
                          QWidget* parent = nullptr);
    ~SyntaxHighlightEditor() override;

    // Shows the model's text and writes every change of it back through `set`; `changed` brings the
    // model's own changes in.
    template <typename Model>
    void bind(Model* model, QString (Model::*get)() const, void (Model::*set)(const QString&),
              void (Model::*changed)())
    {
        const QPointer<Model> guarded(model);
        readBinding = [guarded, get] { return guarded ? (guarded->*get)() : QString(); };
        writeBinding = [guarded, set](const QString& text) {
            if (guarded)
                (guarded->*set)(text);
        };
        connect(model, changed, this, &SyntaxHighlightEditor::updateFromModel);
        showInitialText();
    }

    const SyntaxHighlighter& highlighter() const { return *current; }
    // Colours again when `highlighter` differs from the current one, such as other known fields.
    void setHighlighter(const SyntaxHighlighter& highlighter);
    // Not editable: the text can still be selected and copied.
    void setEditable(bool editable);
    // A rule of one line: Tab and Shift+Tab move focus, Return inserts nothing, and pasted line breaks
    // become spaces. Otherwise Tab indents and Ctrl+Tab and Ctrl+Shift+Tab leave the editor.
    void setSingleLine(bool singleLine);
    bool isSingleLine() const { return singleLine; }
    // Numbers the lines in a margin, as a script's errors cite them.
    void setLineNumbers(bool shown);
    int lineNumberWidth() const;
    // An input method is composing text that is not in the document yet.
    bool isComposing() const;
    FindBar* findBar() const { return bar; }
    // A single-line rule asks for two rows, so that a long one wraps in sight, and needs one; a script
    // asks for three, and its section's stretch gives it the room that is left.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public Q_SLOTS:
    // Takes the model's text when it differs, as one edit that undo can take back.
    void updateFromModel();

Q_SIGNALS:
    void highlighted(); // after every run that coloured the text

protected:
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override; // the focus frame
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;                 // tool tips of highlighted ranges
    bool eventFilter(QObject* watched, QEvent* event) override; // paints the line numbers

private:
    void showInitialText();
    void replaceQuietly(const QString& text);
    void textDidChange();
    void applyHighlighting();
    void applyFormats(const HighlightedText& text);
    void placeFindBar();
    int heightForRows(int rows) const;
    void paintLineNumbers(const QRect& area);

    struct Highlighted {
        HighlightedText styled;
        std::unique_ptr<SyntaxHighlighter> highlighter;
    };

    std::function<QString()> readBinding;
    std::function<void(const QString&)> writeBinding;
    std::unique_ptr<SyntaxHighlighter> current;
    std::optional<Highlighted> lastRun;
    QString shownText; // the document's text after the last change handled
    bool singleLine = false;
    QWidget* lineNumbers = nullptr;
    bool applyingFormats = false;
    bool replacingQuietly = false;
    FindBar* bar;
};
