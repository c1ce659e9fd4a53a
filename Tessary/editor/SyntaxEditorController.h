#pragma once

#include <QObject>
#include <QPointer>

class SyntaxHighlightEditor;

// Lets the rules form insert text into an editor as if typed, such as a field reference from the
// "Insert Field" menu. It refers to the editor weakly: without one on screen, it does nothing.
class SyntaxEditorController : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    void setEditor(SyntaxHighlightEditor* editor);
    SyntaxHighlightEditor* editor() const;

    // Replaces the selection with `text` as one undoable edit, leaves the caret after it and focuses the
    // editor; the editor writes the new text to its model.
    void insert(const QString& text);

private:
    QPointer<SyntaxHighlightEditor> textView;
};
