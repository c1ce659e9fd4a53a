#include "editor/SyntaxHighlightEditor.h"

#include "editor/FindBar.h"
#include "editor/HighlightPalette.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>
#include <cmath>

namespace {

constexpr int inset = 5;

// The formats of the styles met so far: a text uses a handful of styles, made once per run.
class FormatCache {
public:
    explicit FormatCache(bool dark) : dark(dark) {}
    const QTextCharFormat& operator[](const CharacterStyle& style)
    {
        for (const auto& [known, format] : made)
            if (known == style)
                return format;
        return made.emplace_back(style, HighlightPalette::format(style, dark)).second;
    }

private:
    bool dark;
    std::vector<std::pair<CharacterStyle, QTextCharFormat>> made;
};

// The runs of equal, non-plain styles of one block, as the block's layout takes them.
QList<QTextLayout::FormatRange> blockFormats(const std::vector<CharacterStyle>& styles, qsizetype start,
                                             qsizetype length, FormatCache& formats)
{
    QList<QTextLayout::FormatRange> ranges;
    const CharacterStyle plain;
    for (qsizetype i = start; i < start + length;) {
        const CharacterStyle& style = styles[size_t(i)];
        qsizetype end = i + 1;
        while (end < start + length && styles[size_t(end)] == style)
            ++end;
        if (!(style == plain))
            ranges.append({int(i - start), int(end - i), formats[style]});
        i = end;
    }
    return ranges;
}

} // namespace

SyntaxHighlightEditor::SyntaxHighlightEditor(const SyntaxHighlighter& highlighter, const QString& label,
                                             QWidget* parent)
    : QPlainTextEdit(parent), current(highlighter.clone()), bar(new FindBar(this))
{
    setFont(HighlightPalette::codeFont());
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUndoRedoEnabled(true);
    document()->setDocumentMargin(inset);
    setAccessibleName(label);

    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QAction::triggered, bar, &FindBar::open);
    addAction(find);
    // F3 and Shift+F3 find again with the bar's text, opening the bar when it has none.
    for (const bool backward : {false, true}) {
        auto* again = new QAction(this);
        again->setShortcuts(backward ? QList<QKeySequence>{QKeySequence(Qt::SHIFT | Qt::Key_F3)}
                                     : QList<QKeySequence>{QKeySequence(Qt::Key_F3)});
        again->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(again, &QAction::triggered, bar, [this, backward] {
            if (bar->field()->text().isEmpty())
                bar->open();
            else
                bar->findNext(backward);
        });
        addAction(again);
    }
    connect(bar, &FindBar::visibilityChanged, this, [this] {
        placeFindBar();
        updateGeometry(); // a single-line rule grows by the bar
    });

    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!applyingFormats && !replacingQuietly && (removed || added))
            textDidChange();
    });
    applyHighlighting();
}

SyntaxHighlightEditor::~SyntaxHighlightEditor() = default;

void SyntaxHighlightEditor::showInitialText()
{
    const QString text = readBinding();
    if (text != toPlainText())
        replaceQuietly(text); // the starting point, not an edit to undo
    moveCursor(QTextCursor::End);
    applyHighlighting();
}

// setPlainText clears the text before it sets the new one: the model must not see the empty text between.
void SyntaxHighlightEditor::replaceQuietly(const QString& text)
{
    const QScopedValueRollback quiet(replacingQuietly, true);
    setPlainText(text);
    shownText = toPlainText();
}

void SyntaxHighlightEditor::setHighlighter(const SyntaxHighlighter& highlighter)
{
    if (*current == highlighter)
        return;
    current = highlighter.clone();
    applyHighlighting();
}

