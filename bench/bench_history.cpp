// The rename history, side by side in one run:
//   the undo of a 10,000-file journaled rename, against the rename itself;
//   listing a history of 200 renames of 10,000 files each, and reading one rename's files on demand.
#include "BenchSupport.h"
#include "platform/NonReplacingMover.h"
#include "renaming/journal/JournaledRename.h"
#include "renaming/journal/RenameHistory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int count = 10'000;
constexpr int historySize = 200;

double since(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Milliseconds of a rename of every file and of its undo, each started with the disk settled.
std::pair<double, double> renameAndUndo(const QList<RenameOperation>& operations, const QString& journal)
{
    NonReplacingMover mover;
    QString error;
    QElapsedTimer timer;
    ::sync();
    timer.start();
    const auto renamed = JournaledRename::rename(operations, std::nullopt, journal, &error, mover);
    const double renaming = since(timer);
    if (!renamed || !renamed->succeeded())
        qFatal("The rename failed: %s", qPrintable(error));
    ::sync();
    timer.start();
    const auto undone = JournaledRename::undo(*renamed->entry, journal, &error, mover);
    const double undoing = since(timer);
    if (!undone || !undone->succeeded())
        qFatal("The undo failed: %s", qPrintable(error));
    return {renaming, undoing};
}

// A history of `historySize` renames like the one in `model`, as the journal would hold them.
void fillHistory(const QString& model, const QString& folder)
{
    for (int i = 0; i < historySize; ++i) {
        const QString name = u"%1-%2.done"_s.arg(qint64(1'700'000'000'000) + i, 15, 10, QChar(u'0'))
                                 .arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
        if (!QFile::copy(model, folder + u'/' + name))
            qFatal("Cannot copy a journal entry");
    }
}

} // namespace

int main()
{
    QTemporaryDir files, journal, history;
    QList<RenameOperation> operations;
    for (int i = 0; i < count; ++i) {
        const QString source = files.filePath(u"f%1"_s.arg(i));
        ::close(::open(QFile::encodeName(source).constData(), O_CREAT | O_WRONLY, 0644));
        operations.append({source, source, files.filePath(u"g%1"_s.arg(i))});
    }
    QList<double> renames, undos;
    for (int round = 0; round < 11; ++round) {
        const auto [renaming, undoing] = renameAndUndo(operations, journal.path());
        renames.append(renaming);
        undos.append(undoing);
    }
    std::printf("undo of 10,000 files      undo %7.1f ms   the rename itself %7.1f ms   ratio %5.2fx   "
                "(goal: <= 1.2x)\n",
                BenchSupport::median(undos), BenchSupport::median(renames),
                BenchSupport::median(undos) / BenchSupport::median(renames));

    fillHistory(RenameHistory::list(journal.path()).first().file, history.path());
    QList<double> listings, loads;
    for (int round = 0; round < 11; ++round) {
        QElapsedTimer timer;
        timer.start();
        const QList<JournalSummary> listed = RenameHistory::list(history.path());
        listings.append(since(timer));
        if (listed.size() != historySize || listed.first().renamed != count)
            qFatal("The history was not listed whole");
        timer.start();
        QString problem;
        if (!RenameJournal::load(listed[round].file, &problem))
            qFatal("%s", qPrintable(problem));
        loads.append(since(timer));
    }
    std::printf("history of 200 x 10,000   listing %7.1f ms   (goal: < 200 ms)   one rename's files on demand "
                "%6.1f ms\n",
                BenchSupport::median(listings), BenchSupport::median(loads));
}
