#include "KitTestSupport.h"
#include "TestFolder.h"
#include "planning/RenameSession.h"
#include "renaming/journal/RenameHistory.h"

#include <QTemporaryDir>
#include <QTest>
#include <future>

using namespace Qt::StringLiterals;

namespace {

const JSEngineClient engine{QStringLiteral(TESSARY_JSENGINE_PATH)};

// Records every announcement, as "added 0-1", "changed 2-3", so that a test can compare the sequence.
class RecordingObserver : public RenameSession::Observer {
public:
    QStringList calls;

    void filesAboutToBeAdded(qsizetype first, qsizetype last) override { record(u"add"_s, first, last); }
    void filesAdded() override { calls.append(u"added"_s); }
    void filesAboutToBeRemoved(qsizetype first, qsizetype last) override { record(u"remove"_s, first, last); }
    void filesRemoved() override { calls.append(u"removed"_s); }
    void filesAboutToBeCleared() override { calls.append(u"clear"_s); }
    void filesCleared() override { calls.append(u"cleared"_s); }
    void filesAboutToBeReordered() override { calls.append(u"reorder"_s); }
    void filesReordered() override { calls.append(u"reordered"_s); }
    void filesChanged(qsizetype first, qsizetype last) override { record(u"changed"_s, first, last); }

private:
    void record(const QString& what, qsizetype first, qsizetype last)
    {
        calls.append(u"%1 %2-%3"_s.arg(what).arg(first).arg(last));
    }
};

} // namespace

