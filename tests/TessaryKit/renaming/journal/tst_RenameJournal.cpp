#include "KitTestSupport.h"
#include "RenameMixes.h"
#include "StoredJournal.h"
#include "TestFolder.h"
#include "platform/NonReplacingMover.h"
#include "renaming/journal/JournalCodec.h"
#include "renaming/journal/JournaledRename.h"
#include "renaming/journal/RenameHistory.h"
#include "renaming/journal/RenameRecovery.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int movesOfTheMix = 39; // 9 files park (two moves each), 21 move directly

using TestFolder::contents;
using TestFolder::create;

QString nameOf(const QString& path)
{
    return path.section(u'/', -1);
}

JournalEntry loaded(const JournalSummary& summary)
{
    QString problem;
    const auto entry = RenameJournal::load(summary.file, &problem);
    if (!entry)
        qFatal("%s", qPrintable(problem));
    return *entry;
}

// While it lives, no file of this process grows beyond `bytes`: a write past that fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : formerHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &former);
        const rlimit limited{bytes, former.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &former);
        std::signal(SIGXFSZ, formerHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit former{};
    void (*formerHandler)(int);
};

// The bytes of an entry's header and first chunk, as a rename of `operations` would store them.
qsizetype sizeOfFirstChunk(const QString& folder, const QList<RenameOperation>& operations)
{
    const auto probe = storedJournal(folder, operations);
    QFile file(probe.value().file);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("%s", qPrintable(file.errorString()));
    const QByteArray bytes = file.readAll();
    qsizetype offset = 0;
    if (!JournalCodec::readBlock(bytes, offset) || !JournalCodec::readBlock(bytes, offset))
        qFatal("The probe's entry has no first chunk");
    file.remove();
    return offset;
}

} // namespace

