#pragma once

#include "app/TessaryActions.h"

#include <QMainWindow>
#include <QPointer>
#include <QSettings>

class FieldBrowser;
class QAction;
class QLabel;
class QMessageBox;
class QProgressBar;
class QStackedWidget;
class QToolButton;
class RecentRulesMenu;
class RenameHistoryStore;
class RenameHistoryWindow;
class TessaryFileTableView;
class TessaryModel;
class TessaryRulesForm;

// The main window: the rules form and the file table side by side, the workflow's toolbar, the status bar
// with its counts, and the states of an empty list and of work in progress. Files enter here, by drop or
// the open panel; problems become alerts; a finished rename is recorded in Recent, and any rename of the
// journal's history can be undone and redone.
class TessaryView : public QMainWindow {
    Q_OBJECT

public:
    TessaryView(TessaryModel* model, RenameHistoryStore* history, QSettings& preferences,
                QWidget* parent = nullptr);

    TessaryActions actions();
    TessaryRulesForm* rulesForm() const { return form; }
    TessaryFileTableView* fileTable() const { return table; }

    // The toolbar's actions and the status bar's texts, for the menus and for tests.
    QAction* addFilesAction() const { return addFilesItem; }
    QAction* newAction() const { return newItem; }
    QAction* recentAction() const { return recentItem; }
    QAction* renameAction() const { return renameItem; }
    QAction* undoAction() const { return undoItem; }
    // Edit ▸ Undo Rename and Redo Rename: the newest rename of the history, also from an earlier run.
    QAction* undoRenameAction() const { return undoRenameItem; }
    QAction* redoRenameAction() const { return redoRenameItem; }
    RenameHistoryWindow* historyWindow() const { return historyShown; }
    FieldBrowser* fieldBrowserShown() const;
    RecentRulesMenu* recentMenu() const { return recent; }
    // File ▸ Open Recent: the Recent entries, for the keyboard.
    RecentRulesMenu* openRecentMenu() const { return openRecent; }
    QStringList statusTexts() const;
    bool showsErrorSign() const;
    // Which page the table area shows: "empty", "reading", "renaming" or "files".
    QString tableAreaState() const;
    bool isDropTargeted() const { return dropTargeted; }
    QMessageBox* alert() const { return shownAlert; }
    // The question New asks before it clears a list that was not renamed, while it is open.
    QMessageBox* startOverQuestion() const { return shownQuestion; }
    // The question after folders were dropped, while it is open.
    QMessageBox* droppedFoldersQuestion() const { return folderQuestion; }

    // What a dropped folder stands for when the user said to remember it: "folders" or "contents".
    static inline const QString droppedFoldersKey = QStringLiteral("window.droppedFolders");

    void showOpenPanel();
    void showFolderPanel();
    void startOver();
    void rename();
    void undoRename();
    void showHistory();
    // Opens the field browser on the current file's fields; the chosen field goes into the pattern.
    void browseFields();

protected:
    bool event(QEvent* event) override; // says once when the window is first painted
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildToolBar();
    void buildStatusBar();
    QWidget* buildTableArea();
    void refreshToolBar();
    void refreshStatus();
    void refreshTableArea();
    void scheduleStatusRefresh();
    void showProblem();
    void setDropTargeted(bool targeted);
    void buildEditActions();
    void refreshEditActions();
    void addPaths(const QStringList& paths);
    void askAboutFolders(const QStringList& folders);
    // The folders themselves, to rename them, or the files inside them.
    void addFolders(const QStringList& folders, bool themselves);

    TessaryModel* model;
    RenameHistoryStore* history;
    TessaryRulesForm* form;
    TessaryFileTableView* table;
    QSettings& preferences;
    QStackedWidget* tableArea = nullptr;
    QWidget* dropOutline = nullptr;
    bool painted = false;
    RecentRulesMenu* recent = nullptr;
    RecentRulesMenu* openRecent = nullptr;
    QAction* addFilesItem = nullptr;
    QAction* newItem = nullptr;
    QAction* recentItem = nullptr;
    QAction* renameItem = nullptr;
    QAction* undoItem = nullptr;
    QAction* undoRenameItem = nullptr;
    QAction* redoRenameItem = nullptr;
    RenameHistoryWindow* historyShown = nullptr;
    QPointer<FieldBrowser> fieldBrowser;
    QLabel* filesCount = nullptr;
    QLabel* changedIcon = nullptr;
    QLabel* changedCount = nullptr;
    QLabel* errorIcon = nullptr;
    QLabel* errorCount = nullptr;
    QLabel* warningIcon = nullptr;
    QLabel* warningCount = nullptr;
    QProgressBar* busy = nullptr;
    QLabel* busyText = nullptr;
    QMessageBox* shownAlert = nullptr;
    QMessageBox* shownQuestion = nullptr;
    QMessageBox* folderQuestion = nullptr;
    bool dropTargeted = false;
    bool statusRefreshPending = false;
};
