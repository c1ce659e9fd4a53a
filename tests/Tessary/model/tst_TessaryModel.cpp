#include "KitTestSupport.h"
#include "LogCapture.h"
#include "ScriptedFolderPanel.h"
#include "TestFolder.h"
#include "model/TessaryModel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

using namespace Qt::StringLiterals;
using TestFolder::contents;
using TestFolder::create;

class tst_TessaryModel : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;
    std::unique_ptr<QSettings> preferences;
    ScriptedFolderPanel panel;
    std::unique_ptr<FolderAccessManager> access;
    QString files; // the folder of the files to rename

    std::unique_ptr<TessaryModel> makeModel(bool sandboxed = false)
    {
        access = std::make_unique<FolderAccessManager>(*preferences, panel, sandboxed);
        return std::make_unique<TessaryModel>(*preferences,
                                              JSEngineClient(QStringLiteral(TESSARY_JSENGINE_PATH)), *access,
                                              root->filePath(u"journal"_s));
    }

    // Adds files of the test folder and waits until their plan is applied.
    bool addAndPlan(TessaryModel& model, const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names)
            paths.append(files + u'/' + name);
        model.addFiles(paths);
        return waitIdle(model);
    }

    static bool waitIdle(const TessaryModel& model)
    {
        return QTest::qWaitFor(
            [&] { return !model.isUpdating() && model.loadingCount() == 0 && !model.isRenaming(); }, 20'000);
    }

    // Signposts are logged on the worker threads: this waits for one to be captured.
    static bool waitForSignpost(const QString& start)
    {
        return QTest::qWaitFor(
            [&] {
                const QStringList lines = LogCapture::lines();
                return std::any_of(lines.begin(), lines.end(),
                                   [&](const QString& line) { return line.startsWith(start); });
            },
            20'000);
    }

    static QStringList resultNames(const TessaryModel& model)
    {
        QStringList names;
        for (const FileRecord& file : *model.files())
            names.append(file.resultName);
        return names;
    }

    static bool renameAndWait(TessaryModel& model)
    {
        std::optional<bool> result;
        model.rename([&](bool renamed) { result = renamed; });
        if (!QTest::qWaitFor([&] { return result.has_value(); }, 20'000))
            qFatal("rename never finished");
        return *result;
    }

    static void undoAndWait(TessaryModel& model)
    {
        bool finished = false;
        model.undo([&] { finished = true; });
        if (!QTest::qWaitFor([&] { return finished; }, 20'000))
            qFatal("undo never finished");
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(useEnglishCatalogue()); }

    void init()
    {
        root = std::make_unique<QTemporaryDir>();
        preferences = std::make_unique<QSettings>(root->filePath(u"preferences.ini"_s), QSettings::IniFormat);
        files = root->filePath(u"files"_s);
        QDir().mkpath(files);
        panel.answers.clear();
        panel.requests.clear();
    }

    void storedRules_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("absent") << QVariant() << u"{filename}"_s;
        QTest::newRow("text") << QVariant(u"{row}"_s) << u"{row}"_s;
        QTest::newRow("empty text") << QVariant(u""_s) << u""_s;
        QTest::newRow("a list") << QVariant(QStringList{u"a"_s, u"b"_s}) << u"{filename}"_s;
        QTest::newRow("bytes") << QVariant(QByteArray("{row}")) << u"{filename}"_s;
    }
    void storedRules()
    {
        QFETCH(QVariant, stored);
        if (stored.isValid())
            preferences->setValue(TessaryModel::resultPatternKey, stored);
        const auto model = makeModel();
        QFETCH(QString, pattern);
        QCOMPARE(model->resultPattern(), pattern);
        QCOMPARE(model->regexString(), QString());
        QCOMPARE(model->script(), QString());
    }

    // A new model takes the order and the numbering option the preferences kept; text that isn't an
    // order's, or no value, gives today's defaults.
    void theOrderAndTheNumberingOptionAreKept_data()
    {
        QTest::addColumn<QVariant>("order");
        QTest::addColumn<QVariant>("numbering");
        QTest::addColumn<QString>("expectedOrder");
        QTest::addColumn<bool>("expectedNumbering");
        QTest::newRow("nothing stored") << QVariant() << QVariant() << u"name"_s << false;
        QTest::newRow("stored") << QVariant(u"moddate,modtime"_s) << QVariant(true) << u"moddate,modtime"_s
                                << true;
        QTest::newRow("not text") << QVariant(3) << QVariant(false) << u"name"_s << false;
    }
    void theOrderAndTheNumberingOptionAreKept()
    {
        QFETCH(QVariant, order);
        QFETCH(QVariant, numbering);
        QFETCH(QString, expectedOrder);
        QFETCH(bool, expectedNumbering);
        if (order.isValid())
            preferences->setValue(TessaryModel::orderKey, order);
        if (numbering.isValid())
            preferences->setValue(TessaryModel::numberDuplicatesKey, numbering);
        const auto model = makeModel();
        QCOMPARE(model->order(), expectedOrder);
        QCOMPARE(model->numberDuplicates(), expectedNumbering);
    }

    // Shots that would all get one name: numbered in the order listed, and renamed in one go.
    void burstShotsRenameInOneGo()
    {
        auto model = makeModel();
        create(files, {u"c.jpg"_s, u"a.jpg"_s, u"b.jpg"_s});
        model->setResultPattern(u"shot"_s);
        model->setNumberDuplicates(true);
        model->setOrder(u"listed"_s);
        QVERIFY(addAndPlan(*model, {u"c.jpg"_s, u"a.jpg"_s, u"b.jpg"_s}));
        QCOMPARE(resultNames(*model), (QStringList{u"shot.jpg"_s, u"shot (2).jpg"_s, u"shot (3).jpg"_s}));
        QVERIFY(!model->renameDisabledReason());
        QVERIFY(renameAndWait(*model));
        QCOMPARE(contents(files).value(u"shot (3).jpg"_s), u"b.jpg"_s);
    }

    void aRuleChangeIsStoredAndAnnouncedOnce()
    {
        auto model = makeModel();
        create(files, {u"a.txt"_s});
        QVERIFY(addAndPlan(*model, {u"a.txt"_s}));
        QSignalSpy changed(model.get(), &TessaryModel::resultPatternChanged);
        QSignalSpy updating(model.get(), &TessaryModel::isUpdatingChanged);

        model->setResultPattern(u"{filename}"_s); // the value it has
        QCOMPARE(changed.size(), 0);
        QCOMPARE(updating.size(), 0);
        QVERIFY(!preferences->contains(TessaryModel::resultPatternKey));

        model->setResultPattern(u"{filename}-1"_s);
        QCOMPARE(changed.size(), 1);
        QVERIFY(model->isUpdating());
        QVERIFY(!preferences->contains(TessaryModel::resultPatternKey)); // stored after a pause
        QTRY_COMPARE(preferences->value(TessaryModel::resultPatternKey).toString(), u"{filename}-1"_s);
        QVERIFY(waitIdle(*model));
        QCOMPARE(resultNames(*model), QStringList{u"a-1.txt"_s});

        model->setResultPattern(u"{filename}-2"_s);
        model.reset(); // as when the window closes within the pause
        QCOMPARE(preferences->value(TessaryModel::resultPatternKey).toString(), u"{filename}-2"_s);
    }

    void aBurstOfEditsLeadsToOnePlan()
    {
        auto model = makeModel();
        create(files, {u"photo 12.jpg"_s});
        QVERIFY(addAndPlan(*model, {u"photo 12.jpg"_s}));
        model->setResultPattern(u"{n}"_s);
        QVERIFY(waitIdle(*model));

        const LogCapture log("org.tessary.Tessary.PointsOfInterest", true);
        for (const QString& text : {u"p"_s, u"ph"_s, u"pho"_s, u"phot"_s, u"photo (?P<n>\\d+)"_s}) {
            model->setRegexString(text);
            QCoreApplication::processEvents(); // typing: the loop runs between keystrokes, the pause does not
                                               // end
        }
        QVERIFY(waitIdle(*model));
        QCOMPARE(LogCapture::lines().filter(u"begin Plan names"_s).size(), 1);
        QCOMPARE(resultNames(*model), QStringList{u"12.jpg"_s});
        QCOMPARE(model->files()->at(0).fields.value(u"n"_s), u"12"_s);
    }

    void applyingRulesFromTheHistoryPlansOnce()
    {
        auto model = makeModel();
        create(files, {u"a 1.txt"_s});
        QVERIFY(addAndPlan(*model, {u"a 1.txt"_s}));
        const LogCapture log("org.tessary.Tessary.PointsOfInterest", true);
        model->applyRules(
            {u"a (?P<n>\\d)"_s, u"fields.n = fields.n * 2"_s, u"b{n}"_s, false, u"name"_s, false});
        QVERIFY(waitIdle(*model));
        QCOMPARE(LogCapture::lines().filter(u"begin Plan names"_s).size(), 1);
        QCOMPARE(resultNames(*model), QStringList{u"b2.txt"_s});
        QTRY_COMPARE(preferences->value(TessaryModel::scriptKey).toString(), u"fields.n = fields.n * 2"_s);
    }

    void aResultOvertakenByAnEditIsDropped()
    {
        auto model = makeModel();
        create(files, {u"a.txt"_s, u"b.txt"_s});
        QVERIFY(addAndPlan(*model, {u"a.txt"_s, u"b.txt"_s}));
        QStringList seen;
        connect(model->files(), &QAbstractItemModel::dataChanged, this, [&] { seen += resultNames(*model); });

        // A slow script: its plan is still running when the pattern changes.
        const LogCapture log("org.tessary.Tessary.PointsOfInterest", true);
        model->setScript(u"const end = Date.now() + 3000; while (Date.now() < end) {}"_s);
        model->setResultPattern(u"stale-{row}"_s);
        QVERIFY(waitForSignpost(u"begin Run script"_s));
        model->setScript(QString()); // the new plan is quick
        model->setResultPattern(u"fresh-{row}"_s);
        QVERIFY(waitIdle(*model));
        QCOMPARE(resultNames(*model), (QStringList{u"fresh-1.txt"_s, u"fresh-2.txt"_s}));
        QVERIFY2(seen.filter(u"stale"_s).isEmpty(), qPrintable(seen.join(u", "_s)));
    }

    void renameDisabledReason_data()
    {
        QTest::addColumn<QString>("regex");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("reason");
        QTest::newRow("an error") << u"x(?P<a>.*)"_s << u"{a}"_s
                                  << u"Fix the errors in the file list first"_s;
        QTest::newRow("no new name") << u""_s << u"{filename}"_s << u"No file gets a new name"_s;
        QTest::newRow("renamable") << u""_s << u"{filename}-2"_s << QString();
    }
    void renameDisabledReason()
    {
        auto model = makeModel();
        QCOMPARE(model->renameDisabledReason(), u"Add files to rename"_s);
        QFETCH(QString, regex);
        QFETCH(QString, pattern);
        model->setRegexString(regex);
        model->setResultPattern(pattern);
        create(files, {u"a.txt"_s, u"b.txt"_s});
        QVERIFY(addAndPlan(*model, {u"a.txt"_s}));
        model->addFiles({files + u"/b.txt"_s});
        QCOMPARE(model->renameDisabledReason(), u"New names are being computed"_s);
        QVERIFY(waitIdle(*model));
        QFETCH(QString, reason);
        QCOMPARE(model->renameDisabledReason().value_or(QString()), reason);
    }

    void addingStandardisesAndSkipsKnownFiles()
    {
        auto model = makeModel();
        create(files, {u"a.txt"_s, u"b.txt"_s, u"sub/c.txt"_s});
        QVERIFY(addAndPlan(*model, {u"a.txt"_s}));
        const LogCapture log("org.tessary.Tessary.App");
        model->addFiles({files + u"/a.txt"_s, files + u"/sub/../b.txt"_s, files + u"/./b.txt"_s,
                         files + u"/sub"_s, files + u"/b.txt"_s});
        QVERIFY(waitIdle(*model));
        QStringList ids;
        for (const FileRecord& file : *model->files())
            ids.append(file.id);
        QCOMPARE(ids, (QStringList{files + u"/a.txt"_s, files + u"/b.txt"_s, files + u"/sub"_s}));
        QCOMPARE(LogCapture::lines(), QStringList{u"Added 2 files"_s});
    }

    void renameAndUndoEndToEnd()
    {
        auto model = makeModel();
        create(files, {u"a.txt"_s, u"b.txt"_s, u"keep.txt"_s});
        model->setRegexString(u"(?P<n>[ab])|keep"_s);
        model->setResultPattern(u"{n}"_s); // a ↔ b swap; keep.txt would lose its name: keep it as is
        model->setScript(u"if (!fields.n) fields.n = fields.filename; "
                         u"else fields.n = fields.n == 'a' ? 'b' : 'a';"_s);
        QVERIFY(addAndPlan(*model, {u"a.txt"_s, u"b.txt"_s, u"keep.txt"_s}));
        QCOMPARE(resultNames(*model), (QStringList{u"b.txt"_s, u"a.txt"_s, u"keep.txt"_s}));

        QVERIFY(renameAndWait(*model));
        QVERIFY(model->isRenamed());
        QCOMPARE(contents(files),
                 (QMap<QString, QString>{
                     {u"a.txt"_s, u"b.txt"_s}, {u"b.txt"_s, u"a.txt"_s}, {u"keep.txt"_s, u"keep.txt"_s}}));
        QCOMPARE(model->files()->at(0).currentLocation(), files + u"/b.txt"_s);
        QCOMPARE(model->files()->at(2).renamed, false);
        QCOMPARE(model->renameDisabledReason(), u"Files were already renamed"_s);

        model->addFiles({files + u"/keep.txt"_s, root->filePath(u"preferences.ini"_s)}); // ignored now
        QCOMPARE(model->loadingCount(), 0);

        undoAndWait(*model);
        QVERIFY(!model->isRenamed());
        QVERIFY(model->isUpdating()); // the plan is shown again
        QCOMPARE(contents(files),
                 (QMap<QString, QString>{
                     {u"a.txt"_s, u"a.txt"_s}, {u"b.txt"_s, u"b.txt"_s}, {u"keep.txt"_s, u"keep.txt"_s}}));
        for (const FileRecord& file : *model->files())
            QVERIFY(!file.renamed && !file.operationError);
        QVERIFY(waitIdle(*model));
        QCOMPARE(model->files()->size(), 3);
    }

    void aRenameWithFailedMovesReportsThem()
    {
        auto model = makeModel();
        const QStringList names{u"1.txt"_s, u"2.txt"_s, u"3.txt"_s, u"4.txt"_s, u"5.txt"_s};
        create(files, names);
        model->setResultPattern(u"new-{filename}"_s);
        QVERIFY(addAndPlan(*model, names));
        QVERIFY(QFile::remove(files + u"/2.txt"_s)); // deleted between adding and renaming
        QVERIFY(QFile::remove(files + u"/4.txt"_s));

        QVERIFY(renameAndWait(*model));
        QVERIFY(model->isRenamed());
        QCOMPARE(model->operationProblem()->title, u"Some Files Weren't Renamed"_s);
        QCOMPARE(model->operationProblem()->message,
                 u"Files not renamed: 2 of 5. The reasons are shown in the file list."_s);
        QList<bool> renamed;
        for (const FileRecord& file : *model->files())
            renamed.append(file.renamed);
        QCOMPARE(renamed, (QList<bool>{true, false, true, false, true}));
        QVERIFY(model->files()->at(1).operationError.has_value());
        QCOMPARE(model->files()->at(1).shownError(), model->files()->at(1).operationError);
    }

    void aRecheckShowsFilesGoneSinceThePlan()
    {
        auto model = makeModel();
        create(files, {u"1.txt"_s, u"2.txt"_s});
        model->setResultPattern(u"new-{filename}"_s);
        QVERIFY(addAndPlan(*model, {u"1.txt"_s, u"2.txt"_s}));
        QVERIFY(QFile::remove(files + u"/2.txt"_s));
        QVERIFY(!model->files()->at(1).error);

        model->recheckFiles();
        QVERIFY(waitIdle(*model));
        QCOMPARE(model->files()->at(1).error, std::optional(u"“2.txt” no longer exists"_s));
        QVERIFY(!model->files()->at(0).error);
        QCOMPARE(model->renameDisabledReason(), u"Fix the errors in the file list first"_s);
    }

    // A slow script's first answers are in the list while it still runs.
    void answeredNamesShowBeforeTheScriptEnds()
    {
        auto model = makeModel();
        QStringList names;
        for (int i = 1; i <= 40; ++i)
            names << u"%1.txt"_s.arg(i);
        create(files, names);
        QVERIFY(addAndPlan(*model, names));
        model->setResultPattern(u"{slow}"_s);
        model->setScript(
            u"const start = Date.now(); while (Date.now() - start < 50) {} fields.slow = 's' + fields.row"_s);
        QTRY_VERIFY_WITH_TIMEOUT(model->files()->at(0).resultName == u"s1.txt"_s, 10'000);
        QVERIFY(model->isUpdating());
        QCOMPARE(model->files()->at(39).resultName, u"40.txt"_s); // not answered yet
        QVERIFY(waitIdle(*model));
        QCOMPARE(model->files()->at(39).resultName, u"s40.txt"_s);
    }

    void deniedFoldersRenameNothing()
    {
        auto model = makeModel(true);
        create(files, {u"A/1.txt"_s, u"A/2.txt"_s, u"B/3.txt"_s});
        model->setResultPattern(u"new-{filename}"_s);
        QVERIFY(addAndPlan(*model, {u"A/1.txt"_s, u"B/3.txt"_s, u"A/2.txt"_s}));
        // Root may write anywhere, so the grant must come from the panel: it is cancelled both times.
        QVERIFY(!renameAndWait(*model));
        QCOMPARE(panel.requests.size(), 2);
        QCOMPARE(model->operationProblem(),
                 (OperationProblem{u"No Files Were Renamed"_s,
                                   u"Tessary wasn't allowed to change files in these folders: “A” and “B”. "
                                   u"Click Rename again to grant access."_s}));
        for (const FileRecord& file : *model->files())
            QCOMPARE(file.operationError,
                     u"Tessary doesn't have permission to rename files in this folder"_s);
        QVERIFY(!model->isRenamed() && !model->isRenaming());
        QCOMPARE(contents(files + u"/A"_s).keys(), (QStringList{u"1.txt"_s, u"2.txt"_s}));

        model->setResultPattern(u"newer-{filename}"_s); // a new plan clears the operation errors
        QVERIFY(waitIdle(*model));
        for (const FileRecord& file : *model->files())
            QVERIFY(!file.operationError);

        panel.answers = {files}; // granting the parent covers both folders
        QVERIFY(renameAndWait(*model));
        QCOMPARE(panel.requests.size(), 3);
        QCOMPARE(contents(files + u"/B"_s).keys(), QStringList{u"newer-3.txt"_s});
    }

    void oneDeniedFolderIsNamedAlone()
    {
        auto model = makeModel(true);
        create(files, {u"A/1.txt"_s});
        model->setResultPattern(u"new-{filename}"_s);
        QVERIFY(addAndPlan(*model, {u"A/1.txt"_s}));
        QVERIFY(!renameAndWait(*model));
        QCOMPARE(
            model->operationProblem()->message,
            u"Tessary wasn't allowed to change files in the folder “A”. Click Rename again to grant access."_s);
    }

    void anUnwritableJournalRenamesNothing()
    {
        QFile blocker(root->filePath(u"journal"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the journal folder should be
        auto model = makeModel();
        create(files, {u"a.txt"_s});
        model->setResultPattern(u"b"_s);
        QVERIFY(addAndPlan(*model, {u"a.txt"_s}));
        QVERIFY(!renameAndWait(*model));
        QCOMPARE(model->operationProblem()->title, u"No Files Were Renamed"_s);
        QVERIFY(model->operationProblem()->message.startsWith(u"The rename journal can't be locked"_s));
        QCOMPARE(contents(files).keys(), QStringList{u"a.txt"_s});
        QVERIFY(!model->isRenamed());
    }

    void undoKeepsAFileReplacedSinceTheRename()
    {
        auto model = makeModel();
        create(files, {u"a.txt"_s, u"b.txt"_s});
        model->setResultPattern(u"new-{filename}"_s);
        QVERIFY(addAndPlan(*model, {u"a.txt"_s, u"b.txt"_s}));
        QVERIFY(renameAndWait(*model));
        QVERIFY(QFile::remove(files + u"/new-a.txt"_s));
        create(files, {u"new-a.txt"_s}); // another file under the new name

        undoAndWait(*model);
        QVERIFY(model->isRenamed()); // a still carries its new name
        QCOMPARE(model->operationProblem()->title, u"Some Files Weren't Restored"_s);
        QCOMPARE(
            model->operationProblem()->message,
            u"Files not restored to their original names: 1 of 2. The reasons are shown in the file list."_s);
        QCOMPARE(contents(files).keys(), (QStringList{u"b.txt"_s, u"new-a.txt"_s}));
        QVERIFY(model->files()->at(0).renamed && !model->files()->at(1).renamed);
        QVERIFY(!model->isUpdating());
    }

    void startOver()
    {
        auto model = makeModel();
        create(files, {u"a.txt"_s});
        model->setResultPattern(u"b"_s);
        QVERIFY(addAndPlan(*model, {u"a.txt"_s}));

        model->rename();
        QVERIFY(model->isRenaming());
        model->startOver(); // ignored while renaming
        QCOMPARE(model->files()->size(), 1);
        QVERIFY(waitIdle(*model));
        QVERIFY(model->isRenamed());

        model->startOver();
        QVERIFY(model->files()->isEmpty());
        QVERIFY(!model->isRenamed() && !model->isUpdating());
        QCOMPARE(model->resultPattern(), u"b"_s);
    }

    void startingOverWhileReadingDropsTheFiles()
    {
        auto model = makeModel();
        create(files, {u"a.txt"_s});
        model->addFiles({files + u"/a.txt"_s}); // usually still reading; a fast read may already be done
        model->startOver();
        QTRY_COMPARE(model->loadingCount(), 0);
        QVERIFY(model->files()->isEmpty());
        QVERIFY(!model->isUpdating());
    }

    void startingOverWhilePlanningDropsThePlan()
    {
        auto model = makeModel();
        create(files, {u"a.txt"_s});
        QVERIFY(addAndPlan(*model, {u"a.txt"_s}));
        QSignalSpy changed(model->files(), &QAbstractItemModel::dataChanged);
        const LogCapture log("org.tessary.Tessary.PointsOfInterest", true);
        model->setScript(u"const end = Date.now() + 3000; while (Date.now() < end) {}"_s);
        QVERIFY(waitForSignpost(u"begin Run script"_s));
        model->startOver();
        QVERIFY(!model->isUpdating());
        QVERIFY(QThreadPool::globalInstance()->waitForDone(20'000)); // the stopped plan has returned
        QCoreApplication::processEvents();                           // and its result reached the model
        QVERIFY(model->files()->isEmpty());
        QCOMPARE(changed.size(), 0);
    }

    void removingFiles()
    {
        auto model = makeModel();
        create(files, {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s});
        model->setResultPattern(u"{row}"_s);
        QVERIFY(addAndPlan(*model, {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s}));
        QSignalSpy removed(model->files(), &QAbstractItemModel::rowsRemoved);
        model->removeFiles({files + u"/b.txt"_s});
        QVERIFY(waitIdle(*model));
        QCOMPARE(resultNames(*model), (QStringList{u"1.txt"_s, u"2.txt"_s}));
        model->removeFiles({files + u"/a.txt"_s, files + u"/c.txt"_s});
        QVERIFY(model->files()->isEmpty());
        QVERIFY(!model->isUpdating()); // nothing left to compute
        QCOMPARE(removed.size(), 2);
    }
};

QTEST_MAIN(tst_TessaryModel)
#include "tst_TessaryModel.moc"
