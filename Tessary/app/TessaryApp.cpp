#include "app/TessaryApp.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QVersionNumber>

TessaryApp::TessaryApp(QSettings& preferences, FolderPanel& panel, const Places& places,
                       const QString& translation, QObject* parent)
    : QObject(parent), folderAccess(preferences, panel),
      workflow(preferences, JSEngineClient(places.helperPath), folderAccess, places.journalFolder),
      store(places.historyFolder),
      updates(places.updateFeed, QVersionNumber::fromString(QCoreApplication::applicationVersion())),
      menus(
          &updates, [this] { showHelp(); }, [this] { showAbout(); }),
      mainWindow(std::make_unique<TessaryView>(&workflow, &store, preferences)),
      settings(std::make_unique<TessarySettingsWindow>(translation))
{
    menus.install(mainWindow.get());
    reportUpdateChecks();
    // Files may have been deleted or moved while the user was in another program.
    connect(qApp, &QGuiApplication::applicationStateChanged, &workflow, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            workflow.recheckFiles();
    });
    mainWindow->resize(defaultWindowSize.expandedTo(mainWindow->minimumSizeHint()));
}

// The windows go before the model they show.
TessaryApp::~TessaryApp()
{
    help.reset();
    settings.reset();
    mainWindow.reset();
}

void TessaryApp::reportUpdateChecks()
{
    QWidget* window = mainWindow.get();
    connect(&updates, &Updater::updateAvailable, window, [window](const QString& version, const QUrl& link) {
        //: Title of the message after an update check that found a newer version
        QMessageBox::information(window, tr("Update Available"),
                                 //: Message after an update check; the placeholders are a version and a link
                                 tr("Tessary %1 is available: %2").arg(version, link.toString()));
    });
    connect(&updates, &Updater::upToDate, window, [window] {
        //: Title of the message after an update check that found nothing newer
        const QString title = tr("No Update");
        //: Message after an update check that found nothing newer
        QMessageBox::information(window, title, tr("Tessary is up to date."));
    });
    connect(&updates, &Updater::checkFailed, window, [window](const QString& reason) {
        //: Title of the message after an update check that failed; the message is the reason
        QMessageBox::warning(window, tr("Update Check Failed"), reason);
    });
}

void TessaryApp::showAbout()
{
    settings->show();
    settings->raise();
    settings->activateWindow();
}

void TessaryApp::showHelp()
{
    if (!help)
        help = std::make_unique<HelpWindow>();
    help->show();
    help->raise();
    help->activateWindow();
}
