#include "window/TessaryView.h"

#include "common/Diagnostics.h"
#include "model/TessaryModel.h"
#include "planning/RuleRegex.h"
#include "storage/RenameHistoryStore.h"
#include "window/FieldBrowser.h"
#include "window/Icons.h"
#include "window/RecentRulesMenu.h"
#include "window/RenameHistoryWindow.h"
#include "window/TessaryFileTableView.h"
#include "window/TessaryRulesForm.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

enum TableAreaPage { EmptyPage, ReadingPage, RenamingPage, FilesPage };

QString nativeShortcut(const QKeySequence& sequence)
{
    return sequence.toString(QKeySequence::NativeText);
}

// A dashed outline over the window while files are dragged over it.
class DropOutline : public QWidget {
public:
    explicit DropOutline(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 3, Qt::DashLine));
        painter.drawRoundedRect(rect().adjusted(4, 4, -4, -4), 10, 10);
    }
};

QLabel* iconLabel(Icons::Symbol symbol, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setPixmap(Icons::icon(symbol).pixmap(14, 14));
    return label;
}

// A message box with its title as a bold headline in the body too, as not every desktop shows a dialog's
// window title; the message a paragraph, so that names with "<" in them show as written.
QMessageBox* headlineBox(QMessageBox::Icon icon, const QString& title, const QString& message,
                         QMessageBox::StandardButtons buttons, QWidget* parent)
{
    auto* box = new QMessageBox(icon, title, u"<b>%1</b>"_s.arg(title.toHtmlEscaped()), buttons, parent);
    box->setTextFormat(Qt::RichText);
    // Rich text would run the message's lines together.
    box->setInformativeText(u"<p>%1</p>"_s.arg(message.toHtmlEscaped().replace(u'\n', u"<br>"_s)));
    box->setWindowModality(Qt::WindowModal);
    return box;
}

QStringList localPaths(const QMimeData* data)
{
    QStringList paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    return paths;
}

} // namespace

TessaryView::TessaryView(TessaryModel* model, RenameHistoryStore* history, QSettings& preferences,
                         QWidget* parent)
    : QMainWindow(parent), model(model), history(history), form(new TessaryRulesForm(model, this)),
      table(new TessaryFileTableView(model, preferences, this)), preferences(preferences)
{
    setWindowTitle(u"Tessary"_s);
    setAcceptDrops(true);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(form);
    splitter->addWidget(buildTableArea());
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);
    dropOutline = new DropOutline(this); // a splitter would take a child of its own as another pane

    buildToolBar();
    buildStatusBar();

    for (const auto signal : {&TessaryModel::isRenamedChanged, &TessaryModel::isRenamingChanged,
                              &TessaryModel::renameDisabledReasonChanged, &TessaryModel::loadingCountChanged,
                              &TessaryModel::isUpdatingChanged})
        connect(model, signal, this, [this] {
            refreshToolBar();
            refreshTableArea();
            scheduleStatusRefresh();
        });
    buildEditActions();
    connect(form, &TessaryRulesForm::fieldBrowserRequested, this, &TessaryView::browseFields);
    connect(model, &TessaryModel::operationProblemChanged, this, &TessaryView::showProblem);
    const TessaryFileList* files = model->files();
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(files, signal, this, [this] {
            refreshTableArea();
            scheduleStatusRefresh();
        });
    connect(files, &QAbstractItemModel::modelReset, this, [this] {
        refreshTableArea();
        scheduleStatusRefresh();
    });
    connect(files, &QAbstractItemModel::dataChanged, this, &TessaryView::scheduleStatusRefresh);

    refreshToolBar();
    refreshTableArea();
    refreshStatus();
}

TessaryActions TessaryView::actions()
{
    return {[this] { showOpenPanel(); }, [this] { showFolderPanel(); }, [this] { startOver(); },
            [this] { rename(); }, [this] { showHistory(); }};
}

