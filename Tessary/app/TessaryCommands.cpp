#include "app/TessaryCommands.h"

#include "desktop/Updater.h"
#include "window/TessaryView.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMainWindow>
#include <QMenuBar>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QAction* routed(const QString& text, const QKeySequence& shortcut,
                std::function<void()> TessaryActions::*which, QObject* parent)
{
    auto* action = new QAction(text, parent);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(action, &QAction::triggered, parent, [which] {
        if (const auto run = TessaryCommands::focusedActions().*which)
            run();
    });
    return action;
}

} // namespace

TessaryCommands::TessaryCommands(Updater* updater, std::function<void()> showAbout, QObject* parent)
    : QObject(parent),
      //: File menu
      addFilesAction(routed(tr("Add Files…"), QKeySequence::Open, &TessaryActions::addFiles, this)),
      //: File menu
      newAction(routed(tr("New"), QKeySequence::New, &TessaryActions::startOver, this)),
      //: File menu
      renameAction(routed(tr("Rename"), QKeySequence(u"Ctrl+R"_s), &TessaryActions::rename, this)),
      //: File menu
      historyAction(
          routed(tr("Rename History…"), QKeySequence(u"Ctrl+H"_s), &TessaryActions::showHistory, this)),
      //: Help menu
      helpAction(new QAction(tr("Tessary Help"), this)),
      //: Help menu
      checkForUpdatesAction(new QAction(tr("Check for Updates…"), this)),
      //: Help menu
      aboutAction(new QAction(tr("About Tessary"), this))
{
    connect(helpAction, &QAction::triggered, this, [] { QDesktopServices::openUrl(QUrl(helpPage)); });
    connect(checkForUpdatesAction, &QAction::triggered, updater, &Updater::checkForUpdates);
    const auto follow = [this, updater] { checkForUpdatesAction->setEnabled(updater->canCheckForUpdates()); };
    connect(updater, &Updater::canCheckForUpdatesChanged, this, follow);
    follow();
    aboutAction->setMenuRole(QAction::AboutRole);
    connect(aboutAction, &QAction::triggered, this, std::move(showAbout));
}

TessaryActions TessaryCommands::focusedActions()
{
    if (auto* view = qobject_cast<TessaryView*>(QApplication::activeWindow()))
        return view->actions();
    return {};
}

void TessaryCommands::install(QMainWindow* window, const QList<QAction*>& editActions)
{
    QMenuBar* bar = window->menuBar();
    //: Menu
    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(addFilesAction);
    file->addAction(newAction);
    file->addSeparator();
    file->addAction(renameAction);
    file->addAction(historyAction);

    //: Menu
    QMenu* edit = bar->addMenu(tr("&Edit"));
    edit->addActions(editActions);

    //: Menu
    QMenu* help = bar->addMenu(tr("&Help"));
    help->addAction(helpAction);
    help->addAction(checkForUpdatesAction);
    help->addSeparator();
    help->addAction(aboutAction);
}
