#include "app/StartupRecovery.h"

#include "common/Diagnostics.h"
#include "renaming/journal/RenameRecovery.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(StartupRecovery)
};

} // namespace

namespace StartupRecovery {

void offer(const QString& journalFolder, QWidget* parent)
{
    const RenameJournal::Contents journal = RenameJournal::scan(journalFolder);
    for (const QString& problem : journal.unreadable)
        qCWarning(renameLog, "%s", qUtf8Printable(problem));
    for (const JournalEntry& entry : journal.incomplete) {
        QMessageBox question(
            QMessageBox::Warning,
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
        const auto direction = question.clickedButton() == back ? RenameRecovery::Direction::Rollback
                                                                : RenameRecovery::Direction::Forward;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const QStringList problems = RenameRecovery::recover(entry, direction);
        QApplication::restoreOverrideCursor();
        if (problems.isEmpty())
            continue;
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
}

} // namespace StartupRecovery