void TessaryView::buildEditActions()
{
    //: Edit menu; & marks the access key
    undoRenameItem = new QAction(tr("&Undo Rename"), this);
    undoRenameItem->setShortcut(QKeySequence::Undo);
    //: Edit menu; & marks the access key
    redoRenameItem = new QAction(tr("&Redo Rename"), this);
    redoRenameItem->setShortcut(QKeySequence::Redo);
    // Ctrl+Z in a rule editor undoes typing: the editor takes the shortcut while it has focus.
    for (QAction* action : {undoRenameItem, redoRenameItem})
        action->setShortcutContext(Qt::WindowShortcut);
    RenameHistoryList* list = model->renameHistory();
    connect(undoRenameItem, &QAction::triggered, this, [this, list] {
        if (const auto target = list->undoTarget())
            model->undoRename(target->file);
    });
    connect(redoRenameItem, &QAction::triggered, this, [this, list] {
        if (const auto target = list->redoTarget())
            model->redoRename(target->file);
    });
    connect(list, &RenameHistoryList::refreshed, this, &TessaryView::refreshEditActions);
    connect(model, &TessaryModel::isRenamingChanged, this, &TessaryView::refreshEditActions);
    refreshEditActions();
}

void TessaryView::refreshEditActions()
{
    const RenameHistoryList* list = model->renameHistory();
    const bool idle = !model->isRenaming();
    undoRenameItem->setEnabled(idle && list->undoTarget());
    redoRenameItem->setEnabled(idle && list->redoTarget());
}

void TessaryView::showHistory()
{
    if (!historyShown)
        historyShown = new RenameHistoryWindow(model, this);
    historyShown->show();
    historyShown->raise();
    historyShown->activateWindow();
}

FieldBrowser* TessaryView::fieldBrowserShown() const
{
    return fieldBrowser;
}

void TessaryView::browseFields()
{
    FieldBrowser::Subject subject;
    subject.regexGroups = RuleRegex::groupNames(model->regexString()).value_or(QStringList());
    const TessaryFileList* files = model->files();
    if (!files->isEmpty()) {
        const FileRecord& file = files->at(table->currentFile().value_or(0));
        subject.fileName = file.originalName();
        subject.fields = file.fields;
    }
    fieldBrowser = new FieldBrowser(subject, this);
    fieldBrowser->setAttribute(Qt::WA_DeleteOnClose);
    connect(fieldBrowser, &QDialog::accepted, this,
            [this, browser = fieldBrowser.data()] { form->patternEditor()->insert(browser->placeholder()); });
    fieldBrowser->open();
}

void TessaryView::buildToolBar()
{
    //: Name of the toolbar, as the toolbar's context menu shows it
    QToolBar* bar = addToolBar(tr("Workflow"));
    bar->setObjectName(u"workflow"_s);
    bar->setMovable(false);
    // Plasma's setting, text beside the icons by default; GNOME and a bare X server show icons only.
    bar->setToolButtonStyle(Qt::ToolButtonFollowStyle);

    //: Toolbar button
    addFilesItem =
        bar->addAction(Icons::icon(Icons::Symbol::Plus), tr("Add Files"), this, &TessaryView::showOpenPanel);
    //: Tooltip of the Add Files button; the placeholder is its shortcut
    addFilesItem->setToolTip(tr("Add files to rename (%1)").arg(nativeShortcut(QKeySequence::Open)));
    //: Toolbar button
    newItem = bar->addAction(Icons::icon(Icons::Symbol::Document), tr("New"), this, &TessaryView::startOver);

    recent = new RecentRulesMenu(history, model, this);
    openRecent = new RecentRulesMenu(history, model, this);
    //: File menu; & marks the access key
    openRecent->setTitle(tr("Open Re&cent"));
    connect(history, &RenameHistoryStore::entriesChanged, this, &TessaryView::refreshToolBar);
    //: Toolbar menu
    recentItem = bar->addAction(Icons::icon(Icons::Symbol::Clock), tr("Recent"));
    recentItem->setMenu(recent);
    //: Tooltip of the Recent menu
    recentItem->setToolTip(tr("Use rules from a previous rename"));
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(recentItem)))
        button->setPopupMode(QToolButton::InstantPopup);

    renameItem = bar->addAction(Icons::icon(Icons::Symbol::Rename), tr("Rename"), this, &TessaryView::rename);
    //: Toolbar button
    undoItem =
        bar->addAction(Icons::icon(Icons::Symbol::UndoArrow), tr("Undo"), this, &TessaryView::undoRename);
    //: Tooltip of the Undo button
    undoItem->setToolTip(tr("Give the renamed files their original names back"));
}

