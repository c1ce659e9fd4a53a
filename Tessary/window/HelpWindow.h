#pragma once

#include <QWidget>

class QTextBrowser;

// Tessary Help: the guide shipped with the program (docs/help.md), readable without a network. Escape
// closes it.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    QTextBrowser* browser() const { return text; }

private:
    QTextBrowser* text;
};
