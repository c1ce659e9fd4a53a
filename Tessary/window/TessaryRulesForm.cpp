#include "window/TessaryRulesForm.h"

#include "editor/SyntaxHighlightEditor.h"
#include "model/TessaryModel.h"
#include "planning/FileOrder.h"
#include "planning/RuleRegex.h"
#include "window/Icons.h"
#include "window/OrderChoices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TessaryRulesForm::TessaryRulesForm(TessaryModel* model, QWidget* parent)
    : QWidget(parent), model(model), pages(new QStackedWidget(this)),
      //: Section header and accessibility label of the regular expression editor
      regex(new SyntaxHighlightEditor(RegexHighlighter(), tr("Regex"), this)),
      //: Section header and accessibility label of the script editor
      script(new SyntaxHighlightEditor(JavaScriptHighlighter(), tr("JavaScript"), this)),
      //: Section header and accessibility label of the result pattern editor
      pattern(new SyntaxHighlightEditor(PatternFieldHighlighter(), tr("Result Pattern"), this)),
      insertField(new QToolButton(this)), order(new QComboBox(this)),
      //: Check box of the rules: files that would get a taken name get " (2)", " (3)" … instead of an error
      numberDuplicates(new QCheckBox(tr("&Number files that would get the same name"), this)),
      regexProblem(new QLabel(this))
{
    regex->bind(model, &TessaryModel::regexString, &TessaryModel::setRegexString,
                &TessaryModel::regexStringChanged);
    script->bind(model, &TessaryModel::script, &TessaryModel::setScript, &TessaryModel::scriptChanged);
    pattern->bind(model, &TessaryModel::resultPattern, &TessaryModel::setResultPattern,
                  &TessaryModel::resultPatternChanged);
    patternController.setEditor(pattern);
    regex->setSingleLine(true);
    pattern->setSingleLine(true);
    script->setLineNumbers(true);

    //: Button of the Result Pattern section that opens the field browser
    insertField->setText(tr("Insert Fiel&d…"));
    insertField->setAutoRaise(true);
    connect(insertField, &QToolButton::clicked, this, &TessaryRulesForm::fieldBrowserRequested);

    auto* editors = new QWidget;
    auto* layout = new QVBoxLayout(editors);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(section(
        //: Section header of the regular expression editor; & marks the access key
        tr("Re&gex"), regex,
        //: Help text under the regular expression editor; the parts in backquotes are shown as code
        tr("Optional. Regular expression (PCRE2 syntax) that must match the whole file name without the "
           "extension. Use `(?P<fieldname>.*)` to extract fields."),
        nullptr, regexProblem));
    layout->addWidget(
        section( //: Section header of the script editor; & marks the access key
            tr("&JavaScript"), script,
            //: Help text under the script editor; the parts in backquotes are shown as code
            tr("Optional. Runs for every file. Use `fields[\"fieldname\"]` to get and set fields, and "
               "`context` to "
               "keep values between files. `console.log()` output is shown under each file.")),
        1);
    layout->addWidget(section( //: Section header of the result pattern editor; & marks the access key
        tr("Result &Pattern"), pattern,
        //: Help text under the result pattern editor; the parts in backquotes are shown as code
        tr("Construct the new file name from fields, like `{filename}` or `{row}`, formatted as in "
           "`{row:03}` or `{filename:upper}`. The extension is kept."),
        insertField));
    layout->addWidget(orderSection());
    // A short window scrolls the rules rather than squeezing help texts over the editors.
    auto* scroller = new QScrollArea(pages);
    scroller->setWidget(editors);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setFocusPolicy(Qt::NoFocus); // Tab goes to the rules; it scrolls them into sight
    //: Accessible name of the area that holds the three rules
    scroller->setAccessibleName(tr("Rules"));
    pages->addWidget(scroller);
    pages->addWidget(renamedPlaceholder());

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(pages);

    const TessaryFileList* files = model->files();
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(files, signal, this, &TessaryRulesForm::refreshKnownFields);
    connect(files, &QAbstractItemModel::modelReset, this, &TessaryRulesForm::refreshKnownFields);
    connect(files, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& topLeft) {
        if (topLeft.row() == 0)
            refreshKnownFields();
    });
    regexProblem->setWordWrap(true);
    regexProblem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette warning = regexProblem->palette();
    warning.setColor(QPalette::WindowText, Icons::tint(Icons::Symbol::Warning));
    regexProblem->setPalette(warning);
    connect(model, &TessaryModel::regexStringChanged, this, &TessaryRulesForm::refreshRegexProblem);
    refreshRegexProblem();
    connect(model, &TessaryModel::isRenamedChanged, this, &TessaryRulesForm::refreshState);
    connect(model, &TessaryModel::isRenamingChanged, this, &TessaryRulesForm::refreshState);
    refreshKnownFields();
    refreshState();
}

void TessaryRulesForm::refreshRegexProblem()
{
    const std::optional<RuleRegex::Problem> problem = RuleRegex::problemOf(model->regexString());
    regexProblem->setVisible(problem.has_value());
    if (problem)
        //: Under the regular expression editor; %1 is the parser's error, %2 the character position
        regexProblem->setText(tr("Error at character %2: %1").arg(problem->message).arg(problem->offset + 1));
    regex->setAccessibleDescription(problem ? regexProblem->text() : QString());
}