void TessaryView::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    filesCount = new QLabel(bar);
    changedIcon = new QLabel(bar);
    changedCount = new QLabel(bar);
    errorIcon = iconLabel(Icons::Symbol::Warning, bar);
    errorCount = new QLabel(bar);
    warningIcon = iconLabel(Icons::Symbol::Caution, bar);
    warningCount = new QLabel(bar);
    busy = new QProgressBar(bar);
    busy->setRange(0, 0);
    busy->setMaximumSize(80, 12);
    busy->setTextVisible(false);
    busyText = new QLabel(bar);
    for (QWidget* item :
         std::initializer_list<QWidget*>{filesCount, changedIcon, changedCount, errorIcon, errorCount,
                                         warningIcon, warningCount, busy, busyText})
        bar->addWidget(item);
}

QWidget* TessaryView::buildTableArea()
{
    tableArea = new QStackedWidget(this);

    auto* empty = new QWidget(tableArea);
    auto* emptyLayout = new QVBoxLayout(empty);
    //: Shown in the file table while the list is empty
    auto* dropHere = new QLabel(tr("Drop files here"), empty);
    dropHere->setAlignment(Qt::AlignCenter);
    dropHere->setForegroundRole(QPalette::PlaceholderText);
    QFont large = dropHere->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    dropHere->setFont(large);
    //: Button in the empty file table
    auto* open = new QPushButton(tr("Open F&iles…"), empty);
    connect(open, &QPushButton::clicked, this, &TessaryView::showOpenPanel);
    //: Button in the empty file table; & marks the access key
    auto* openFolder = new QPushButton(tr("Add Folder &Contents…"), empty);
    connect(openFolder, &QPushButton::clicked, this, &TessaryView::showFolderPanel);
    emptyLayout->addStretch();
    emptyLayout->addWidget(dropHere);
    emptyLayout->addWidget(open, 0, Qt::AlignCenter);
    emptyLayout->addWidget(openFolder, 0, Qt::AlignCenter);
    emptyLayout->addStretch();

    const auto progressPage = [this](const QString& text) {
        auto* page = new QWidget(tableArea);
        auto* layout = new QVBoxLayout(page);
        auto* bar = new QProgressBar(page);
        bar->setRange(0, 0);
        bar->setMaximumWidth(200);
        bar->setTextVisible(false);
        auto* label = new QLabel(text, page);
        label->setAlignment(Qt::AlignCenter);
        layout->addStretch();
        layout->addWidget(bar, 0, Qt::AlignCenter);
        layout->addWidget(label);
        layout->addStretch();
        return page;
    };
    tableArea->insertWidget(EmptyPage, empty);
    //: Shown in the file table and the status bar while files are read
    tableArea->insertWidget(ReadingPage, progressPage(tr("Reading files…")));
    //: Shown in the file table while files are renamed
    tableArea->insertWidget(RenamingPage, progressPage(tr("Renaming…")));
    tableArea->insertWidget(FilesPage, table);
    return tableArea;
}

void TessaryView::refreshToolBar()
{
    const bool renamed = model->isRenamed(), renaming = model->isRenaming();
    addFilesItem->setEnabled(!renamed && !renaming);
    newItem->setEnabled(!renaming);
    const QString newShortcut = nativeShortcut(QKeySequence::New);
    if (renamed)
        //: Tooltip of the New button after a rename; the placeholder is its shortcut
        newItem->setToolTip(tr("Start over; renamed files keep their new names (%1)").arg(newShortcut));
    else
        //: Tooltip of the New button; the placeholder is its shortcut
        newItem->setToolTip(tr("Clear the file list (%1)").arg(newShortcut));
    recentItem->setVisible(!renamed);
    recentItem->setEnabled(!renaming && !recent->isEmpty());
    openRecent->menuAction()->setEnabled(!renamed && !renaming && !recent->isEmpty());
    renameItem->setVisible(!renamed);
    const std::optional<QString> reason = model->renameDisabledReason();
    renameItem->setEnabled(!reason);
    renameItem->setToolTip(reason.value_or(
        //: Tooltip of the Rename button; the placeholder is its shortcut
        tr("Rename files according to the pattern (%1)").arg(nativeShortcut(QKeySequence(u"Ctrl+R"_s)))));
    undoItem->setVisible(renamed);
    undoItem->setEnabled(!renaming);
}

