#pragma once

#include "model/Lifeline.h"
#include "model/RenameFileList.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class TessaryModel;

// The renames of the journal, newest first, with the files of the one selected. Any of them can be undone
// or redone, its folder shown in the file manager, and its rules brought back, as Recent does.
class RenameHistoryWindow : public QWidget {
    Q_OBJECT

public:
    explicit RenameHistoryWindow(TessaryModel* model, QWidget* parent = nullptr);

    QTableView* renamesView() const { return renames; }
    QTableView* filesView() const { return files; }
    QPushButton* restoreButton() const { return restore; }
    QPushButton* redoButton() const { return redo; }
    QPushButton* showFilesButton() const { return showFiles; }
    QPushButton* useRulesButton() const { return useRules; }
    // Whether the files of the selected rename are shown, not still being read.
    bool showsFilesOfSelection() const;

private:
    std::optional<JournalSummary> selected() const;
    void refreshButtons();
    void loadFiles();

    TessaryModel* model;
    RenameFileList fileList; // before the view that shows it
    QTableView* renames;
    QTableView* files;
    QLabel* filesTitle;
    QPushButton* restore;
    QPushButton* redo;
    QPushButton* showFiles;
    QPushButton* useRules;
    QProgressBar* busy;
    QLabel* busyText;
    QString selectedFile; // kept across refreshes of the list
    quint64 loadSerial = 0;
    Lifeline lifeline{this};
};
