#include "EditorFormats.h"
#include "TextHolder.h"
#include "editor/FindBar.h"
#include "editor/SyntaxEditorController.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

class tst_SyntaxHighlightEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<TextHolder> model;
    std::unique_ptr<SyntaxHighlightEditor> editor;

    void makeEditor(const QString& text, const SyntaxHighlighter& highlighter = PatternFieldHighlighter())
    {
        editor.reset();
        model = std::make_unique<TextHolder>();
        model->setText(text);
        model->writes = 0;
        editor = std::make_unique<SyntaxHighlightEditor>(highlighter, u"Pattern"_s);
        editor->bind(model.get(), &TextHolder::text, &TextHolder::setText, &TextHolder::textChanged);
        editor->resize(400, 200);
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
        QApplication::setActiveWindow(editor.get());
        editor->setFocus();
    }

    void compose(const QString& preedit, const QString& commit = {})
    {
        QInputMethodEvent event(preedit, {});
        if (!commit.isEmpty())
            event.setCommitString(commit);
        QApplication::sendEvent(editor.get(), &event);
    }

private Q_SLOTS:
    void showsTheModelsTextWithTheCaretAtTheEnd()
    {
        makeEditor(u"{filename}"_s);
        QCOMPARE(editor->toPlainText(), u"{filename}"_s);
        QCOMPARE(editor->textCursor().position(), 10);
        QVERIFY(!editor->document()->isUndoAvailable()); // the starting text is not an edit
        QCOMPARE(EditorFormats::of(*editor).foreground, u"rrrrrrrrrr"_s);
    }

    void typingWritesTheModelOnceAndHighlightsOnce()
    {
        makeEditor(u"{row"_s);
        QSignalSpy highlighted(editor.get(), &SyntaxHighlightEditor::highlighted);
        QTest::keyClick(editor.get(), Qt::Key_BraceRight);
        QCOMPARE(model->text(), u"{row}"_s);
        QCOMPARE(model->writes, 1);
        QCOMPARE(highlighted.size(), 1);
        QCOMPARE(EditorFormats::of(*editor).underline, u"uuuuu"_s);

        editor->updateFromModel(); // a view update with the same text
        QCOMPARE(highlighted.size(), 1);
        QCOMPARE(model->writes, 1);
    }

    void otherKnownFieldsRecolourWithoutATextChange()
    {
        makeEditor(u"{row}"_s);
        QSignalSpy highlighted(editor.get(), &SyntaxHighlightEditor::highlighted);
        editor->setHighlighter(PatternFieldHighlighter({u"row"_s}));
        QCOMPARE(highlighted.size(), 1);
        QCOMPARE(EditorFormats::of(*editor).background, u"ggggg"_s);
        editor->setHighlighter(PatternFieldHighlighter({u"row"_s}));
        QCOMPARE(highlighted.size(), 1);
        QCOMPARE(model->writes, 0);
        QVERIFY(!editor->document()->isUndoAvailable()); // colouring is not an edit
    }

    void aModelChangeIsOneUndoableEdit()
    {
        makeEditor(u"{filename}"_s);
        QTest::keyClicks(editor.get(), u"-1"_s);
        editor->moveCursor(QTextCursor::Start);
        model->setText(u"{row}"_s); // rules brought back from the history
        QCOMPARE(editor->toPlainText(), u"{row}"_s);
        QCOMPARE(editor->textCursor().position(), 5);

        const int writes = model->writes;
        editor->undo();
        QCOMPARE(editor->toPlainText(), u"{filename}-1"_s);
        QCOMPARE(model->text(), u"{filename}-1"_s);
        QCOMPARE(model->writes, writes + 1);
    }

    void insertReplacesTheSelection()
    {
        makeEditor(u"photo-{date}"_s);
        SyntaxEditorController controller;
        controller.setEditor(editor.get());
        QTextCursor selection = editor->textCursor();
        selection.setPosition(0);
        selection.setPosition(5, QTextCursor::KeepAnchor); // "photo"
        editor->setTextCursor(selection);
        editor->clearFocus();

        controller.insert(u"{row}"_s);
        QCOMPARE(editor->toPlainText(), u"{row}-{date}"_s);
        QCOMPARE(model->text(), u"{row}-{date}"_s);
        QCOMPARE(editor->textCursor().position(), 5);
        QVERIFY(!editor->textCursor().hasSelection());
        QVERIFY(editor->hasFocus());
        editor->undo();
        QCOMPARE(model->text(), u"photo-{date}"_s);
    }

    void insertWithoutAnEditorDoesNothing()
    {
        SyntaxEditorController controller;
        {
            SyntaxHighlightEditor gone(PatternFieldHighlighter(), u"Pattern"_s);
            controller.setEditor(&gone);
        }
        QCOMPARE(controller.editor(), nullptr);
        controller.insert(u"{row}"_s);
    }

    void composingTextIsLeftAlone()
    {
        makeEditor(u"a"_s);
        QSignalSpy highlighted(editor.get(), &SyntaxHighlightEditor::highlighted);
        compose(u"か"_s);
        QVERIFY(editor->isComposing());
        model->setText(u"{row}"_s); // arrives while the input method composes
        QCOMPARE(editor->toPlainText(), u"a"_s);
        QCOMPARE(highlighted.size(), 0);

        compose({}, u"漢"_s); // the composition ends: what was typed wins, as any typing would
        QVERIFY(!editor->isComposing());
        QCOMPARE(editor->toPlainText(), u"a漢"_s);
        QCOMPARE(model->text(), u"a漢"_s);
        QCOMPARE(highlighted.size(), 1);
    }

    void aCancelledCompositionTakesTheModelsText()
    {
        makeEditor(u"a"_s);
        compose(u"か"_s);
        model->setText(u"{row}"_s);
        QCOMPARE(editor->toPlainText(), u"a"_s);
        compose({}); // cancelled: nothing was typed
        QCOMPARE(editor->toPlainText(), u"{row}"_s);
        QCOMPARE(EditorFormats::of(*editor).foreground, u"rrrrr"_s);
    }

    void typedQuotesAndDashesStayAsTyped()
    {
        makeEditor({}, JavaScriptHighlighter());
        QTest::keyClicks(editor.get(), u"\"a\" -- 'b' ..."_s);
        QCOMPARE(model->text(), u"\"a\" -- 'b' ..."_s);
    }

    void aDisabledFormMakesTheEditorReadOnlyButSelectable()
    {
        makeEditor(u"{row}"_s);
        editor->setEditable(false);
        QTest::keyClicks(editor.get(), u"x"_s);
        QCOMPARE(editor->toPlainText(), u"{row}"_s);
        QVERIFY(editor->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        editor->selectAll();
        QCOMPARE(editor->textCursor().selectedText(), u"{row}"_s);

        model->setText(u"{date}"_s); // the model still shows through
        QCOMPARE(editor->toPlainText(), u"{date}"_s);
    }

    // A one-line rule keeps Tab and Return out of its text; the script editor indents with Tab and is left
    // with Ctrl+Tab.
    void tabAndReturnByKindOfRule_data()
    {
        QTest::addColumn<bool>("singleLine");
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("focused");
        QTest::newRow("one line, Tab") << true << QKeyCombination(Qt::Key_Tab) << u"ab"_s << u"after"_s;
        QTest::newRow("one line, Shift+Tab")
            << true << QKeyCombination(Qt::ShiftModifier, Qt::Key_Backtab) << u"ab"_s << u"before"_s;
        QTest::newRow("one line, Return")
            << true << QKeyCombination(Qt::Key_Return) << u"ab"_s << u"editor"_s;
        QTest::newRow("script, Tab") << false << QKeyCombination(Qt::Key_Tab) << u"a\tb"_s << u"editor"_s;
        QTest::newRow("script, Return")
            << false << QKeyCombination(Qt::Key_Return) << u"a\nb"_s << u"editor"_s;
        QTest::newRow("script, Ctrl+Tab")
            << false << QKeyCombination(Qt::ControlModifier, Qt::Key_Tab) << u"ab"_s << u"after"_s;
        QTest::newRow("script, Ctrl+Shift+Tab")
            << false << QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Backtab) << u"ab"_s
            << u"before"_s;
    }
    void tabAndReturnByKindOfRule()
    {
        QFETCH(bool, singleLine);
        QFETCH(QKeyCombination, key);
        QFETCH(QString, text);
        QFETCH(QString, focused);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* before = new QLineEdit(&window);
        before->setObjectName(u"before"_s);
        TextHolder holder;
        holder.setText(u"ab"_s);
        auto* rule = new SyntaxHighlightEditor(PatternFieldHighlighter(), u"Rule"_s, &window);
        rule->setObjectName(u"editor"_s);
        rule->bind(&holder, &TextHolder::text, &TextHolder::setText, &TextHolder::textChanged);
        rule->setSingleLine(singleLine);
        auto* after = new QLineEdit(&window);
        after->setObjectName(u"after"_s);
        for (QWidget* widget : std::initializer_list<QWidget*>{before, rule, after})
            layout->addWidget(widget);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);
        rule->setFocus();
        rule->moveCursor(QTextCursor::Start);
        rule->moveCursor(QTextCursor::NextCharacter);
        QTest::keyClick(rule, key.key(), key.keyboardModifiers());
        QCOMPARE(rule->toPlainText(), text);
        QCOMPARE(holder.text(), text);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), focused);
    }

    void pastedLineBreaksBecomeSpacesInAOneLineRule()
    {
        makeEditor(QString());
        editor->setSingleLine(true);
        QApplication::clipboard()->setText(u"(?<a>.*)\n-(?<b>.*)\r\n"_s);
        editor->paste();
        QCOMPARE(model->text(), u"(?<a>.*) -(?<b>.*)"_s);
    }

    // The margin of line numbers makes room for the longest number, beside the text and under the find bar.
    void lineNumbersTakeAMarginAsWideAsTheirNumbers()
    {
        makeEditor(u"a\nb"_s, JavaScriptHighlighter());
        QCOMPARE(editor->lineNumberWidth(), 0);
        editor->setLineNumbers(true);
        const int twoLines = editor->lineNumberWidth();
        QVERIFY(twoLines > 0);
        QCOMPARE(editor->viewport()->geometry().left(), editor->contentsRect().left() + twoLines);
        model->setText(QStringList(1000, u"x"_s).join(u'\n'));
        QTRY_VERIFY(editor->lineNumberWidth() > twoLines); // four digits
        QCOMPARE(editor->viewport()->geometry().left(),
                 editor->contentsRect().left() + editor->lineNumberWidth());
        QTest::keySequence(editor.get(), QKeySequence::Find);
        QVERIFY(editor->viewport()->geometry().top() > editor->findBar()->geometry().top());
        editor->setLineNumbers(false);
        QCOMPARE(editor->viewport()->geometry().left(), editor->contentsRect().left());
    }

    void findBarFindsAndWraps()
    {
        makeEditor(u"if (a) return; if (b) return;"_s, JavaScriptHighlighter());
        QTest::keyClick(editor.get(), Qt::Key_F3); // nothing to find again yet: the bar opens
        QVERIFY(editor->findBar()->isVisible());
        QTest::keyClick(editor->findBar()->field(), Qt::Key_Escape);
        QTest::keySequence(editor.get(), QKeySequence::Find);
        QVERIFY(editor->findBar()->isVisible());
        QVERIFY(editor->findBar()->field()->hasFocus());
        QTest::keyClicks(editor->findBar()->field(), u"return"_s);
        QTest::keyClick(editor->findBar()->field(), Qt::Key_Return); // the caret was at the end: wraps
        QCOMPARE(editor->textCursor().selectionStart(), 7);
        QTest::keyClick(editor->findBar()->field(), Qt::Key_Return);
        QCOMPARE(editor->textCursor().selectionStart(), 22);
        QTest::keyClick(editor->findBar()->field(), Qt::Key_Escape);
        QVERIFY(!editor->findBar()->isVisible());
        QCOMPARE(editor->toPlainText(), u"if (a) return; if (b) return;"_s);
        QTest::keyClick(editor.get(), Qt::Key_F3); // again, from the editor, wrapping
        QCOMPARE(editor->textCursor().selectionStart(), 7);
        QTest::keyClick(editor.get(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(editor->textCursor().selectionStart(), 22);
    }
};

QTEST_MAIN(tst_SyntaxHighlightEditor)
#include "tst_SyntaxHighlightEditor.moc"