class tst_RenameJournal : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> scratch;
    QString files;
    QString journal;
    NonReplacingMover mover;

    QStringList recovered(const JournalEntry& entry, bool forward)
    {
        return RenameRecovery::recover(
            entry, forward ? RenameRecovery::Direction::Forward : RenameRecovery::Direction::Rollback, mover);
    }

    // Files f0, f1, … made in `files`, each to be renamed to g0, g1, …
    QList<RenameOperation> renamesOfNewFiles(int count) const
    {
        QStringList sources;
        QList<RenameOperation> operations;
        for (int i = 0; i < count; ++i) {
            sources.append(u"f%1"_s.arg(i));
            operations.append({sources.last(), files + u"/f%1"_s.arg(i), files + u"/g%1"_s.arg(i)});
        }
        create(files, sources);
        return operations;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(useEnglishCatalogue()); }

    void init()
    {
        scratch.emplace();
        files = scratch->filePath(u"files"_s);
        journal = scratch->filePath(u"journal"_s);
        QVERIFY(QDir().mkpath(files));
    }

    // Killed after every possible number of moves, the rename is recovered to one consistent side.
    void crashAtEveryMoveIsRecovered_data()
    {
        QTest::addColumn<int>("moves");
        QTest::addColumn<bool>("forward");
        for (int moves = 0; moves <= movesOfTheMix; ++moves) {
            QTest::addRow("killed after %d moves, rolled back", moves) << moves << false;
            QTest::addRow("killed after %d moves, rolled forward", moves) << moves << true;
        }
    }
    void crashAtEveryMoveIsRecovered()
    {
        QFETCH(int, moves);
        QFETCH(bool, forward);
        const QList<RenameOperation> operations = RenameMixes::renameMix(files);
        QStringList sources;
        for (const RenameOperation& operation : operations)
            sources.append(nameOf(operation.source));
        create(files, sources);

        QProcess crash;
        crash.start(QStringLiteral(TESSARY_CRASH_RENAMER), {files, journal, QString::number(moves)});
        QVERIFY(crash.waitForFinished(60'000));
        const bool killed = moves < movesOfTheMix;
        QCOMPARE(crash.exitStatus(), killed ? QProcess::CrashExit : QProcess::NormalExit);

        const RenameJournal::Contents found = RenameJournal::scan(journal);
        QCOMPARE(found.incomplete.size(), killed ? 1 : 0);
        QCOMPARE(found.unreadable, QStringList{});
        if (killed)
            QCOMPARE(recovered(found.incomplete.first(), forward), QStringList{});

        QMap<QString, QString> expected;
        for (const RenameOperation& operation : operations)
            expected.insert(nameOf(forward || !killed ? operation.destination : operation.source),
                            nameOf(operation.source));
        QCOMPARE(contents(files), expected); // every file on one side, nothing parked, nothing lost
        QCOMPARE(RenameJournal::scan(journal).incomplete.size(), 0);
        QCOMPARE(RenameHistory::list(journal).size(), forward || !killed ? 1 : 0);
    }

    void damagedEntriesAreSkipped()
    {
        create(files, {u"a"_s});
        const auto entry = storedJournal(journal, {{u"a"_s, files + u"/a"_s, files + u"/b"_s}});
        QVERIFY(entry);
        QFile written(entry->file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QByteArray flipped = bytes;
        flipped[bytes.size() / 2] = char(~flipped[bytes.size() / 2]);
        const std::pair<QString, QByteArray> damaged[] = {
            {u"1-truncated.journal"_s, bytes.first(20)}, // inside the header
            {u"2-flipped.journal"_s, flipped},
            {u"3-empty.journal"_s, QByteArray()},
            {u"4-truncated.done"_s, bytes.first(20)},
        };
        for (const auto& [name, content] : damaged) {
            QFile file(journal + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const RenameJournal::Contents found = RenameJournal::scan(journal);
        QCOMPARE(found.unreadable.size(), 3);
        QVERIFY(
            found.unreadable.first().startsWith(u"The rename journal entry “3-empty.journal” was skipped"_s));
        QCOMPARE(found.incomplete.size(), 1);
        QCOMPARE(found.incomplete.first().file, entry->file);
        // A finished entry is not read to find the unfinished ones; the history tells of its damage.
        QStringList problems;
        RenameHistory::list(journal, &problems);
        QVERIFY(problems.size() >= 2); // the flipped entry reads whole without its operations
        QVERIFY(problems.first().startsWith(u"The rename journal entry “4-truncated.done” was skipped"_s));
    }

    // A crash while the journal stored a later chunk of a large rename leaves that block cut short: its
    // moves never began, and the recovery's own blocks take the place of the torn bytes.
    void aBlockCutShortEndsTheOperations_data()
    {
        QTest::addColumn<bool>("forward");
        QTest::addRow("rolled back") << false;
        QTest::addRow("rolled forward") << true;
    }
    void aBlockCutShortEndsTheOperations()
    {
        QFETCH(bool, forward);
        constexpr int count = 300, firstChunk = 256, moved = 10;
        const QList<RenameOperation> operations = renamesOfNewFiles(count);
        const auto entry = storedJournal(journal, operations);
        QVERIFY(entry);
        QCOMPARE(entry->operations.size(), count);
        QFile stored(entry->file);
        QVERIFY(stored.resize(stored.size() - 100));
        for (int i = 0; i < moved; ++i)
            QVERIFY(QFile::rename(operations[i].source, operations[i].destination));

        const RenameJournal::Contents found = RenameJournal::scan(journal);
        QCOMPARE(found.unreadable, QStringList{});
        QCOMPARE(found.incomplete.size(), 1);
        QCOMPARE(found.incomplete.first().operations.size(), firstChunk);
        QCOMPARE(recovered(found.incomplete.first(), forward), QStringList{});

        QMap<QString, QString> expected;
        for (int i = 0; i < count; ++i)
            expected.insert(forward && i < firstChunk ? u"g%1"_s.arg(i) : u"f%1"_s.arg(i), u"f%1"_s.arg(i));
        QCOMPARE(contents(files), expected);
        const RenameJournal::Contents after = RenameJournal::scan(journal);
        QCOMPARE(after.unreadable, QStringList{});
        QCOMPARE(after.incomplete.size(), 0);
        const QList<JournalSummary> history = RenameHistory::list(journal);
        QCOMPARE(history.size(), forward ? 1 : 0);
        if (forward) {
            const JournalEntry completed = loaded(history.first());
            QVERIFY(completed.complete);
            QCOMPARE(completed.operations.size(), firstChunk);
            QCOMPARE(history.first().renamed, firstChunk);
        }
    }

    // The moves of a stored chunk go on when a later one can't be stored; the later one's files keep their
    // names, each told why, and the entry holds only the files that moved.
    void aChunkThatCannotBeStoredKeepsItsFilesNames()
    {
        constexpr int count = 300, firstChunk = 256;
        const QList<RenameOperation> operations = renamesOfNewFiles(count);
        const qsizetype firstBlocks = sizeOfFirstChunk(journal, operations);
        QString error;
        std::optional<JournaledRename::Outcome> outcome;
        {
            const FileSizeLimit limit(rlim_t(firstBlocks) + 1); // the next block can't be stored whole
            outcome = JournaledRename::rename(operations, std::nullopt, journal, &error, mover);
        }
        QVERIFY2(outcome, qPrintable(error));

        QMap<QString, QString> expected;
        for (int i = 0; i < count; ++i)
            expected.insert(i < firstChunk ? u"g%1"_s.arg(i) : u"f%1"_s.arg(i), u"f%1"_s.arg(i));
        QCOMPARE(contents(files), expected);
        QCOMPARE(outcome->failures.size(), count - firstChunk);
        for (int i = firstChunk; i < count; ++i) {
            const QString failure = outcome->failures.value(operations[i].id);
            QVERIFY2(failure.startsWith(u"The rename journal can't be written ("_s) &&
                         failure.endsWith(u"), so this file was not renamed."_s),
                     qPrintable(operations[i].id + u": "_s + failure));
        }
        QVERIFY(!outcome->unrecorded); // the entry's name marks it done, without the completion block

        QCOMPARE(RenameJournal::scan(journal).incomplete.size(), 0);
        const QList<JournalSummary> history = RenameHistory::list(journal);
        QCOMPARE(history.size(), 1);
        QCOMPARE(history.first().renamed, firstChunk);
        const JournalEntry entry = loaded(history.first());
        QCOMPARE(entry.operations.size(), firstChunk);
        outcome = JournaledRename::undo(entry, journal, &error, mover);
        QVERIFY2(outcome && outcome->succeeded(), qPrintable(error));
        QCOMPARE(RenameHistory::list(journal).first().state(), JournalSummary::State::Undone);
        for (int i = 0; i < firstChunk; ++i)
            expected.insert(u"f%1"_s.arg(i), expected.take(u"g%1"_s.arg(i)));
        QCOMPARE(contents(files), expected);
    }

    void undoAfterRestart()
    {
        create(files, {u"a"_s, u"b"_s});
        QString error;
        auto outcome = JournaledRename::rename(
            {{u"a"_s, files + u"/a"_s, files + u"/b"_s}, {u"b"_s, files + u"/b"_s, files + u"/a"_s}},
            std::nullopt, journal, &error, mover);
        QVERIFY(outcome && outcome->failures.isEmpty());
        QCOMPARE(contents(files), (QMap<QString, QString>{{u"a"_s, u"b"_s}, {u"b"_s, u"a"_s}}));

        const QList<JournalSummary> found = RenameHistory::list(journal); // what a new process finds
        QCOMPARE(found.size(), 1);
        QCOMPARE(outcome->entry->file, found.first().file);
        QCOMPARE(found.first().state(), JournalSummary::State::Done);
        outcome = JournaledRename::undo(loaded(found.first()), journal, &error, mover);
        QVERIFY(outcome && outcome->failures.isEmpty());
        QCOMPARE(contents(files), (QMap<QString, QString>{{u"a"_s, u"a"_s}, {u"b"_s, u"b"_s}}));
        const QList<JournalSummary> after = RenameHistory::list(journal);
        QCOMPARE(after.size(), 1); // kept, to be redone
        QCOMPARE(after.first().state(), JournalSummary::State::Undone);
        QVERIFY(RenameJournal::scan(journal).incomplete.isEmpty());
    }

    void undoRefusesAReplacedFile()
    {
        create(files, {u"a"_s, u"c"_s});
        QString error;
        QVERIFY(JournaledRename::rename(
            {{u"a"_s, files + u"/a"_s, files + u"/b"_s}, {u"c"_s, files + u"/c"_s, files + u"/d"_s}},
            std::nullopt, journal, &error, mover));
        QVERIFY(QFile::remove(files + u"/b"_s));
        create(files, {u"b"_s}); // another file under the new name
        const auto outcome =
            JournaledRename::undo(loaded(RenameHistory::list(journal).first()), journal, &error, mover);
        QVERIFY(outcome);
        QCOMPARE(outcome->failures,
                 (FileRenamer::Failures{
                     {u"a"_s, u"“b” was replaced or changed since the rename, so it keeps that name."_s}}));
        QCOMPARE(contents(files), (QMap<QString, QString>{{u"b"_s, u"b"_s}, {u"c"_s, u"c"_s}}));
        const JournalSummary remaining = RenameHistory::list(journal).first(); // still to undo: a
        QCOMPARE(remaining.state(), JournalSummary::State::PartlyUndone);
        QCOMPARE(remaining.undone, 1);
        QCOMPARE(outcome->entry->file, remaining.file);
    }

    void unwritableJournalMovesNothing()
    {
        create(files, {u"a"_s, u"blocker"_s});
        QString error;
        const auto outcome =
            JournaledRename::rename({{u"a"_s, files + u"/a"_s, files + u"/b"_s}}, std::nullopt,
                                    files + u"/blocker/journal"_s, &error, mover);
        QVERIFY(!outcome);
        QVERIFY2(error.startsWith(u"The rename journal can't be locked ("_s) &&
                     error.endsWith(u"), so nothing was changed."_s),
                 qPrintable(error));
        QCOMPARE(contents(files), (QMap<QString, QString>{{u"a"_s, u"a"_s}, {u"blocker"_s, u"blocker"_s}}));
    }

    // A file gone between planning and renaming can't be found again after a crash: its rotation stays,
    // an independent rename proceeds.
    void vanishedFileHoldsBackItsGroupOnly()
    {
        create(files, {u"a"_s, u"b"_s, u"x"_s});
        QString error;
        const auto outcome = JournaledRename::rename({{u"a"_s, files + u"/a"_s, files + u"/b"_s},
                                                      {u"b"_s, files + u"/b"_s, files + u"/c"_s},
                                                      {u"c"_s, files + u"/c"_s, files + u"/a"_s},
                                                      {u"x"_s, files + u"/x"_s, files + u"/y"_s}},
                                                     std::nullopt, journal, &error, mover);
        QVERIFY2(outcome, qPrintable(error));
        QCOMPARE(
            outcome->failures,
            (FileRenamer::Failures{{u"c"_s, u"“c” couldn't be renamed to “a” because it no longer exists."_s},
                                   {u"a"_s, u"“a” kept its name because “c” couldn't be renamed."_s},
                                   {u"b"_s, u"“b” kept its name because “c” couldn't be renamed."_s}}));
        QCOMPARE(contents(files),
                 (QMap<QString, QString>{{u"a"_s, u"a"_s}, {u"b"_s, u"b"_s}, {u"y"_s, u"x"_s}}));
        QVERIFY(RenameJournal::scan(journal).incomplete.isEmpty());
        const JournalSummary found = RenameHistory::list(journal).first();
        QCOMPARE(found.renamed, 1);
        QCOMPARE(loaded(found).operations.size(), 1); // only x's move, the one to give back
    }
};

QTEST_GUILESS_MAIN(tst_RenameJournal)
#include "tst_RenameJournal.moc"
