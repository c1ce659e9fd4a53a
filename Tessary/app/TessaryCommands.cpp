#include "app/TessaryCommands.h"

#include "desktop/Updater.h"
#include "window/RecentRulesMenu.h"
#include "window/TessaryView.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

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

TessaryCommands::TessaryCommands(Updater* updater, std::function<void()> showHelp,
                                 std::function<void()> showAbout, QObject* parent)
    : QObject(parent),
      //: File menu; & marks the access key
      addFilesAction(routed(tr("&Add Files…"), QKeySequence::Open, &TessaryActions::addFiles, this)),
      //: File menu; & marks the access key
      addFolderContentsAction(routed(tr("Add &Folder Contents…"), QKeySequence(u"Ctrl+Shift+O"_s),
                                     &TessaryActions::addFolderContents, this)),
      //: File menu; & marks the access key
      newAction(routed(tr("&New"), QKeySequence::New, &TessaryActions::startOver, this)),
      //: File menu; & marks the access key
      renameAction(routed(tr("&Rename"), QKeySequence(u"Ctrl+R"_s), &TessaryActions::rename, this)),
      //: File menu; & marks the access key
      historyAction(
          routed(tr("Rename &History…"), QKeySequence(u"Ctrl+H"_s), &TessaryActions::showHistory, this)),
      //: File menu; & marks the access key
      quitAction(new QAction(tr("&Quit"), this)),
      //: Help menu; & marks the access key
      helpAction(new QAction(tr("Tessary &Help"), this)),
      //: Help menu; & marks the access key
      checkForUpdatesAction(new QAction(tr("Check for &Updates…"), this)),
      //: Help menu; & marks the access key
      aboutAction(new QAction(tr("&About Tessary"), this))
{
    quitAction->setShortcut(
        QKeySequence(u"Ctrl+Q"_s)); // QKeySequence::Quit is empty under some platform themes
    quitAction->setMenuRole(QAction::QuitRole);
    connect(quitAction, &QAction::triggered, qApp, &QApplication::closeAllWindows);
    helpAction->setShortcut(QKeySequence::HelpContents);
    connect(helpAction, &QAction::triggered, this, std::move(showHelp));
    connect(checkForUpdatesAction, &QAction::triggered, updater, &Updater::checkForUpdates);
    checkForUpdatesAction->setVisible(updater->hasFeed());
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

void TessaryCommands::install(TessaryView* window)
{
    QMenuBar* bar = window->menuBar();
    //: Menu
    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(addFilesAction);
    file->addAction(addFolderContentsAction);
    file->addAction(newAction);
    file->addMenu(window->openRecentMenu());
    file->addSeparator();
    file->addAction(renameAction);
    file->addAction(historyAction);
    file->addSeparator();
    file->addAction(quitAction);

    //: Menu
    QMenu* edit = bar->addMenu(tr("&Edit"));
    edit->addActions({window->undoRenameAction(), window->redoRenameAction()});
    const std::pair<QAction*, QAction*> followed[] = {{window->addFilesAction(), addFilesAction},
                                                      {window->addFilesAction(), addFolderContentsAction},
                                                      {window->newAction(), newAction},
                                                      {window->renameAction(), renameAction}};
    for (const auto& [button, item] : followed) {
        const auto follow = [button, item] {
            item->setEnabled(button->isEnabled() && button->isVisible());
            item->setStatusTip(button->toolTip());
        };
        connect(button, &QAction::changed, item, follow);
        follow();
    }

    //: Menu
    QMenu* help = bar->addMenu(tr("&Help"));
    help->addAction(helpAction);
    help->addAction(checkForUpdatesAction);
    help->addSeparator();
    help->addAction(aboutAction);
}
