#pragma once

#include "app/TessaryActions.h"

#include <QObject>

class QAction;
class TessaryView;
class Updater;

// The menus' commands. File's commands act on the main window that has focus, through the actions it
// offers; with another window focused, such as the settings window, they do nothing. Every item has an
// access key.
class TessaryCommands : public QObject {
    Q_OBJECT

public:
    TessaryCommands(Updater* updater, std::function<void()> showHelp, std::function<void()> showAbout,
                    QObject* parent = nullptr);

    // The menu bar of `window`: File (with its Open Recent), Edit (with its Undo and Redo Rename) and Help.
    // The workflow's items follow the state of the window's toolbar buttons.
    void install(TessaryView* window);
    // The actions of the focused main window; none when no main window has focus.
    static TessaryActions focusedActions();

    QAction* addFilesAction;
    QAction* addFolderContentsAction;
    QAction* newAction;
    QAction* renameAction;
    QAction* historyAction;
    QAction* quitAction;
    QAction* helpAction;
    QAction* checkForUpdatesAction;
    QAction* aboutAction;
};
