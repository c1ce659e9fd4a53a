#include "KitTestSupport.h"
#include "TestFolder.h"
#include "platform/FileLookup.h"
#include "platform/NonReplacingMover.h"
#include "renaming/journal/JournaledRename.h"
#include "renaming/journal/RenameHistory.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

using TestFolder::contents;
using Contents = QMap<QString, QString>;

// One undo or redo of the rename with that number (1 is the oldest), and how many files it must refuse.
struct Step {
    bool undo;
    int rename;
    int refused;
};

// Every step reads the journal afresh, as a new process would.
JournalEntry loaded(const JournalSummary& summary)
{
    QString problem;
    const auto entry = RenameJournal::load(summary.file, &problem);
    if (!entry)
        qFatal("%s", qPrintable(problem));
    return *entry;
}

// An entry file under a name that dates it `daysAgo`, with the bytes of `model`.
void copyDated(const QString& model, const QString& folder, double daysAgo, const QString& suffix)
{
    const qint64 created = QDateTime::currentMSecsSinceEpoch() - qint64(daysAgo * 86'400'000);
    const QString name = u"%1-%2%3"_s.arg(created, 15, 10, QChar(u'0'))
                             .arg(QUuid::createUuid().toString(QUuid::WithoutBraces), suffix);
    QVERIFY(QFile::copy(model, folder + u'/' + name));
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class tst_RenameHistory : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> scratch;
    QString files;
    QString journal;
    NonReplacingMover mover;

    QString path(const QString& name) const { return files + u'/' + name; }

    JournalSummary renameOf(const QList<std::pair<QString, QString>>& moves, const QString& pattern)
    {
        QList<RenameOperation> operations;
        for (const auto& [from, to] : moves)
            operations.append({path(from), path(from), path(to)});
        QString error;
        const auto outcome = JournaledRename::rename(
            operations, RenameRules{{}, {}, pattern, false, u"name"_s, false}, journal, &error, mover);
        if (!outcome || !outcome->succeeded())
            qFatal("The rename failed: %s", qPrintable(error));
        return RenameHistory::list(journal).first();
    }

    // The entry of the rename with that number, read from the journal now.
    JournalEntry entryOf(int rename) const
    {
        const QList<JournalSummary> history = RenameHistory::list(journal);
        return loaded(history[history.size() - rename]);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(useEnglishCatalogue()); }

    void init()
    {
        scratch.emplace();
        files = scratch->filePath(u"files"_s);
        journal = scratch->filePath(u"journal"_s);
        QVERIFY(QDir().mkpath(files));
        QVERIFY(QDir().mkpath(journal));
    }

    // Three renames that move some files twice or three times. Undoing an older rename gives back only the
    // files no later rename took, and says which to undo first; undoing in the right order then succeeds.
    void overlappingRenamesUndoneInAnyOrder_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<Contents>("expected");
        const Contents original{{u"a"_s, u"a"_s}, {u"b"_s, u"b"_s}, {u"c"_s, u"c"_s}, {u"d"_s, u"d"_s}};
        const Contents renamed{{u"a3"_s, u"a"_s}, {u"b3"_s, u"b"_s}, {u"c2"_s, u"c"_s}, {u"d3"_s, u"d"_s}};
        QTest::newRow("newest first") << QList<Step>{{true, 3, 0}, {true, 2, 0}, {true, 1, 0}} << original;
        QTest::newRow("oldest first")
            << QList<Step>{{true, 1, 2}, {true, 2, 1}, {true, 3, 0}}
            << Contents{{u"a2"_s, u"a"_s}, {u"b1"_s, u"b"_s}, {u"c"_s, u"c"_s}, {u"d"_s, u"d"_s}};
        QTest::newRow("oldest first, then again in the order asked for")
            << QList<Step>{{true, 1, 2}, {true, 2, 1}, {true, 3, 0}, {true, 2, 0}, {true, 1, 0}} << original;
        QTest::newRow("middle first")
            << QList<Step>{{true, 2, 1}, {true, 3, 0}, {true, 1, 1}}
            << Contents{{u"a2"_s, u"a"_s}, {u"b"_s, u"b"_s}, {u"c"_s, u"c"_s}, {u"d"_s, u"d"_s}};
        QTest::newRow("undo, redo, undo again")
            << QList<Step>{{true, 3, 0}, {false, 3, 0}, {true, 3, 0}}
            << Contents{{u"a2"_s, u"a"_s}, {u"b1"_s, u"b"_s}, {u"c2"_s, u"c"_s}, {u"d"_s, u"d"_s}};
        QTest::newRow("redo of an older rename waits for the newer one")
            << QList<Step>{{true, 3, 0}, {true, 2, 0}, {false, 3, 1}, {false, 2, 0}, {false, 3, 0}}
            << renamed;
        QTest::newRow("undo of an older rename after the newer one's redo")
            << QList<Step>{{true, 3, 0}, {true, 2, 0}, {false, 2, 0}, {false, 3, 0}, {true, 1, 2}} << renamed;
        QTest::newRow("redo of a rename never undone moves nothing") << QList<Step>{{false, 2, 0}} << renamed;
    }
    void overlappingRenamesUndoneInAnyOrder()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(Contents, expected);
        TestFolder::create(files, {u"a"_s, u"b"_s, u"c"_s, u"d"_s});
        renameOf({{u"a"_s, u"a1"_s}, {u"b"_s, u"b1"_s}}, u"first"_s);
        renameOf({{u"a1"_s, u"a2"_s}, {u"c"_s, u"c2"_s}}, u"second"_s);
        renameOf({{u"a2"_s, u"a3"_s}, {u"b1"_s, u"b3"_s}, {u"d"_s, u"d3"_s}}, u"third"_s);

        for (const Step& step : steps) {
            const JournalEntry entry = entryOf(step.rename);
            QString error;
            const auto outcome = step.undo ? JournaledRename::undo(entry, journal, &error, mover)
                                           : JournaledRename::redo(entry, journal, &error, mover);
            QVERIFY2(outcome, qPrintable(error));
            QVERIFY2(outcome->stranded.isEmpty() && !outcome->unrecorded, "left files between names");
            QCOMPARE(outcome->failures.size(), step.refused);
        }
        QCOMPARE(contents(files), expected);
        QCOMPARE(RenameHistory::list(journal).size(), 3);
        QVERIFY(RenameJournal::scan(journal).incomplete.isEmpty());
    }

    void refusalsSayWhatToUndoFirst()
    {
        TestFolder::create(files, {u"a"_s, u"b"_s});
        renameOf({{u"a"_s, u"a1"_s}, {u"b"_s, u"b1"_s}}, u"first"_s);
        renameOf({{u"a1"_s, u"a2"_s}}, u"second"_s);
        QFile::remove(path(u"b1"_s));
        TestFolder::create(files, {u"b1"_s}); // another file under the first rename's name

        QString error;
        auto outcome = JournaledRename::undo(entryOf(1), journal, &error, mover);
        QVERIFY(outcome);
        QCOMPARE(
            outcome->failures,
            (FileRenamer::Failures{
                {path(u"a"_s), u"“a1” was renamed again later; undo that rename first."_s},
                {path(u"b"_s), u"“b1” was replaced or changed since the rename, so it keeps that name."_s}}));
        QCOMPARE(RenameHistory::list(journal).last().state(), JournalSummary::State::Done);

        QVERIFY(JournaledRename::undo(entryOf(2), journal, &error, mover)->succeeded());
        renameOf({{u"a1"_s, u"z"_s}}, u"third"_s); // takes the file whose new name the undo gave back
        outcome = JournaledRename::redo(entryOf(2), journal, &error, mover);
        QCOMPARE(outcome->failures,
                 (FileRenamer::Failures{
                     {path(u"a1"_s), u"“a1” was renamed again later; undo that rename first."_s}}));
        QCOMPARE(contents(files), (Contents{{u"b1"_s, u"b1"_s}, {u"z"_s, u"a"_s}}));
        QVERIFY(JournaledRename::undo(entryOf(3), journal, &error, mover)->succeeded());
        QVERIFY(JournaledRename::undo(entryOf(1), journal, &error, mover)); // a1 back to a
        outcome = JournaledRename::redo(entryOf(2), journal, &error, mover);
        QCOMPARE(
            outcome->failures,
            (FileRenamer::Failures{{path(u"a1"_s), u"“a1” got its old name back from the undo of an earlier "
                                                   u"rename; redo that rename first."_s}}));
    }

    // A name taken since the undo stops that file's redo only; nothing is overwritten.
    void redoNeverOverwrites()
    {
        TestFolder::create(files, {u"a"_s, u"b"_s});
        renameOf({{u"a"_s, u"a1"_s}, {u"b"_s, u"b1"_s}}, u"first"_s);
        QString error;
        QVERIFY(JournaledRename::undo(entryOf(1), journal, &error, mover)->succeeded());
        TestFolder::create(files, {u"a1"_s});
        const auto outcome = JournaledRename::redo(entryOf(1), journal, &error, mover);
        QVERIFY(outcome);
        QCOMPARE(outcome->failures.keys(), QStringList{path(u"a"_s)});
        QCOMPARE(contents(files), (Contents{{u"a"_s, u"a"_s}, {u"a1"_s, u"a1"_s}, {u"b1"_s, u"b"_s}}));
        const JournalSummary summary = RenameHistory::list(journal).first();
        QCOMPARE(summary.state(), JournalSummary::State::PartlyUndone);
        QCOMPARE(summary.undone, 1);
    }

    // Enough files that an undo looks them up on two threads: a file in each half that is not where the
    // rename left it is decided as it would be alone.
    void largeUndoDecidesEveryFileInItsPlace()
    {
        constexpr int count = 5'000;
        QStringList names;
        QList<std::pair<QString, QString>> moves;
        for (int i = 0; i < count; ++i) {
            names.append(u"f%1"_s.arg(i));
            moves.append({names.last(), u"g%1"_s.arg(i)});
        }
        TestFolder::create(files, names);
        renameOf(moves, u"large"_s);
        QVERIFY(QFile::rename(path(u"g10"_s), path(u"f10"_s))); // already back: nothing to move
        QVERIFY(QFile::remove(path(u"g4000"_s)));               // gone: refused
        QString error;
        const auto outcome = JournaledRename::undo(entryOf(1), journal, &error, mover);
        QVERIFY(outcome);
        QCOMPARE(outcome->failures.keys(), QStringList{path(u"f4000"_s)});
        const QMap<QString, QString> now = contents(files);
        QCOMPARE(now.size(), count - 1);
        QCOMPARE(now.value(u"f10"_s), u"f10"_s);
        QCOMPARE(now.value(u"f4999"_s), u"f4999"_s);
        QCOMPARE(RenameHistory::list(journal).first().undone, count - 1);
    }

    // The menu's Undo takes the newest rename with renamed files; Redo the one undone last, until a new
    // rename is made.
    void undoAndRedoTargets()
    {
        TestFolder::create(files, {u"a"_s, u"b"_s, u"c"_s});
        const JournalSummary first = renameOf({{u"a"_s, u"a1"_s}}, u"first"_s);
        const JournalSummary second = renameOf({{u"b"_s, u"b1"_s}}, u"second"_s);
        QCOMPARE(RenameHistory::undoTarget(RenameHistory::list(journal))->file, second.file);
        QVERIFY(!RenameHistory::redoTarget(RenameHistory::list(journal)));

        QString error;
        QVERIFY(JournaledRename::undo(entryOf(2), journal, &error, mover)->succeeded());
        QTest::qWait(2); // the two undos get distinct times
        QVERIFY(JournaledRename::undo(entryOf(1), journal, &error, mover)->succeeded());
        QList<JournalSummary> history = RenameHistory::list(journal);
        QVERIFY(!RenameHistory::undoTarget(history));
        QCOMPARE(RenameHistory::redoTarget(history)->file, first.file);
        QVERIFY(JournaledRename::redo(entryOf(1), journal, &error, mover)->succeeded());
        history = RenameHistory::list(journal);
        QCOMPARE(RenameHistory::redoTarget(history)->file, second.file);
        QCOMPARE(RenameHistory::undoTarget(history)->file, first.file);

        renameOf({{u"c"_s, u"c1"_s}}, u"third"_s);
        QVERIFY(!RenameHistory::redoTarget(RenameHistory::list(journal)));
        QCOMPARE(RenameHistory::find(RenameHistory::list(journal), second.id().left(5))->file, second.file);
    }

    void listingTellsRulesFoldersAndCounts()
    {
        TestFolder::create(files, {u"sub/c"_s, u"a"_s, u"sub/b"_s});
        renameOf({{u"sub/c"_s, u"sub/z"_s}, {u"a"_s, u"x"_s}, {u"sub/b"_s, u"sub/y"_s}}, u"{filename}-x"_s);
        const JournalSummary summary = RenameHistory::list(journal).first();
        QCOMPARE(summary.renamed, 3);
        QCOMPARE(summary.folders, (QStringList{files, files + u"/sub"_s}));
        QCOMPARE(RenameHistory::commonFolder(summary.folders), files);
        QCOMPARE(summary.rules->pattern, u"{filename}-x"_s);
        QCOMPARE(summary.id().size(), 8);
        QCOMPARE(summary.state(), JournalSummary::State::Done);
    }

    // Entries that former versions wrote: before rules were recorded (all in one block), and before the
    // operations were stored in chunks (one block after the header). Their files are named by absolute
    // path, so the test recreates them there, and rewrites the recorded identities to the new files' own.
    void entryOfAFormerFormatIsListedAndUndone_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("pattern");
        QTest::addRow("version 2") << u"001796741380684-95a96293-1ad3-478c-b6c3-94a4c473c0fe.done"_s
                                   << u"95a96293"_s << QString();
        QTest::addRow("version 3") << u"001796867985955-fd571766-bbb1-4f0c-9fb1-1c81435b0add.done"_s
                                   << u"fd571766"_s << u"holiday-{n}"_s;
    }
    void entryOfAFormerFormatIsListedAndUndone()
    {
        QFETCH(QString, file);
        QFETCH(QString, id);
        QFETCH(QString, pattern);
        const QString folder = u"/tmp/tessary-journal-fixture"_s;
        QDir(folder).removeRecursively();
        QVERIFY(QDir().mkpath(folder));
        const QString model = QStringLiteral(TESSARY_JOURNAL_DATA) + u'/' + file;
        QFile input(model);
        QVERIFY(input.open(QIODevice::ReadOnly));
        QString problem;
        const auto recorded = RenameJournal::load(model, &problem);
        QVERIFY2(recorded, qPrintable(problem));
        QCOMPARE(recorded->operations.size(), 3);
        QCOMPARE(recorded->rules.has_value(), !pattern.isEmpty());

        QHash<QByteArray, QByteArray> identities; // as recorded, to the recreated file's
        for (const JournalOperation& operation : recorded->operations) {
            const QString& renamed = operation.operation.destination;
            TestFolder::create(folder, {renamed.section(u'/', -1)});
            const auto identityBytes = [](const FileIdentity& identity) {
                QByteArray encoded;
                QDataStream(&encoded, QIODevice::WriteOnly)
                    << identity.device << identity.inode << identity.lifeStamp;
                return encoded;
            };
            identities.insert(identityBytes(*operation.identity),
                              identityBytes(*FileLookup::identityOf(renamed)));
        }
        QFile output(journal + u'/' + file);
        QVERIFY(output.open(QIODevice::WriteOnly));
        const QByteArray bytes = input.readAll();
        for (qsizetype offset = 0; offset < bytes.size();) { // each block: length, payload, checksum
            quint32 length = 0;
            QDataStream(bytes.sliced(offset, 4)) >> length;
            QByteArray payload = bytes.sliced(offset + 4, length);
            for (auto it = identities.cbegin(); it != identities.cend(); ++it)
                payload.replace(it.key(), it.value());
            output.write(bytes.sliced(offset, 4) + payload +
                         QCryptographicHash::hash(payload, QCryptographicHash::Blake2b_256));
            offset += 4 + length + 32;
        }
        output.close();

        const JournalSummary summary = RenameHistory::list(journal).first();
        QCOMPARE(summary.id(), id);
        QCOMPARE(summary.renamed, 3);
        QCOMPARE(summary.folders, QStringList{folder});
        QCOMPARE(summary.rules ? summary.rules->pattern : QString(), pattern);
        QCOMPARE(summary.state(), JournalSummary::State::Done);

        QString error;
        const auto outcome = JournaledRename::undo(loaded(summary), journal, &error, mover);
        QVERIFY2(outcome && outcome->succeeded(), qPrintable(error));
        QCOMPARE(contents(folder), (Contents{{u"IMG_1.jpg"_s, u"holiday-1.jpg"_s},
                                             {u"IMG_2.jpg"_s, u"holiday-2.jpg"_s},
                                             {u"IMG_3.jpg"_s, u"holiday-3.jpg"_s}}));
        QCOMPARE(RenameHistory::list(journal).first().state(), JournalSummary::State::Undone);
        QVERIFY(JournaledRename::redo(entryOf(1), journal, &error, mover)->succeeded());
        QCOMPARE(RenameHistory::list(journal).first().state(), JournalSummary::State::Done);
        QDir(folder).removeRecursively();
    }

    // Kept: the newest 200 finished renames, and any younger than 90 days; never an interrupted one.
    void pruningKeepsTheNewestAndTheYoung_data()
    {
        QTest::addColumn<int>("old");
        QTest::addColumn<int>("young");
        QTest::addColumn<int>("kept");
        QTest::newRow("few") << 3 << 2 << 5;
        QTest::newRow("old beyond the newest 200") << 198 << 5 << 200;
        QTest::newRow("all young") << 0 << 230 << 230;
    }
    void pruningKeepsTheNewestAndTheYoung()
    {
        QFETCH(int, old);
        QFETCH(int, young);
        QFETCH(int, kept);
        TestFolder::create(files, {u"a"_s});
        const QString model = renameOf({{u"a"_s, u"b"_s}}, u"x"_s).file;
        const QString entryBytes = scratch->filePath(u"entry"_s);
        QVERIFY(QFile::rename(model, entryBytes));
        for (int i = 0; i < old; ++i)
            copyDated(entryBytes, journal, 100 + i * 0.01, u".done"_s);
        for (int i = 0; i < young; ++i)
            copyDated(entryBytes, journal, i * 0.01, u".done"_s);
        copyDated(entryBytes, journal, 400, u".journal"_s); // interrupted long ago

        RenameHistory::prune(journal, QDateTime::currentMSecsSinceEpoch());
        QCOMPARE(QDir(journal).entryList({u"*.done"_s}, QDir::Files).size(), kept);
        QCOMPARE(QDir(journal).entryList({u"*.journal"_s}, QDir::Files).size(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_RenameHistory)
#include "tst_RenameHistory.moc"