void SyntaxHighlightEditor::setEditable(bool editable)
{
    setReadOnly(!editable);
    setTextInteractionFlags(editable ? Qt::TextEditorInteraction
                                     : Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void SyntaxHighlightEditor::setSingleLine(bool value)
{
    singleLine = value;
    setTabChangesFocus(value);
}

void SyntaxHighlightEditor::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    if (!singleLine && control && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        QWidget::focusNextPrevChild(event->key() ==
                                    Qt::Key_Tab); // the editor's own keeps focus while editable
        return;
    }
    if (singleLine && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->ignore(); // the window's default button, if any, takes it
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void SyntaxHighlightEditor::insertFromMimeData(const QMimeData* source)
{
    if (!singleLine || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // A copied line usually ends in a line break, which would make the rule fail on every file.
    QString text = source->text();
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    text.replace(QRegularExpression(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]+")), QStringLiteral(" "));
    insertPlainText(text);
}

bool SyntaxHighlightEditor::isComposing() const
{
    const QTextBlock block = textCursor().block();
    return block.isValid() && block.layout() && !block.layout()->preeditAreaText().isEmpty();
}

void SyntaxHighlightEditor::updateFromModel()
{
    if (!readBinding)
        return;
    const QString text = readBinding();
    if (text != toPlainText() && !isComposing()) {
        if (isReadOnly()) {
            replaceQuietly(text);
        } else {
            QTextCursor cursor(document());
            cursor.beginEditBlock();
            cursor.select(QTextCursor::Document);
            cursor.insertText(text);
            cursor.endEditBlock();
        }
        moveCursor(QTextCursor::End);
    }
    applyHighlighting();
}

void SyntaxHighlightEditor::textDidChange()
{
    QString text = toPlainText();
    if (text == shownText)
        return; // only laid out again, such as when an input method's composition ends
    shownText = text;
    if (writeBinding && text != readBinding())
        writeBinding(text);
    applyHighlighting();
}

void SyntaxHighlightEditor::applyHighlighting()
{
    if (isComposing())
        return; // the change that ends the composition colours again
    QString text = toPlainText();
    if (lastRun && lastRun->styled.text() == text && *lastRun->highlighter == *current)
        return;
    HighlightedText styled(text);
    current->highlight(styled);
    applyFormats(styled);
    lastRun = Highlighted{std::move(styled), current->clone()};
    Q_EMIT highlighted();
}

// Only blocks whose colours changed are laid out again.
void SyntaxHighlightEditor::applyFormats(const HighlightedText& text)
{
    FormatCache formats(HighlightPalette::isDark(palette()));
    applyingFormats = true;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const qsizetype start = block.position();
        const qsizetype length = std::min<qsizetype>(block.length() - 1, text.text().size() - start);
        const QList<QTextLayout::FormatRange> ranges =
            blockFormats(text.characterStyles(), start, length, formats);
        if (ranges != block.layout()->formats()) {
            block.layout()->setFormats(ranges);
            document()->markContentsDirty(int(start), int(length));
        }
    }
    applyingFormats = false;
}

bool SyntaxHighlightEditor::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !lastRun)
        return QPlainTextEdit::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QTextCursor at = cursorForPosition(help->pos());
    // The cursor lands between characters: the one under the pointer is on the side it points at.
    const QRect caret = cursorRect(at);
    const qsizetype position = at.position() - (help->pos().x() < caret.x() ? 1 : 0);
    if (const auto tip = lastRun->styled.toolTipAt(position))
        QToolTip::showText(help->globalPos(), *tip, viewport());
    else
        QToolTip::hideText();
    return true;
}

// Styles such as Fusion draw a text area's frame the same with and without focus; a keyboard user must
// see which rule they type into, so the frame takes the highlight colour then.
bool SyntaxHighlightEditor::event(QEvent* event)
{
    const bool handled = QPlainTextEdit::event(event);
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        update();
        break;
    case QEvent::Paint:
        if (hasFocus() && frameWidth() > 0) {
            QPainter painter(this);
            QPen pen(palette().color(QPalette::Highlight), frameWidth());
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
            const qreal inset = frameWidth() / 2.0;
            painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
        }
        break;
    default:
        break;
    }
    return handled;
}

void SyntaxHighlightEditor::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) { // light or dark: the same styles in other colours
        lastRun.reset();
        applyHighlighting();
    }
}

