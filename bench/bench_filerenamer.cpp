// FileRenamer against a bare renameat2 loop over the same names, side by side in one run:
//   10,000 direct renames in one folder;
//   a 10,000-file rotation, where every file goes through a temporary name;
//   10,000 direct renames through the rename journal, against the same without it.
#include "BenchSupport.h"
#include "platform/NonReplacingMover.h"
#include "renaming/FileRenamer.h"
#include "renaming/journal/JournaledRename.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int count = 10'000;

// Every measurement starts with the file system's journal committed, so that no run pays for the writes
// of the one before it (a journaled rename's sync would otherwise wait for them).
void settle()
{
    ::sync();
}

QList<RenameOperation> operations(const QString& folder, const QString& from, const QString& to, int shift)
{
    QList<RenameOperation> list;
    for (int i = 0; i < count; ++i) {
        const QString source = folder + u'/' + from + QString::number(i);
        // Identified by its path, as the file list and the command line do.
        list.append({source, source, folder + u'/' + to + QString::number((i + shift) % count)});
    }
    return list;
}

double millisecondsBare(const QList<RenameOperation>& list)
{
    QList<QByteArray> sources, destinations;
    for (const RenameOperation& operation : list) {
        sources.append(QFile::encodeName(operation.source));
        destinations.append(QFile::encodeName(operation.destination));
    }
    QElapsedTimer timer;
    settle();
    timer.start();
    for (qsizetype i = 0; i < list.size(); ++i)
        if (::renameat2(AT_FDCWD, sources[i].constData(), AT_FDCWD, destinations[i].constData(),
                        RENAME_NOREPLACE) != 0)
            qFatal("bare rename failed");
    return double(timer.nsecsElapsed()) / 1e6;
}

double millisecondsRenamer(const QList<RenameOperation>& list)
{
    QElapsedTimer timer;
    settle();
    timer.start();
    if (!FileRenamer::perform(list).failures.isEmpty())
        qFatal("FileRenamer failed");
    return double(timer.nsecsElapsed()) / 1e6;
}

double millisecondsJournaled(const QList<RenameOperation>& list, const QString& journal)
{
    NonReplacingMover mover;
    QString error;
    QElapsedTimer timer;
    settle();
    timer.start();
    const auto outcome = JournaledRename::rename(list, std::nullopt, journal, &error, mover);
    if (!outcome || !outcome->failures.isEmpty())
        qFatal("Journaled rename failed");
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main()
{
    QTemporaryDir folder;
    for (int i = 0; i < count; ++i)
        ::close(::open(QFile::encodeName(folder.filePath(u"f%1"_s.arg(i))).constData(), O_CREAT | O_WRONLY,
                       0644));

    const auto forward = operations(folder.path(), u"f"_s, u"g"_s, 0);
    const auto back = operations(folder.path(), u"g"_s, u"f"_s, 0);
    const auto rotation = operations(folder.path(), u"f"_s, u"f"_s, 1);
    QList<double> bare, direct, rotated, journaled;
    QTemporaryDir journal;
    for (int round = 0; round < 11; ++round) {
        bare.append(millisecondsBare(forward));
        millisecondsBare(back);
        direct.append(millisecondsRenamer(forward));
        millisecondsBare(back);
        rotated.append(millisecondsRenamer(rotation));
        millisecondsRenamer(operations(folder.path(), u"f"_s, u"f"_s, count - 1)); // rotate back
        journaled.append(millisecondsJournaled(forward, journal.path()));
        millisecondsBare(back);
    }
    std::printf("10,000 direct renames     FileRenamer %7.1f ms   bare renameat2 loop %7.1f ms   ratio "
                "%5.2fx   (goal: <= 1.5x)\n",
                BenchSupport::median(direct), BenchSupport::median(bare),
                BenchSupport::median(direct) / BenchSupport::median(bare));
    std::printf("10,000-file rotation      FileRenamer %7.1f ms   bare renameat2 loop %7.1f ms   ratio "
                "%5.2fx   (goal: <= 3x)\n",
                BenchSupport::median(rotated), BenchSupport::median(bare),
                BenchSupport::median(rotated) / BenchSupport::median(bare));
    std::printf("10,000 journaled renames  with journal %7.1f ms   without %7.1f ms   overhead %5.1f%%   "
                "(goal: <= 20%%)\n",
                BenchSupport::median(journaled), BenchSupport::median(direct),
                100 * (BenchSupport::median(journaled) / BenchSupport::median(direct) - 1));
}
