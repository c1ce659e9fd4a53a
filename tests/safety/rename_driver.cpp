// The journaled rename, undo and recovery as tessary-cli runs them, over a batch from RenameMixes, for the
// fault-injection sweep to run under its shim many times a second:
//   rename-driver rename MIX FOLDER JOURNAL
//   rename-driver undo JOURNAL
//   rename-driver redo JOURNAL
//   rename-driver recover JOURNAL [forward]
// Prints every failure and problem; exits 0 only when every file is where it was asked to go.
#include "RenameMixes.h"
#include "platform/NonReplacingMover.h"
#include "renaming/journal/JournaledRename.h"
#include "renaming/journal/RenameHistory.h"
#include "renaming/journal/RenameRecovery.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

void print(const QString& line)
{
    std::puts(line.toUtf8().constData());
}

int finished(const std::optional<JournaledRename::Outcome>& outcome, const QString& error)
{
    if (!outcome) {
        print(error);
        return 1;
    }
    for (const QString& failure : outcome->failures)
        print(failure);
    if (outcome->unrecorded)
        print(*outcome->unrecorded);
    return outcome->succeeded() ? 0 : 1;
}

int rename(const QString& mix, const QString& folder, const QString& journal)
{
    const RenameJournal::Contents contents = RenameJournal::scan(journal);
    if (!contents.incomplete.isEmpty() || !contents.unreadable.isEmpty())
        return 1;
    NonReplacingMover mover;
    QString error;
    const auto outcome = JournaledRename::rename(RenameMixes::operations(RenameMixes::named(mix), folder),
                                                 std::nullopt, journal, &error, mover);
    return finished(outcome, error);
}

// Undoes or redoes the newest rename.
int reverse(const QString& journal, bool undoing)
{
    const QList<JournalSummary> history = RenameHistory::list(journal);
    if (!RenameJournal::scan(journal).incomplete.isEmpty() || history.isEmpty())
        return 1;
    QString error;
    const auto entry = RenameJournal::load(history.first().file, &error);
    if (!entry)
        return 1;
    NonReplacingMover mover;
    return finished(undoing ? JournaledRename::undo(*entry, journal, &error, mover)
                            : JournaledRename::redo(*entry, journal, &error, mover),
                    error);
}

int recover(const QString& journal, RenameRecovery::Direction direction)
{
    const RenameJournal::Contents contents = RenameJournal::scan(journal);
    NonReplacingMover mover;
    QStringList problems = contents.unreadable;
    for (const JournalEntry& entry : contents.incomplete)
        problems += RenameRecovery::recover(entry, direction, mover);
    for (const QString& problem : problems)
        print(problem);
    return problems.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 4 && arguments[0] == u"rename")
        return rename(arguments[1], arguments[2], arguments[3]);
    if (arguments.size() == 2 && (arguments[0] == u"undo" || arguments[0] == u"redo"))
        return reverse(arguments[1], arguments[0] == u"undo");
    if ((arguments.size() == 2 || arguments.size() == 3) && arguments[0] == u"recover")
        return recover(arguments[1], arguments.size() == 3 ? RenameRecovery::Direction::Forward
                                                           : RenameRecovery::Direction::Rollback);
    return 2;
}