void TessaryView::scheduleStatusRefresh()
{
    if (statusRefreshPending)
        return;
    statusRefreshPending = true; // once for all the changes of one plan
    QTimer::singleShot(0, this, [this] {
        statusRefreshPending = false;
        refreshStatus();
    });
}

void TessaryView::refreshStatus()
{
    const RenameSession::Tally tally = model->tally();
    //: Status bar count of all files
    filesCount->setText(tr("%n files", nullptr, int(tally.files)));
    const bool afterRename = model->isRenamed();
    changedIcon->setPixmap(
        Icons::icon(afterRename ? Icons::Symbol::Checkmark : Icons::Symbol::Pencil).pixmap(14, 14));
    if (afterRename)
        //: Status bar count of the renamed files
        changedCount->setText(tr("%n renamed", nullptr, int(tally.renamed)));
    else
        //: Status bar count of the files whose name changes
        changedCount->setText(tr("%n to rename", nullptr, int(tally.changed)));
    //: Status bar count of the files with an error
    errorCount->setText(tr("%n errors", nullptr, int(tally.errors)));
    errorIcon->setVisible(tally.errors > 0); // a warning sign over nothing wrong would alarm
    //: Status bar count of the files with a warning, such as a placeholder that names no field
    warningCount->setText(tr("%n warnings", nullptr, int(tally.warnings)));
    warningIcon->setVisible(tally.warnings > 0);
    warningCount->setVisible(tally.warnings > 0);
    const bool reading = model->loadingCount() > 0, updating = model->isUpdating();
    busy->setVisible(reading || updating);
    busyText->setVisible(reading || updating);
    //: Status bar while the new names are computed
    const QString computing = tr("Updating…");
    busyText->setText(reading ? tr("Reading files…") : computing);
}

QStringList TessaryView::statusTexts() const
{
    QStringList texts{filesCount->text(), changedCount->text(), errorCount->text()};
    if (!warningCount->isHidden())
        texts.append(warningCount->text());
    if (!busyText->isHidden())
        texts.append(busyText->text());
    return texts;
}

bool TessaryView::showsErrorSign() const
{
    return !errorIcon->isHidden();
}

void TessaryView::refreshTableArea()
{
    int page = FilesPage;
    if (model->isRenaming())
        page = RenamingPage;
    else if (model->files()->isEmpty())
        page = model->loadingCount() > 0 ? ReadingPage : EmptyPage;
    tableArea->setCurrentIndex(page);
}

QString TessaryView::tableAreaState() const
{
    static const QStringList names{u"empty"_s, u"reading"_s, u"renaming"_s, u"files"_s};
    return names.value(tableArea->currentIndex());
}

void TessaryView::showOpenPanel()
{
    if (model->isRenamed() || model->isRenaming())
        return;
    //: Title of the open panel that adds files
    addPaths(QFileDialog::getOpenFileNames(this, tr("Add Files")));
}

void TessaryView::showFolderPanel()
{
    if (model->isRenamed() || model->isRenaming())
        return;
    //: Title of the panel that chooses a folder whose files are added
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Add Folder Contents"));
    if (!folder.isEmpty())
        model->addFolderContents({folder});
}

void TessaryView::addPaths(const QStringList& paths)
{
    QStringList files, folders;
    for (const QString& path : paths)
        (QFileInfo(path).isDir() ? folders : files).append(path);
    if (!files.isEmpty())
        model->addFiles(files);
    if (folders.isEmpty())
        return;
    const QString remembered = preferences.value(droppedFoldersKey).toString();
    if (remembered == u"folders" || remembered == u"contents")
        addFolders(folders, remembered == u"folders");
    else
        askAboutFolders(folders);
}

void TessaryView::addFolders(const QStringList& folders, bool themselves)
{
    if (themselves)
        model->addFiles(folders);
    else
        model->addFolderContents(folders);
}

