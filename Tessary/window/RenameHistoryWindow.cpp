#include "window/RenameHistoryWindow.h"

#include "model/TessaryModel.h"
#include "renaming/journal/RenameHistory.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

using namespace Qt::StringLiterals;

namespace {

QTableView* tableFor(QAbstractItemModel* model, QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

} // namespace

RenameHistoryWindow::RenameHistoryWindow(TessaryModel* model, QWidget* parent)
    : QWidget(parent, Qt::Window), model(model), renames(tableFor(model->renameHistory(), this)),
      files(tableFor(&fileList, this)), filesTitle(new QLabel(this))
{
    //: Title of the Rename History window
    setWindowTitle(tr("Rename History"));
    setObjectName(u"renameHistory"_s);
    //: Accessible name of the list of renames in the Rename History window
    renames->setAccessibleName(tr("Renames"));
    //: Accessible name of the list of files in the Rename History window
    files->setAccessibleName(tr("Files of the selected rename"));
    renames->horizontalHeader()->resizeSection(RenameHistoryList::WhenColumn, 140);
    renames->horizontalHeader()->resizeSection(RenameHistoryList::FilesColumn, 60);
    renames->horizontalHeader()->resizeSection(RenameHistoryList::FolderColumn, 220);
    renames->horizontalHeader()->resizeSection(RenameHistoryList::RulesColumn, 260);
    files->horizontalHeader()->resizeSection(RenameFileList::OldNameColumn, 220);
    files->horizontalHeader()->resizeSection(RenameFileList::NewNameColumn, 220);
    files->horizontalHeader()->resizeSection(RenameFileList::StateColumn, 180);

    //: Button of the Rename History window: undoes the selected rename
    restore = new QPushButton(tr("&Restore Old Names"), this);
    //: Button of the Rename History window: redoes the selected rename after an undo
    redo = new QPushButton(tr("Rename A&gain"), this);
    //: Button of the Rename History window: opens the file manager at the rename's folder
    showFiles = new QPushButton(tr("&Show Files"), this);
    //: Button of the Rename History window: brings the rename's rules back into the main window
    useRules = new QPushButton(tr("&Use These Rules"), this);
    busy = new QProgressBar(this);
    busy->setRange(0, 0);
    busy->setMaximumSize(80, 12);
    busy->setTextVisible(false);
    //: Rename History window, while an undo or redo moves files
    busyText = new QLabel(tr("Moving files…"), this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {restore, redo, showFiles, useRules})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(busy);
    buttons->addWidget(busyText);

    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(filesTitle);
    lowerLayout->addWidget(files);
    filesTitle->setBuddy(files);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(renames);
    splitter->addWidget(lower);
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addLayout(buttons);
    resize(900, 600);

    RenameHistoryList* history = model->renameHistory();
    connect(renames->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        selectedFile = selected() ? selected()->file : QString();
        loadFiles();
        refreshButtons();
    });
    connect(history, &RenameHistoryList::refreshed, this, [this, history] {
        const auto& summaries = history->summaries();
        const auto kept =
            std::find_if(summaries.cbegin(), summaries.cend(),
                         [this](const JournalSummary& summary) { return summary.file == selectedFile; });
        const int row = kept == summaries.cend() ? 0 : int(kept - summaries.cbegin());
        const QModelIndex wanted = summaries.isEmpty() ? QModelIndex() : history->index(row, 0);
        if (renames->currentIndex() != wanted) {
            renames->setCurrentIndex(wanted); // the row's own handler loads its files
            return;
        }
        loadFiles();
        refreshButtons();
    });
    connect(model, &TessaryModel::isRenamingChanged, this, &RenameHistoryWindow::refreshButtons);
    connect(restore, &QPushButton::clicked, this, [this] {
        if (const auto summary = selected())
            this->model->undoRename(summary->file);
    });
    connect(redo, &QPushButton::clicked, this, [this] {
        if (const auto summary = selected())
            this->model->redoRename(summary->file);
    });
    connect(showFiles, &QPushButton::clicked, this, [this] {
        if (const auto summary = selected())
            QDesktopServices::openUrl(QUrl::fromLocalFile(RenameHistory::commonFolder(summary->folders)));
    });
    connect(useRules, &QPushButton::clicked, this, [this] {
        if (const auto summary = selected(); summary && summary->rules)
            this->model->applyRules(*summary->rules);
    });
    for (const QKeySequence& key : {QKeySequence(QKeySequence::Close), QKeySequence(Qt::Key_Escape)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);
    history->refresh();
    refreshButtons();
}

bool RenameHistoryWindow::showsFilesOfSelection() const
{
    return !selectedFile.isEmpty() && fileList.entryFile() == selectedFile;
}

std::optional<JournalSummary> RenameHistoryWindow::selected() const
{
    const int row = renames->currentIndex().row();
    const QList<JournalSummary>& summaries = model->renameHistory()->summaries();
    return row >= 0 && row < summaries.size() ? std::optional(summaries[row]) : std::nullopt;
}

void RenameHistoryWindow::refreshButtons()
{
    const auto summary = selected();
    const bool idle = !model->isRenaming();
    restore->setEnabled(idle && summary && RenameHistory::canUndo(*summary));
    redo->setEnabled(idle && summary && RenameHistory::canRedo(*summary));
    showFiles->setEnabled(summary.has_value());
    useRules->setEnabled(summary && summary->rules && !model->isRenamed() && idle);
    busy->setVisible(!idle);
    busyText->setVisible(!idle);
}

// The file list of a rename can be long: it is read on a worker.
void RenameHistoryWindow::loadFiles()
{
    const quint64 request = ++loadSerial;
    const auto summary = selected();
    if (!summary) {
        fileList.clear();
        //: Title over the files of the Rename History window when no rename is selected
        filesTitle->setText(tr("Files"));
        return;
    }
    //: Title over the files of the Rename History window; %n is the number of files the rename moved
    filesTitle->setText(tr("Files of the selected rename (%n renamed)", nullptr, int(summary->renamed)));
    const auto loaded = QtConcurrent::run([file = summary->file] {
        QString problem;
        return RenameJournal::load(file, &problem);
    });
    lifeline.then(loaded, [this, request](const std::optional<JournalEntry>& entry) {
        if (request != loadSerial)
            return;
        if (entry)
            fileList.show(*entry, model->lastRefusals(entry->file));
        else
            fileList.clear();
    });
}