class tst_RenameSession : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> folder;

    QString path(const QString& name) const { return folder->filePath(name); }
    QString journal() const { return folder->filePath(u".journal"_s); }

    // A session over the files of the test folder named `names`, created on disk, with `pattern`.
    std::unique_ptr<RenameSession> sessionOver(const QStringList& names, const QString& pattern,
                                               bool reversed = false) const
    {
        TestFolder::create(folder->path(), names);
        auto session = std::make_unique<RenameSession>(
            journal(), RenameRules{QString(), QString(), pattern, reversed, u"name"_s, false});
        QStringList paths;
        QList<Fields> fields;
        for (const QString& name : names) {
            paths.append(path(name));
            fields.append(Fields{{u"filename"_s, QFileInfo(name).completeBaseName()}});
        }
        session->add(paths, fields);
        return session;
    }

    static void plan(RenameSession& session)
    {
        const RenameSession::PlanJob job = session.planJob();
        auto planned = std::async(std::launch::async, [&] {
                           return RenameSession::plan(job, engine, RenameSession::defaultScriptTimeout);
                       }).get();
        QVERIFY(planned);
        session.applyPlan(job, *planned);
    }

    static RenameSession::MoveResult run(RenameSession& session, const RenameSession::MoveJob& job)
    {
        const RenameSession::MoveResult result =
            std::async(std::launch::async, [&] { return RenameSession::move(job); }).get();
        session.finish(job, result);
        return result;
    }

    // The names of the session's files in plan order, as the first folder level and name ("x/a.txt").
    QStringList namesInPlanOrder(const RenameSession& session) const
    {
        QStringList names;
        for (const qsizetype position : session.planOrder())
            names.append(QDir(folder->path()).relativeFilePath(session.at(position).path));
        return names;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(useEnglishCatalogue()); }

    void init()
    {
        folder.emplace();
        QVERIFY(folder->isValid());
    }

    // Two files of the same name in two folders are numbered by path whatever the order they were added
    // in, and the plan order lists them so.
    void sameNameInTwoFoldersFollowsThePlan_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<QStringList>("expected");

        const QStringList sorted{u"x/a.txt"_s, u"y/a.txt"_s, u"x/b.txt"_s};
        QTest::newRow("added in order") << sorted << false << sorted;
        QTest::newRow("added backwards")
            << QStringList{u"x/b.txt"_s, u"y/a.txt"_s, u"x/a.txt"_s} << false << sorted;
        QTest::newRow("descending") << QStringList{u"y/a.txt"_s, u"x/a.txt"_s, u"x/b.txt"_s} << true
                                    << QStringList{u"x/b.txt"_s, u"x/a.txt"_s, u"y/a.txt"_s};
    }
    void sameNameInTwoFoldersFollowsThePlan()
    {
        QFETCH(QStringList, added);
        QFETCH(bool, reversed);
        QFETCH(QStringList, expected);
        const auto session = sessionOver(added, u"{row}"_s, reversed);
        plan(*session);
        QCOMPARE(namesInPlanOrder(*session), expected);
        for (qsizetype row = 0; row < expected.size(); ++row) {
            const FileRecord& file = session->at(session->planOrder()[size_t(row)]);
            QCOMPARE(file.row, row + 1);
            QCOMPARE(file.resultName, QString::number(row + 1) + u".txt"_s);
        }
        QCOMPARE(session->planReversed(), reversed);
    }

    // Under "listed", the order the user puts the files in numbers them, at once and in the next plan.
    void reorderingRenumbersUnderListedOrder_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<QStringList>("shownAtOnce"); // plan order right after the reorder
        QTest::addColumn<QStringList>("planned");

        const QStringList byName{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("listed") << u"listed"_s << false << QStringList{u"c"_s, u"a"_s, u"b"_s}
                                << QStringList{u"c"_s, u"a"_s, u"b"_s};
        QTest::newRow("listed, reversed") << u"listed"_s << true << QStringList{u"b"_s, u"a"_s, u"c"_s}
                                          << QStringList{u"b"_s, u"a"_s, u"c"_s};
        QTest::newRow("by name the list order doesn't count") << u"name"_s << false << byName << byName;
    }
    void reorderingRenumbersUnderListedOrder()
    {
        QFETCH(QString, order);
        QFETCH(bool, reversed);
        QFETCH(QStringList, shownAtOnce);
        QFETCH(QStringList, planned);
        const auto session = sessionOver({u"a"_s, u"b"_s, u"c"_s}, u"{row}"_s, reversed);
        RenameRules rules = session->rules();
        rules.order = order;
        session->setRules(rules);
        plan(*session);
        RecordingObserver observer;
        session->setObserver(&observer);

        QVERIFY(session->reorder({2, 0, 1}));
        QCOMPARE(observer.calls, (QStringList{u"reorder"_s, u"reordered"_s}));
        QCOMPARE(namesInPlanOrder(*session), shownAtOnce);
        plan(*session);
        QCOMPARE(namesInPlanOrder(*session), planned);
        for (qsizetype row = 0; row < planned.size(); ++row)
            QCOMPARE(session->at(session->planOrder()[size_t(row)]).resultName, QString::number(row + 1));
    }

    void reorderTakesOnlyAPermutationThatChangesSomething_data()
    {
        QTest::addColumn<std::vector<qsizetype>>("positions");
        QTest::newRow("unchanged") << std::vector<qsizetype>{0, 1, 2};
        QTest::newRow("too short") << std::vector<qsizetype>{1, 0};
        QTest::newRow("twice the same") << std::vector<qsizetype>{1, 1, 0};
        QTest::newRow("out of range") << std::vector<qsizetype>{3, 1, 0};
        QTest::newRow("negative") << std::vector<qsizetype>{-1, 1, 0};
    }
    void reorderTakesOnlyAPermutationThatChangesSomething()
    {
        QFETCH(std::vector<qsizetype>, positions);
        const auto session = sessionOver({u"a"_s, u"b"_s, u"c"_s}, u"{row}"_s);
        RecordingObserver observer;
        session->setObserver(&observer);
        QVERIFY(!session->reorder(positions));
        QVERIFY(observer.calls.isEmpty());
        QCOMPARE(session->at(0).originalName(), u"a"_s);
    }

    void filesAddedAfterThePlanComeLast()
    {
        const auto session = sessionOver({u"b"_s, u"a"_s}, u"{row}"_s);
        plan(*session);
        TestFolder::create(folder->path(), {u"0"_s});
        session->add({path(u"0"_s), path(u"a"_s)}, {Fields{}, Fields{}}); // "a" is listed already
        QCOMPARE(session->size(), 3);
        QCOMPARE(namesInPlanOrder(*session), (QStringList{u"a"_s, u"b"_s, u"0"_s}));
        QCOMPARE(session->at(2).row, 0);
    }

    // A plan computed before a file was removed still reaches the files that remain.
    void planOutlivesARemoval()
    {
        const auto session = sessionOver({u"a"_s, u"b"_s, u"c"_s}, u"{filename}-new"_s);
        const RenameSession::PlanJob job = session->planJob();
        auto planned = RenameSession::plan(job, engine, RenameSession::defaultScriptTimeout);
        QVERIFY(planned);
        session->remove({path(u"a"_s)});
        session->applyPlan(job, *planned);
        QCOMPARE(session->size(), 2);
        QCOMPARE(session->at(0).resultName, u"b-new"_s);
        QCOMPARE(session->at(1).resultName, u"c-new"_s);
    }

    void renameBlocker_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("computing");
        QTest::addColumn<QString>("reason"); // empty: Rename is possible
        QTest::addColumn<bool>("starts");    // whether the session starts a rename (it knows no activity)

        QTest::newRow("no files") << QStringList() << u"x"_s << false << u"Add files to rename"_s << false;
        QTest::newRow("computing") << QStringList{u"a"_s} << u"x"_s << true
                                   << u"New names are being computed"_s << true;
        QTest::newRow("an error") << QStringList{u"a"_s, u"b"_s} << u"same"_s << false
                                  << u"Fix the errors in the file list first"_s << false;
        QTest::newRow("nothing changes")
            << QStringList{u"a"_s} << u"{filename}"_s << false << u"No file gets a new name"_s << false;
        QTest::newRow("ready") << QStringList{u"a"_s, u"b"_s} << u"{filename}-1"_s << false << QString()
                               << true;
    }
    void renameBlocker()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, pattern);
        QFETCH(bool, computing);
        QFETCH(QString, reason);
        QFETCH(bool, starts);
        const auto session = sessionOver(names, pattern);
        plan(*session);
        const auto activity = computing ? RenameSession::Activity::Computing : RenameSession::Activity::Idle;
        QCOMPARE(session->renameBlocker(activity).value_or(QString()), reason);
        QCOMPARE(session->startRename().has_value(), starts);
    }

    // A rename job concerns exactly the files that get new names.
    void aRenameConcernsTheFilesThatGetNewNames_data()
    {
        QTest::addColumn<QStringList>("newNames"); // of the files a, b, c
        QTest::addColumn<QStringList>("concerned");
        QTest::newRow("every file") << QStringList{u"x"_s, u"y"_s, u"z"_s}
                                    << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("one keeps its name")
            << QStringList{u"x"_s, u"b"_s, u"z"_s} << QStringList{u"a"_s, u"c"_s};
    }
    void aRenameConcernsTheFilesThatGetNewNames()
    {
        QFETCH(QStringList, newNames);
        QFETCH(QStringList, concerned);
        const QStringList names{u"a"_s, u"b"_s, u"c"_s};
        TestFolder::create(folder->path(), names);
        RenameSession session(journal(),
                              RenameRules{QString(), QString(), u"{new}"_s, false, u"name"_s, false});
        QList<Fields> fields;
        for (const QString& name : newNames)
            fields.append(Fields{{u"new"_s, name}});
        session.add({path(u"a"_s), path(u"b"_s), path(u"c"_s)}, fields);
        plan(session);
        const auto job = session.startRename();
        QVERIFY(job);
        QSet<QString> expected;
        QSet<QString> moved;
        for (const QString& name : concerned)
            expected.insert(path(name));
        for (const RenameOperation& operation : job->operations)
            moved.insert(operation.id);
        QCOMPARE(job->ids, expected);
        QCOMPARE(moved, expected);
    }

    void renameThenUndo()
    {
        const auto session = sessionOver({u"a.txt"_s, u"b.txt"_s, u"keep.txt"_s}, u"{filename}"_s);
        RenameRules rules = session->rules();
        rules.regex = u"(?<n>a|b)"_s;
        rules.pattern = u"{n}{n}"_s;
        QVERIFY(session->setRules(rules));
        QVERIFY(!session->setRules(rules));
        plan(*session);
        QCOMPARE(session->renameBlocker(RenameSession::Activity::Idle),
                 std::optional(u"Fix the errors in the file list first"_s)); // keep.txt doesn't match

        session->remove({path(u"keep.txt"_s)});
        plan(*session);
        const auto job = session->startRename();
        QVERIFY(job);
        QVERIFY(session->isMoving());
        QVERIFY(!session->acceptsFiles());
        QCOMPARE(RenameSession::foldersOf(*job), QStringList{folder->path()});
        const RenameSession::MoveResult renamed = run(*session, *job);
        QVERIFY2(renamed.outcome && renamed.outcome->succeeded(), qPrintable(renamed.error));
        QVERIFY(!session->isMoving() && session->anyRenamed() && session->canUndo());
        QCOMPARE(session->tally().renamed, 2);
        QCOMPARE(session->at(0).currentLocation(), path(u"aa.txt"_s));
        QCOMPARE(TestFolder::contents(folder->path()).value(u"aa.txt"_s), u"a.txt"_s);
        QCOMPARE(session->renameBlocker(RenameSession::Activity::Idle),
                 std::optional(u"Files were already renamed"_s));

        const auto undo = session->startUndo();
        QVERIFY(undo);
        QCOMPARE(undo->ids, (QSet<QString>{path(u"a.txt"_s), path(u"b.txt"_s)}));
        const RenameSession::MoveResult restored = run(*session, *undo);
        QVERIFY2(restored.outcome && restored.outcome->succeeded(), qPrintable(restored.error));
        QVERIFY(!session->anyRenamed() && session->acceptsFiles());
        QCOMPARE(TestFolder::contents(folder->path()).value(u"b.txt"_s), u"b.txt"_s);
        QCOMPARE(session->tally().renamed, 0);
    }

    // The moves are announced once, when the journal holds the job and before any file moves; a job that
    // moves nothing announces nothing.
    void movesBeginAfterTheJournalIsWritten_data()
    {
        QTest::addColumn<bool>("undoing");
        QTest::addColumn<bool>("filesGone");
        QTest::addColumn<int>("announcements");

        QTest::newRow("rename") << false << false << 1;
        QTest::newRow("undo") << true << false << 1;
        QTest::newRow("every file gone") << false << true << 0;
    }
    void movesBeginAfterTheJournalIsWritten()
    {
        QFETCH(bool, undoing);
        QFETCH(bool, filesGone);
        QFETCH(int, announcements);
        const QStringList names{u"a"_s, u"b"_s};
        const auto session = sessionOver(names, u"{filename}-new"_s);
        plan(*session);
        auto job = session->startRename();
        QVERIFY(job);
        if (undoing) {
            QVERIFY(run(*session, *job).outcome);
            job = session->startUndo();
            QVERIFY(job);
        }
        if (filesGone)
            for (const QString& name : names)
                QVERIFY(QFile::remove(path(name)));
        const auto files = [&] {
            QStringList names = TestFolder::contents(folder->path()).keys();
            names.removeOne(u".journal"_s);
            return names;
        };
        const QStringList before = files();
        // What the job's thread saw when it announced the moves, compared here on the test's thread.
        int announced = 0;
        qsizetype openEntries = 0;
        QStringList filesThen;
        const auto movesBegin = [&] {
            ++announced;
            openEntries = RenameJournal::scan(journal()).incomplete.size();
            filesThen = files();
        };
        const RenameSession::MoveResult result =
            std::async(std::launch::async, [&] { return RenameSession::move(*job, movesBegin); }).get();
        session->finish(*job, result);
        QVERIFY(result.outcome);
        QCOMPARE(result.outcome->succeeded(), !filesGone);
        QCOMPARE(announced, announcements);
        if (announced) {
            QCOMPARE(openEntries, 1);
            QCOMPARE(filesThen, before);
            QVERIFY(files() != before);
        }
    }

    // A file that could not be moved says why and keeps its name; the others are renamed.
    void failedMovesArePerFile()
    {
        const auto session = sessionOver({u"a"_s, u"b"_s}, u"{filename}-new"_s);
        plan(*session);
        const auto job = session->startRename();
        QVERIFY(job);
        QVERIFY(QFile::remove(path(u"b"_s))); // gone before the rename reaches it
        const RenameSession::MoveResult result = run(*session, *job);
        QVERIFY(result.outcome);
        QCOMPARE(result.outcome->failures.keys(), QStringList{path(u"b"_s)});
        QVERIFY(session->at(0).renamed && !session->at(0).operationError);
        QVERIFY(!session->at(1).renamed && session->at(1).operationError);
        QCOMPARE(session->tally().errors, 1);
        QVERIFY(session->anyRenamed());
    }

    void deniedFoldersMarkTheirFilesOnly()
    {
        const auto session = sessionOver({u"x/a"_s, u"y/b"_s}, u"{filename}-new"_s);
        plan(*session);
        const auto job = session->startRename();
        QVERIFY(job);
        session->deny(*job, {path(u"y"_s)});
        QVERIFY(!session->isMoving() && !session->anyRenamed());
        QCOMPARE(session->at(0).operationError, std::nullopt);
        QCOMPARE(session->at(1).operationError,
                 std::optional(u"Tessary doesn't have permission to rename files in this folder"_s));
        QVERIFY(QFile::exists(path(u"y/b"_s)));
        plan(*session); // a new plan clears what the operation said
        QCOMPARE(session->at(1).operationError, std::nullopt);
    }

    // A redo of the session's own rename after its undo shows the files under the names it gave them, even
    // when the plan changed in between; a rename of another session leaves the listed files alone.
    void redoOfTheOwnRenameFollowsTheFiles()
    {
        const auto session = sessionOver({u"a"_s, u"b"_s}, u"{filename}-1"_s);
        plan(*session);
        QVERIFY(run(*session, *session->startRename()).outcome);
        QVERIFY(run(*session, *session->startUndo()).outcome);
        RenameRules rules = session->rules();
        rules.pattern = u"{filename}-2"_s;
        session->setRules(rules);
        plan(*session);

        const JournalSummary summary = RenameHistory::list(journal()).first();
        QCOMPARE(summary.rules->pattern, u"{filename}-1"_s);
        const auto redo = session->startReversal(RenameSession::MoveJob::Kind::Redo, summary.file);
        QVERIFY(redo && session->isMoving());
        QCOMPARE(redo->ids, (QSet<QString>{path(u"a"_s), path(u"b"_s)}));
        const RenameSession::MoveResult redone = run(*session, *redo);
        QVERIFY2(redone.outcome && redone.outcome->succeeded(), qPrintable(redone.error));
        QVERIFY(session->anyRenamed());
        QCOMPARE(session->at(0).resultName, u"a-1"_s);
        QCOMPARE(session->at(0).currentLocation(), path(u"a-1"_s));

        const auto other = sessionOver({u"c"_s}, u"{filename}"_s);
        const auto foreign = other->startReversal(RenameSession::MoveJob::Kind::Undo, summary.file);
        QVERIFY(foreign && foreign->ids.isEmpty());
        QVERIFY(run(*other, *foreign).outcome->succeeded());
        QVERIFY(QFile::exists(path(u"a"_s)) && QFile::exists(path(u"b"_s)));
        QVERIFY(!other->anyRenamed());
    }

    void changesAreAnnouncedPerRunOfFiles()
    {
        const auto session = sessionOver({u"a"_s, u"b"_s, u"c"_s, u"d"_s}, u"{n}1"_s);
        RenameRules rules = session->rules();
        rules.regex = u"(?<n>[cd])"_s; // a and b don't match: the same error in both plans
        session->setRules(rules);
        RecordingObserver observer;
        session->setObserver(&observer);
        plan(*session); // rows are new for every file
        rules.pattern = u"{n}2"_s;
        session->setRules(rules);
        plan(*session);
        TestFolder::create(folder->path(), {u"e"_s});
        session->add({path(u"e"_s)}, {Fields{}});
        session->remove({path(u"b"_s), path(u"c"_s)});
        session->clear();
        QCOMPARE(observer.calls, (QStringList{u"changed 0-3"_s, u"changed 2-3"_s, u"add 4-4"_s, u"added"_s,
                                              u"remove 1-2"_s, u"removed"_s, u"clear"_s, u"cleared"_s}));
        QVERIFY(session->isEmpty());
        session->setObserver(nullptr);
    }
};

QTEST_GUILESS_MAIN(tst_RenameSession)
#include "tst_RenameSession.moc"
