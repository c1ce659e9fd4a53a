#include "app/StartupRecovery.h"

#include "common/Diagnostics.h"
#include "renaming/journal/RenameRecovery.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QtConcurrent>
#include <functional>

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(StartupRecovery)
};

// Runs `work` on the pool while the main thread keeps painting; the dialog shows after `delay` unless the
// work is done by then. It has no Cancel: a recovery stopped halfway would leave files at temporary names.
template <typename Work>
auto runAside(const QString& label, std::chrono::milliseconds delay, QWidget* parent, Work work)
{
    using Result = decltype(work());
    QFutureWatcher<Result> watcher;
    QProgressDialog progress(label, QString(), 0, 0, parent);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(int(delay.count()));
    progress.setValue(0); // starts the delay
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run(std::move(work)));
    if (!watcher.isFinished())
        loop.exec();
    return watcher.result();
}

RenameRecovery::Direction ask(const JournalEntry& entry, QWidget* parent)
{
    QMessageBox question(QMessageBox::Warning,
                         //: Title of the question at start-up after an interrupted rename
                         Texts::tr("A Rename Was Interrupted"),
                         //: Question at start-up after an interrupted rename
                         Texts::tr("Tessary stopped while renaming %n files. Give every file its old name "
                                   "back, or finish the rename?",
                                   nullptr, int(entry.operations.size())),
                         QMessageBox::NoButton, parent);
    //: Button of the question at start-up after an interrupted rename
    QPushButton* back = question.addButton(Texts::tr("Restore Old Names"), QMessageBox::AcceptRole);
    //: Button of the question at start-up after an interrupted rename
    question.addButton(Texts::tr("Finish Rename"), QMessageBox::ActionRole);
    question.setDefaultButton(back);
    question.exec();
    return question.clickedButton() == back ? RenameRecovery::Direction::Rollback
                                            : RenameRecovery::Direction::Forward;
}

QString progressLabel(RenameRecovery::Direction direction, int files)
{
    if (direction == RenameRecovery::Direction::Rollback)
        //: Progress while an interrupted rename is rolled back
        return Texts::tr("Restoring the old names of %n files…", nullptr, files);
    //: Progress while an interrupted rename is finished
    return Texts::tr("Finishing the rename of %n files…", nullptr, files);
}

void report(const QStringList& problems, QWidget* parent)
{
    QMessageBox report(QMessageBox::Warning,
                       //: Title of the report after recovering an interrupted rename
                       Texts::tr("Some Files Need Your Attention"),
                       //: Report after recovering an interrupted rename; the details list the files
                       Texts::tr("%n files could not be brought back to one side. Where they are now is "
                                 "listed in the details.",
                                 nullptr, int(problems.size())),
                       QMessageBox::Ok, parent);
    report.setDetailedText(problems.join(u'\n'));
    report.exec();
}

using Recover = std::function<QStringList(const JournalEntry&, RenameRecovery::Direction)>;

void offerWith(const QString& journalFolder, QWidget* parent, const Recover& recover)
{
    using namespace std::chrono_literals;
    const RenameJournal::Contents journal =
        //: Progress at start-up while the rename journal is read
        runAside(Texts::tr("Checking for interrupted renames…"), 700ms, parent,
                 [journalFolder] { return RenameJournal::scan(journalFolder); });
    for (const QString& problem : journal.unreadable)
        qCWarning(renameLog, "%s", qUtf8Printable(problem));
    for (const JournalEntry& entry : journal.incomplete) {
        const RenameRecovery::Direction direction = ask(entry, parent);
        const QString label = progressLabel(direction, int(entry.operations.size()));
        const QStringList problems =
            runAside(label, 0ms, parent, [&recover, entry, direction] { return recover(entry, direction); });
        if (!problems.isEmpty())
            report(problems, parent);
    }
}

} // namespace

namespace StartupRecovery {

void offer(const QString& journalFolder, QWidget* parent)
{
    offerWith(journalFolder, parent, [](const JournalEntry& entry, RenameRecovery::Direction direction) {
        return RenameRecovery::recover(entry, direction);
    });
}

void offer(const QString& journalFolder, QWidget* parent, FileMover& mover)
{
    offerWith(journalFolder, parent,
              [&mover](const JournalEntry& entry, RenameRecovery::Direction direction) {
                  return RenameRecovery::recover(entry, direction, mover);
              });
}

} // namespace StartupRecovery