// A dropped folder may be what is to be renamed, or only where the files to rename are.
void TessaryView::askAboutFolders(const QStringList& folders)
{
    if (folderQuestion)
        return;
    //: Title of the question after folders were dropped
    const QString title = tr("Add the Folders or Their Files?");
    folderQuestion = headlineBox(QMessageBox::Question, title,
                                 //: Question after folders were dropped; %n is their number
                                 tr("%n folders were dropped. Rename the folders themselves, or the files "
                                    "inside them and their folders?",
                                    nullptr, int(folders.size())),
                                 QMessageBox::Cancel, this);
    //: Button of the question after folders were dropped; & marks the access key
    QPushButton* itself = folderQuestion->addButton(tr("Add the &Folders"), QMessageBox::AcceptRole);
    //: Button of the question after folders were dropped; & marks the access key
    QPushButton* inside = folderQuestion->addButton(tr("Add the Files &Inside"), QMessageBox::AcceptRole);
    folderQuestion->setDefaultButton(inside);
    //: Check box of the question after folders were dropped; & marks the access key
    folderQuestion->setCheckBox(new QCheckBox(tr("&Remember my answer"), folderQuestion));
    connect(folderQuestion, &QMessageBox::finished, this, [this, folders, itself, inside] {
        QAbstractButton* answer = folderQuestion->clickedButton();
        const bool remember = folderQuestion->checkBox()->isChecked();
        folderQuestion->deleteLater();
        folderQuestion = nullptr;
        if (answer != itself && answer != inside)
            return;
        if (remember)
            preferences.setValue(droppedFoldersKey, answer == itself ? u"folders"_s : u"contents"_s);
        addFolders(folders, answer == itself);
    });
    folderQuestion->open();
}

void TessaryView::startOver()
{
    const qsizetype listed = model->files()->rowCount();
    if (listed == 0 || model->isRenamed()) {
        model->startOver();
        return;
    }
    if (shownQuestion)
        return;
    // A list that took a while to gather is not thrown away by a slip of Ctrl+N.
    //: Title of the question before New clears a list that was not renamed
    const QString title = tr("Clear the List?");
    shownQuestion = headlineBox(
        QMessageBox::Question, title,
        //: Question before New clears a list that was not renamed; %n is the number of listed files
        tr("%n files are listed and haven't been renamed. The rules stay.", nullptr, int(listed)),
        QMessageBox::Cancel, this);
    //: Button of the question before New clears the list; & marks the access key
    QPushButton* clear = shownQuestion->addButton(tr("&Clear List"), QMessageBox::DestructiveRole);
    shownQuestion->setDefaultButton(QMessageBox::Cancel);
    connect(shownQuestion, &QMessageBox::finished, this, [this, clear] {
        const bool confirmed = shownQuestion->clickedButton() == clear;
        shownQuestion->deleteLater();
        shownQuestion = nullptr;
        if (confirmed)
            model->startOver();
    });
    shownQuestion->open();
}

void TessaryView::rename()
{
    model->rename([this](bool renamed) {
        if (!renamed)
            return;
        history->saveHistory(model->regexString(), model->script(), model->resultPattern(), model->order(),
                             model->numberDuplicates());
    });
}

void TessaryView::undoRename()
{
    model->undo();
}

void TessaryView::showProblem()
{
    const std::optional<OperationProblem> problem = model->operationProblem();
    if (!problem || shownAlert)
        return;
    shownAlert = headlineBox(QMessageBox::Warning, problem->title, problem->message, QMessageBox::Ok, this);
    connect(shownAlert, &QMessageBox::finished, this, [this] {
        shownAlert->deleteLater();
        shownAlert = nullptr;
        model->setOperationProblem(std::nullopt);
    });
    shownAlert->open();
}

void TessaryView::setDropTargeted(bool targeted)
{
    dropTargeted = targeted;
    dropOutline->setGeometry(centralWidget()->geometry());
    dropOutline->raise();
    dropOutline->setVisible(targeted);
}

// The moment a person sees the window, for the start-up benchmark.
bool TessaryView::event(QEvent* event)
{
    if (event->type() == QEvent::Paint && !painted) {
        painted = true;
        qCInfo(appLog, "Window shown");
    }
    return QMainWindow::event(event);
}

void TessaryView::dragEnterEvent(QDragEnterEvent* event)
{
    if (localPaths(event->mimeData()).isEmpty() || model->isRenamed() || model->isRenaming())
        return;
    event->acceptProposedAction();
    setDropTargeted(true);
}

void TessaryView::dragLeaveEvent(QDragLeaveEvent*)
{
    setDropTargeted(false);
}

void TessaryView::dropEvent(QDropEvent* event)
{
    setDropTargeted(false);
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    addPaths(paths);
}
