#pragma once

#include "app/TessaryActions.h"

#include <QObject>

class QAction;
class QMainWindow;
class Updater;

// The menus' commands. File's commands act on the main window that has focus, through the actions it
// offers; with another window focused, such as the settings window, they do nothing.
class TessaryCommands : public QObject {
    Q_OBJECT

public:
    TessaryCommands(Updater* updater, std::function<void()> showAbout, QObject* parent = nullptr);

    // The menu bar of `window`: File, Edit (with the window's own `editActions`) and Help.
    void install(QMainWindow* window, const QList<QAction*>& editActions);
    // The actions of the focused main window; none when no main window has focus.
    static TessaryActions focusedActions();

    QAction* addFilesAction;
    QAction* newAction;
    QAction* renameAction;
    QAction* historyAction;
    QAction* helpAction;
    QAction* checkForUpdatesAction;
    QAction* aboutAction;

    static inline const QString helpPage = QStringLiteral("https://tessary.org/help");
};
