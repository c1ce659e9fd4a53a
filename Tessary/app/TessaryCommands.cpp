#include "app/TessaryCommands.h"

#include "window/TessaryView.h"
#include "desktop/Updater.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMainWindow>
#include <QMenuBar>
#include <QUndoStack>
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

void TessaryCommands::install(QMainWindow* window, QUndoStack* undo)
{
    QMenuBar* bar = window->menuBar();
    //: Menu
    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(addFilesAction);
    file->addAction(newAction);
    file->addSeparator();
    file->addAction(renameAction);

    //: Menu
    QMenu* edit = bar->addMenu(tr("&Edit"));
    //: Edit menu; followed by the name of what is undone, as in "Undo Rename"
    QAction* undoAction = undo->createUndoAction(edit, tr("Undo"));
    undoAction->setShortcut(QKeySequence::Undo);
    //: Edit menu; followed by the name of what is redone
    QAction* redoAction = undo->createRedoAction(edit, tr("Redo"));
    redoAction->setShortcut(QKeySequence::Redo);
    edit->addAction(undoAction);
    edit->addAction(redoAction);

    //: Menu
    QMenu* help = bar->addMenu(tr("&Help"));
    help->addAction(helpAction);
    help->addAction(checkForUpdatesAction);
    help->addSeparator();
    help->addAction(aboutAction);
}