QString TessaryRulesForm::helpHtml(const QString& text)
{
    QString html = text.toHtmlEscaped();
    static const QRegularExpression quoted(u"`([^`]*)`"_s);
    html.replace(quoted, u"<code>\\1</code>"_s);
    return html;
}

QWidget* TessaryRulesForm::section(const QString& title, SyntaxHighlightEditor* editor, const QString& help,
                                   QWidget* trailing, QWidget* note)
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 8);
    auto* header = new QHBoxLayout;
    auto* label = new QLabel(title, box);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setBuddy(editor);
    header->addWidget(label);
    header->addStretch();
    if (trailing)
        header->addWidget(trailing);
    layout->addLayout(header);
    layout->addWidget(editor, 1);
    if (note)
        layout->addWidget(note);
    layout->addWidget(helpLabel(help, box));
    editor->setAccessibleDescription(QString(help).remove(u'`')); // what a screen reader says after the name
    return box;
}

QLabel* TessaryRulesForm::helpLabel(const QString& help, QWidget* parent)
{
    auto* label = new QLabel(helpHtml(help), parent);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    label->setFont(small);
    return label;
}

QWidget* TessaryRulesForm::orderSection()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    //: Label of the choice of the order that numbers the files
    auto* label = new QLabel(tr("&Order:"), box);
    label->setBuddy(order);
    //: Accessibility label of the choice of the order that numbers the files
    order->setAccessibleName(tr("Order"));
    row->addWidget(label);
    row->addWidget(order, 1);
    layout->addLayout(row);
    layout->addWidget(numberDuplicates);
    //: Help text under the order choice; the parts in backquotes are shown as code
    layout->addWidget(helpLabel(tr("Numbers the files (`{row}`) and runs the script in this order. "
                                   "With As Listed, drag files in the list to reorder them."),
                                box));

    connect(order, &QComboBox::activated, this, &TessaryRulesForm::orderChosen);
    connect(model, &TessaryModel::orderChanged, this, &TessaryRulesForm::refreshOrderChoices);
    numberDuplicates->setChecked(model->numberDuplicates());
    connect(numberDuplicates, &QCheckBox::toggled, model, &TessaryModel::setNumberDuplicates);
    connect(model, &TessaryModel::numberDuplicatesChanged, this,
            [this] { numberDuplicates->setChecked(this->model->numberDuplicates()); });
    refreshOrderChoices();
    return box;
}

void TessaryRulesForm::refreshOrderChoices()
{
    const QString current = FileOrder(model->order()).text();
    order->clear();
    for (const OrderChoices::Choice& choice : OrderChoices::presets())
        order->addItem(choice.label, choice.order);
    if (order->findData(current) < 0)
        order->addItem(OrderChoices::label(current), current);
    //: Last choice of the Order menu: opens a chooser of the fields to order by
    order->addItem(tr("Field…"));
    order->setCurrentIndex(order->findData(current));
}

void TessaryRulesForm::orderChosen(int index)
{
    const QString chosen = order->itemData(index).toString();
    if (!chosen.isEmpty()) {
        model->setOrder(chosen);
        return;
    }
    // The fields ordered by now first, then every field of the first file: the user may edit the text.
    const FileOrder current(model->order());
    QStringList offered = fields;
    if (!current.fields().isEmpty())
        offered.prepend(current.text());
    bool accepted = false;
    const QString chosenFields = QInputDialog::getItem(
        this,
        //: Title of the chooser of the fields to order by
        tr("Order by Field"),
        //: Label of the chooser of the fields to order by
        tr("Number the files by these fields, separated by commas. Files without the first come last."),
        offered, 0, true, &accepted);
    if (accepted && !FileOrder(chosenFields).isByName())
        model->setOrder(FileOrder(chosenFields).text());
    refreshOrderChoices(); // back to the model's order when the chooser was cancelled
}

QWidget* TessaryRulesForm::renamedPlaceholder()
{
    auto* placeholder = new QWidget(pages);
    auto* layout = new QVBoxLayout(placeholder);
    auto* image = new QLabel(placeholder);
    image->setPixmap(Icons::icon(Icons::Symbol::Checkmark).pixmap(48, 48));
    image->setAlignment(Qt::AlignCenter);
    //: Shown in place of the rule editors once the files are renamed
    auto* title = new QLabel(tr("Files Renamed"), placeholder);
    title->setAlignment(Qt::AlignCenter);
    QFont large = title->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    title->setFont(large);
    layout->addStretch();
    layout->addWidget(image);
    layout->addWidget(title);
    layout->addStretch();
    return placeholder;
}

QStringList TessaryRulesForm::knownFields() const
{
    return fields;
}

void TessaryRulesForm::refreshKnownFields()
{
    // Without files, the fields every file has.
    const TessaryFileList* files = model->files();
    const QStringList names =
        files->isEmpty() ? RenameSession::alwaysPresentFields() : files->at(0).fields.keys();
    if (names == fields)
        return;
    fields = names;
    pattern->setHighlighter(PatternFieldHighlighter(QSet<QString>(names.cbegin(), names.cend())));
}

void TessaryRulesForm::refreshState()
{
    pages->setCurrentIndex(model->isRenamed() ? 1 : 0);
    const bool editable = !model->isRenaming();
    for (SyntaxHighlightEditor* editor : {regex, script, pattern})
        editor->setEditable(editable);
    order->setEnabled(editable);
    numberDuplicates->setEnabled(editable);
}
