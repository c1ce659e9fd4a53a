#include "editor/FindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

FindBar::FindBar(QPlainTextEdit* editor) : QWidget(editor), editor(editor), input(new QLineEdit(this))
{
    setAutoFillBackground(true);
    //: Placeholder of the find bar of a rule editor
    input->setPlaceholderText(tr("Find"));
    input->setClearButtonEnabled(true);
    input->installEventFilter(this);
    auto* done = new QToolButton(this);
    //: Button that closes the find bar of a rule editor
    done->setText(tr("Done"));
    connect(done, &QToolButton::clicked, this, &FindBar::close);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(input);
    layout->addWidget(done);
    hide();
}

void FindBar::open()
{
    //: Accessible name of the find field of a rule editor; the placeholder is the rule, such as Regex
    input->setAccessibleName(tr("Find in %1").arg(editor->accessibleName()));
    show();
    Q_EMIT visibilityChanged();
    input->setFocus();
    input->selectAll();
}

void FindBar::close()
{
    hide();
    Q_EMIT visibilityChanged();
    editor->setFocus();
}

bool FindBar::findNext(bool backward)
{
    const QString text = input->text();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (editor->find(text, flags))
        return true;
    const QTextCursor saved = editor->textCursor(); // wrap around from the other end
    editor->moveCursor(backward ? QTextCursor::End : QTextCursor::Start);
    if (editor->find(text, flags))
        return true;
    editor->setTextCursor(saved);
    return false;
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == input && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            findNext(key->modifiers() & Qt::ShiftModifier);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
