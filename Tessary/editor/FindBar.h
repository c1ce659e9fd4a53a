#pragma once

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

// The editor's find bar: Ctrl+F opens it over the text, Return finds the next match (Shift+Return the
// previous one, both wrapping around), Escape closes it.
class FindBar : public QWidget {
    Q_OBJECT

public:
    explicit FindBar(QPlainTextEdit* editor);

    QLineEdit* field() const { return input; }
    void open();
    void close();
    // Selects the next match after the caret, or before it; false when the text holds none.
    bool findNext(bool backward = false);

Q_SIGNALS:
    void visibilityChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* editor;
    QLineEdit* input;
};
