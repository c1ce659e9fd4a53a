#include "editor/SyntaxEditorController.h"

#include "editor/SyntaxHighlightEditor.h"

void SyntaxEditorController::setEditor(SyntaxHighlightEditor* editor)
{
    textView = editor;
}

SyntaxHighlightEditor* SyntaxEditorController::editor() const
{
    return textView;
}

void SyntaxEditorController::insert(const QString& text)
{
    if (!textView || textView->isReadOnly())
        return;
    QTextCursor cursor = textView->textCursor();
    cursor.insertText(text);
    textView->setTextCursor(cursor); // right after the inserted text
    if (textView->window())
        textView->setFocus(Qt::OtherFocusReason);
}
