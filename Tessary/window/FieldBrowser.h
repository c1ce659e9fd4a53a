#pragma once

#include "Fields.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTreeView;

// Every field a pattern can use, grouped, each with what it holds and its value for one file; a search
// narrows them by name, description or value. Choosing one, with a format if wanted, gives the
// placeholder to insert.
class FieldBrowser : public QDialog {
    Q_OBJECT

public:
    // What the browser shows: one file's fields after the last plan, and the names the regex adds.
    struct Subject {
        QString fileName; // empty without files
        Fields fields;
        QStringList regexGroups;
    };

    explicit FieldBrowser(const Subject& subject, QWidget* parent = nullptr);

    // "{name}" or "{name:format}"; empty while no field is chosen.
    QString placeholder() const;

    QLineEdit* searchField() const { return search; }
    QTreeView* fieldView() const { return view; }
    QComboBox* formatChoice() const { return format; }
    QLabel* previewLabel() const { return preview; }
    // Chooses the field called `name`, as a click on it would.
    bool choose(const QString& name);

private:
    void fillFields();
    void layOut();
    void addGroup(const QString& title, const QList<std::pair<QString, QString>>& namesAndDescriptions);
    void filterBy(const QString& text);
    void expandGroupsWithValues();
    void refreshChoice();
    QString chosenField() const;

    Subject subject;
    QStandardItemModel* items;
    QSortFilterProxyModel* shown;
    QLineEdit* search;
    QTreeView* view;
    QComboBox* format;
    QLabel* preview;
    QPushButton* insert;
};
