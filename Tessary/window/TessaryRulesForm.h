#pragma once

#include "editor/SyntaxEditorController.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QStackedWidget;
class QToolButton;
class SyntaxHighlightEditor;
class TessaryModel;

// The three rules, each in a highlighted editor bound to the model, with a help text under it, and the
// pattern's "Insert Field" button, which asks for the field browser. Once the files are renamed, a
// placeholder takes the editors' place.
class TessaryRulesForm : public QWidget {
    Q_OBJECT

public:
    explicit TessaryRulesForm(TessaryModel* model, QWidget* parent = nullptr);

    SyntaxHighlightEditor* regexEditor() const { return regex; }
    SyntaxHighlightEditor* scriptEditor() const { return script; }
    SyntaxHighlightEditor* patternEditorView() const { return pattern; }
    SyntaxEditorController* patternEditor() { return &patternController; }
    QToolButton* insertFieldButton() const { return insertField; }
    QComboBox* orderChoice() const { return order; }
    QCheckBox* numberDuplicatesBox() const { return numberDuplicates; }
    // Why the regular expression does not compile, under its editor; hidden while it does.
    QLabel* regexProblemLabel() const { return regexProblem; }
    // The field names of the first file, sorted: what the pattern may refer to. Without files, the fields
    // every file has.
    QStringList knownFields() const;

    // The help texts' backquoted parts, shown as code.
    static QString helpHtml(const QString& text);

Q_SIGNALS:
    void fieldBrowserRequested();

private:
    QWidget* section(const QString& title, SyntaxHighlightEditor* editor, const QString& help,
                     QWidget* trailing = nullptr, QWidget* note = nullptr);
    static QLabel* helpLabel(const QString& help, QWidget* parent);
    QWidget* orderSection();
    QWidget* renamedPlaceholder();
    // The choices for the model's order: the presets, the model's own field list, and "Field…".
    void refreshOrderChoices();
    void orderChosen(int index);
    void refreshKnownFields();
    void refreshState();
    void refreshRegexProblem();

    TessaryModel* model;
    SyntaxEditorController patternController;
    QStackedWidget* pages;
    SyntaxHighlightEditor* regex;
    SyntaxHighlightEditor* script;
    SyntaxHighlightEditor* pattern;
    QToolButton* insertField;
    QComboBox* order;
    QCheckBox* numberDuplicates;
    QLabel* regexProblem;
    QStringList fields;
};