void SyntaxHighlightEditor::inputMethodEvent(QInputMethodEvent* event)
{
    QPlainTextEdit::inputMethodEvent(event);
    if (!isComposing())
        updateFromModel(); // what arrived from the model during the composition
}

void SyntaxHighlightEditor::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    placeFindBar();
}

QSize SyntaxHighlightEditor::sizeHint() const
{
    QSize hint = QPlainTextEdit::sizeHint();
    hint.setHeight(heightForRows(singleLine ? 2 : 3));
    return hint;
}

QSize SyntaxHighlightEditor::minimumSizeHint() const
{
    QSize hint = QPlainTextEdit::minimumSizeHint();
    hint.setHeight(heightForRows(singleLine ? 1 : 3));
    return hint;
}

int SyntaxHighlightEditor::heightForRows(int rows) const
{
    const int findBarHeight = bar->isVisibleTo(this) ? bar->sizeHint().height() : 0;
    // Lines are laid out at fractional heights; a pixel more each keeps the last row whole.
    const double lines = rows * (QFontMetricsF(font()).lineSpacing() + 1);
    return int(std::ceil(lines + 2 * document()->documentMargin())) + 2 * frameWidth() + findBarHeight;
}

void SyntaxHighlightEditor::placeFindBar()
{
    const int height = bar->isVisible() ? bar->sizeHint().height() : 0;
    const int numbers = lineNumberWidth();
    setViewportMargins(numbers, height, 0, 0);
    const QRect area = contentsRect();
    bar->setGeometry(area.left(), area.top(),
                     area.width() - (verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0),
                     height);
    if (lineNumbers)
        lineNumbers->setGeometry(area.left(), area.top() + height, numbers, area.height() - height);
}

void SyntaxHighlightEditor::setLineNumbers(bool shown)
{
    if (shown == bool(lineNumbers))
        return;
    if (shown) {
        lineNumbers = new QWidget(this);
        lineNumbers->installEventFilter(this);
        lineNumbers->show();
        connect(this, &QPlainTextEdit::blockCountChanged, this, &SyntaxHighlightEditor::placeFindBar);
        connect(this, &QPlainTextEdit::updateRequest, lineNumbers, [this](const QRect& rect, int scrolled) {
            if (scrolled)
                lineNumbers->scroll(0, scrolled);
            else
                lineNumbers->update(0, rect.y(), lineNumbers->width(), rect.height());
        });
    } else {
        delete lineNumbers;
        lineNumbers = nullptr;
    }
    placeFindBar();
}

int SyntaxHighlightEditor::lineNumberWidth() const
{
    if (!lineNumbers)
        return 0;
    const int digits = QString::number(qMax(1, blockCount())).size();
    return 2 * inset + fontMetrics().horizontalAdvance(u'9') * qMax(2, digits);
}

bool SyntaxHighlightEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineNumbers && event->type() == QEvent::Paint) {
        paintLineNumbers(static_cast<QPaintEvent*>(event)->rect());
        return true;
    }
    return QPlainTextEdit::eventFilter(watched, event);
}

void SyntaxHighlightEditor::paintLineNumbers(const QRect& area)
{
    QPainter painter(lineNumbers);
    painter.fillRect(area, palette().color(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    // The viewport starts below the find bar: block positions are in its coordinates.
    const int top = viewport()->geometry().top() - lineNumbers->geometry().top();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF bounds = blockBoundingGeometry(block).translated(contentOffset());
        if (bounds.top() + top > area.bottom())
            break;
        if (block.isVisible() && bounds.bottom() + top >= area.top())
            painter.drawText(
                QRectF(0, bounds.top() + top, lineNumbers->width() - inset, fontMetrics().height()),
                Qt::AlignRight, QString::number(block.blockNumber() + 1));
    }
}
