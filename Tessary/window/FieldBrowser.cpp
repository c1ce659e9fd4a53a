#include "window/FieldBrowser.h"

#include "metadata/FieldCatalogue.h"
#include "planning/NameValidation.h"
#include "planning/ResultPattern.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

enum Column { NameColumn, ValueColumn, DescriptionColumn };
constexpr int fieldNameRole = Qt::UserRole + 1; // on a field's first cell; groups have none

// The formats offered with a description; the pattern accepts more, typed by hand.
QList<std::pair<QString, QString>> formatChoices()
{
    return {
        //: Choice of format in the field browser: the value as it is
        {QString(), FieldBrowser::tr("None")},
        //: Choice of format in the field browser; the code in parentheses is what the pattern gets
        {u"upper"_s, FieldBrowser::tr("UPPER CASE (upper)")},
        //: Choice of format in the field browser; the code in parentheses is what the pattern gets
        {u"lower"_s, FieldBrowser::tr("lower case (lower)")},
        //: Choice of format in the field browser; the code in parentheses is what the pattern gets
        {u"title"_s, FieldBrowser::tr("Each Word Capitalised (title)")},
        //: Choice of format in the field browser; the code in parentheses is what the pattern gets
        {u"ascii"_s, FieldBrowser::tr("Latin letters only, without accents (ascii)")},
        //: Choice of format in the field browser; the code in parentheses is what the pattern gets
        {u"trim"_s, FieldBrowser::tr("Without blanks at both ends (trim)")},
        //: Choice of format in the field browser; the code in parentheses is what the pattern gets
        {u"03"_s, FieldBrowser::tr("Three digits, with leading zeros (03)")},
        //: Choice of format in the field browser; the code in parentheses is what the pattern gets
        {u"1-8"_s, FieldBrowser::tr("The first eight characters (1-8)")},
    };
}

// Down in the search field goes on to the fields, as in a file chooser.
class SearchField : public QLineEdit {
public:
    SearchField(QTreeView* fields, QWidget* parent) : QLineEdit(parent), fields(fields) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Down) {
            fields->setFocus(Qt::TabFocusReason);
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    QTreeView* fields;
};

} // namespace

FieldBrowser::FieldBrowser(const Subject& subject, QWidget* parent)
    : QDialog(parent), subject(subject), items(new QStandardItemModel(this)),
      shown(new QSortFilterProxyModel(this)), view(new QTreeView(this)), format(new QComboBox(this)),
      preview(new QLabel(this))
{
    //: Title of the field browser, opened by Insert Field
    setWindowTitle(tr("Insert Field"));
    setObjectName(u"fieldBrowser"_s);
    search = new SearchField(view, this);
    //: Placeholder and accessible name of the search field of the field browser
    search->setPlaceholderText(tr("Search fields"));
    search->setAccessibleName(search->placeholderText());
    search->setClearButtonEnabled(true);

    fillFields();
    shown->setSourceModel(items);
    shown->setRecursiveFilteringEnabled(true);
    shown->setAutoAcceptChildRows(true); // a group's name finds all of its fields
    shown->setFilterKeyColumn(-1);
    shown->setFilterCaseSensitivity(Qt::CaseInsensitive);
    view->setModel(shown);
    //: Accessible name of the list of fields in the field browser
    view->setAccessibleName(tr("Fields"));
    view->setUniformRowHeights(true);
    view->setAlternatingRowColors(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->resizeSection(NameColumn, 230);
    view->header()->resizeSection(ValueColumn, 180);
    expandGroupsWithValues();

    for (const auto& [code, label] : formatChoices())
        format->addItem(label, code);
    //: Accessible name of the format choice of the field browser
    format->setAccessibleName(tr("Format"));
    preview->setTextInteractionFlags(Qt::TextSelectableByMouse);
    preview->setWordWrap(true);

    layOut();
    connect(search, &QLineEdit::textChanged, this, &FieldBrowser::filterBy);
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, &FieldBrowser::refreshChoice);
    connect(format, &QComboBox::currentIndexChanged, this, &FieldBrowser::refreshChoice);
    connect(view, &QTreeView::activated, this, [this] {
        if (!chosenField().isEmpty())
            accept();
    });
    search->setFocus();
    refreshChoice();
}

// The catalogue by group, then the regex's groups, then what else the file has: the script's.
void FieldBrowser::fillFields()
{
    items->setHorizontalHeaderLabels({
        //: Column of the field browser: the field's name
        tr("Field"),
        //: Column of the field browser: the field's value for the selected file
        tr("Value"),
        //: Column of the field browser: what the field holds
        tr("Description"),
    });
    const QList<FieldCatalogue::Field> catalogued = FieldCatalogue::fields();
    for (const FieldCatalogue::Group group : FieldCatalogue::groups) {
        QList<std::pair<QString, QString>> inGroup;
        for (const FieldCatalogue::Field& field : catalogued)
            if (field.group == group)
                inGroup.append({field.name, field.description});
        addGroup(FieldCatalogue::titleOf(group), inGroup);
    }
    QList<std::pair<QString, QString>> groups;
    for (const QString& name : subject.regexGroups)
        //: Description of a field in the field browser
        groups.append({name, tr("A named group of the regular expression")});
    //: Group of fields in the field browser
    addGroup(tr("Regex Groups"), groups);
    QList<std::pair<QString, QString>> scripted;
    for (auto it = subject.fields.cbegin(); it != subject.fields.cend(); ++it)
        if (!FieldCatalogue::groupOf(it.key()) && !subject.regexGroups.contains(it.key()))
            //: Description of a field in the field browser
            scripted.append({it.key(), tr("Set by the script")});
    //: Group of fields in the field browser
    addGroup(tr("Script Fields"), scripted);
}

