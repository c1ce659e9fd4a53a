#pragma once

#include "access/FolderAccessManager.h"
#include "app/TessaryCommands.h"
#include "desktop/Updater.h"
#include "model/TessaryModel.h"
#include "script/JSEngineClient.h"
#include "storage/RenameHistoryStore.h"
#include "window/HelpWindow.h"
#include "window/TessarySettingsWindow.h"
#include "window/TessaryView.h"

#include <QObject>
#include <QUrl>
#include <memory>

// What lives as long as the application: the model, the history store, the updater, the folder access,
// the main window with its menus, and the settings window.
class TessaryApp : public QObject {
    Q_OBJECT

public:
    struct Places {
        QString historyFolder = RenameHistoryStore::defaultFolder();
        QString journalFolder = RenameJournal::defaultFolder();
        QString helperPath = JSEngineClient::bundledHelperPath();
        QUrl updateFeed; // none: no update check is possible
    };

    static constexpr QSize defaultWindowSize{1100, 700};

    // `translation`: the language of the application's catalogue in use, empty for English.
    TessaryApp(QSettings& preferences, FolderPanel& panel, const Places& places, const QString& translation,
               QObject* parent = nullptr);
    ~TessaryApp() override;

    TessaryView* window() const { return mainWindow.get(); }
    TessarySettingsWindow* settingsWindow() const { return settings.get(); }
    TessaryModel* model() { return &workflow; }
    RenameHistoryStore* history() { return &store; }
    Updater* updater() { return &updates; }
    TessaryCommands* commands() { return &menus; }

    void showAbout();
    void showHelp();
    HelpWindow* helpWindow() const { return help.get(); }

private:
    void reportUpdateChecks();

    FolderAccessManager folderAccess;
    TessaryModel workflow;
    RenameHistoryStore store;
    Updater updates;
    TessaryCommands menus;
    std::unique_ptr<TessaryView> mainWindow;
    std::unique_ptr<TessarySettingsWindow> settings;
    std::unique_ptr<HelpWindow> help;
};