void FieldBrowser::layOut()
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    //: Button of the field browser: inserts the chosen field into the result pattern
    insert = buttons->addButton(tr("&Insert"), QDialogButtonBox::AcceptRole);
    insert->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search);
    auto* valuesOf = new QLabel(this);
    valuesOf->setText(subject.fileName.isEmpty()
                          //: Above the fields of the field browser while no file is listed
                          ? tr("Add files to see their values.")
                          //: Above the fields of the field browser; the placeholder is the file's name
                          : tr("Values of “%1”, the selected file").arg(subject.fileName));
    layout->addWidget(valuesOf);
    layout->addWidget(view, 1);
    auto* form = new QFormLayout;
    //: Label of the format choice of the field browser
    form->addRow(tr("&Format:"), format);
    //: Label of the line of the field browser that shows what is inserted and its result
    form->addRow(tr("Inserts:"), preview);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(700, 500);
}

void FieldBrowser::addGroup(const QString& title,
                            const QList<std::pair<QString, QString>>& namesAndDescriptions)
{
    if (namesAndDescriptions.isEmpty())
        return;
    auto* group = new QStandardItem(title);
    QFont bold = group->font();
    bold.setBold(true);
    group->setFont(bold);
    group->setSelectable(false);
    for (const auto& [name, description] : namesAndDescriptions) {
        auto* nameItem = new QStandardItem(name);
        nameItem->setData(name, fieldNameRole);
        const auto value = subject.fields.constFind(name);
        auto* valueItem = new QStandardItem(value == subject.fields.cend() ? QString() : *value);
        valueItem->setToolTip(valueItem->text());
        auto* descriptionItem = new QStandardItem(description);
        descriptionItem->setToolTip(description);
        group->appendRow({nameItem, valueItem, descriptionItem});
    }
    items->appendRow({group, new QStandardItem, new QStandardItem});
}

void FieldBrowser::filterBy(const QString& text)
{
    shown->setFilterFixedString(text.trimmed());
    if (text.trimmed().isEmpty()) {
        view->collapseAll();
        expandGroupsWithValues();
    } else {
        view->expandAll();
    }
    // The first field found is chosen, so that Return inserts it; with none found, none is.
    const QModelIndex firstGroup = shown->index(0, 0);
    view->setCurrentIndex(shown->rowCount(firstGroup) > 0 ? shown->index(0, 0, firstGroup) : QModelIndex());
    refreshChoice(); // the view doesn't say when filtering took its current row away
}

// The groups the file has values in, and those of every file: the rest is a click or a search away.
void FieldBrowser::expandGroupsWithValues()
{
    for (int row = 0; row < shown->rowCount(); ++row) {
        const QModelIndex group = shown->index(row, 0);
        bool hasValue = row == 0;
        for (int child = 0; child < shown->rowCount(group) && !hasValue; ++child)
            hasValue = !shown->index(child, ValueColumn, group).data().toString().isEmpty();
        view->setExpanded(group, hasValue);
    }
}

QString FieldBrowser::chosenField() const
{
    return view->currentIndex().siblingAtColumn(NameColumn).data(fieldNameRole).toString();
}

bool FieldBrowser::choose(const QString& name)
{
    const QModelIndexList found =
        shown->match(shown->index(0, 0), fieldNameRole, name, 1, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty())
        return false;
    view->setCurrentIndex(found.first());
    return true;
}

QString FieldBrowser::placeholder() const
{
    const QString field = chosenField();
    if (field.isEmpty())
        return {};
    const QString code = format->currentData().toString();
    return code.isEmpty() ? u"{"_s + field + u"}"_s : u"{"_s + field + u":"_s + code + u"}"_s;
}

void FieldBrowser::refreshChoice()
{
    const QString text = placeholder();
    insert->setEnabled(!text.isEmpty());
    if (text.isEmpty()) {
        //: The Inserts line of the field browser while no field is chosen
        preview->setText(tr("Choose a field"));
        return;
    }
    const ResultPattern::Rendered rendered = ResultPattern(text).render(subject.fields);
    if (rendered.error)
        preview->setText(text + u"  ·  "_s + *rendered.error);
    else if (const std::optional<QString> problem = validateName(rendered.stem, rendered.stem))
        preview->setText(text + u"  →  "_s + rendered.stem + u"  ·  "_s + *problem);
    else if (!rendered.unknown.isEmpty())
        //: The Inserts line of the field browser when the selected file lacks the field; %1 is the
        //: placeholder
        preview->setText(tr("%1, which the selected file doesn't have").arg(text));
    else
        preview->setText(text + u"  →  "_s + rendered.stem);
}
