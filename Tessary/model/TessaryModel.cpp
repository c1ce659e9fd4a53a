#include "model/TessaryModel.h"

#include "common/FileNameParts.h"
#include "common/KitCatalogue.h"
#include "metadata/MetadataExtractor.h"
#include "metadata/ReaderModules.h"
#include "planning/FileLocations.h"

#include <QLocale>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// A stored value that is not text counts as absent.
QString storedText(const QSettings& defaults, const QString& key, const QString& fallback)
{
    const QVariant value = defaults.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : fallback;
}

RenameRules storedRules(const QSettings& defaults)
{
    const RenameRules fallback = RenameSession::defaultRules();
    return {storedText(defaults, TessaryModel::regexKey, fallback.regex),
            storedText(defaults, TessaryModel::scriptKey, fallback.script),
            storedText(defaults, TessaryModel::resultPatternKey, fallback.pattern),
            fallback.reversed,
            storedText(defaults, TessaryModel::orderKey, fallback.order),
            defaults.value(TessaryModel::numberDuplicatesKey, fallback.numberDuplicates).toBool()};
}

// Freeing a large plan's maps takes a while: it happens on a worker, not on the main thread.
void disposeOffThread(RenamePlanner::Plan plan)
{
    (void)QtConcurrent::run([plan = std::move(plan)]() mutable { plan = {}; });
}

// A partial failure's message, with the journal's own trouble after it: both need the user's attention.
QString withUnrecorded(const QString& message, const JournaledRename::Outcome& outcome)
{
    return outcome.unrecorded ? message + u' ' + *outcome.unrecorded : message;
}

} // namespace

TessaryModel::TessaryModel(QSettings& defaults, JSEngineClient engine, FolderAccessManager& folderAccess,
                           QString journalFolder, QObject* parent)
    : QObject(parent), defaults(defaults), engine(std::move(engine)), folderAccess(folderAccess),
      session(journalFolder, storedRules(defaults)), fileList(session), historyList(journalFolder)
{
    historyList.refresh();
    updateTimer.setSingleShot(true);
    updateTimer.setInterval(updateDelay);
    connect(&updateTimer, &QTimer::timeout, this, &TessaryModel::update);
    provisionalTimer.setInterval(provisionalInterval);
    connect(&provisionalTimer, &QTimer::timeout, this, &TessaryModel::showProvisional);
    memoryTimer.setSingleShot(true);
    memoryTimer.setInterval(memoryDelay);
    connect(&memoryTimer, &QTimer::timeout, this,
            [] { (void)QtConcurrent::run(&RenameSession::giveBackFreedMemory); });
    storeTimer.setSingleShot(true);
    storeTimer.setInterval(storeDelay);
    connect(&storeTimer, &QTimer::timeout, this, &TessaryModel::storeRules);
    shownDisabledReason = renameDisabledReason();
}

TessaryModel::~TessaryModel()
{
    runningPlan.request_stop();
    storeRules();
}

void TessaryModel::storeRules()
{
    for (auto it = unstored.cbegin(); it != unstored.cend(); ++it)
        defaults.setValue(it.key(), it.value());
    unstored.clear();
}

void TessaryModel::setRules(const RenameRules& rules, void (TessaryModel::*changed)())
{
    if (!session.setRules(rules))
        return;
    Q_EMIT(this->*changed)();
    scheduleUpdate();
}

template <typename T>
void TessaryModel::setRule(T RenameRules::*rule, const T& value, const QString& key,
                           void (TessaryModel::*changed)())
{
    RenameRules rules = session.rules();
    if (rules.*rule == value)
        return;
    rules.*rule = value;
    unstored.insert(key, QVariant::fromValue(value));
    storeTimer.start();
    setRules(rules, changed);
}

void TessaryModel::setRegexString(const QString& value)
{
    setRule(&RenameRules::regex, value, regexKey, &TessaryModel::regexStringChanged);
}

void TessaryModel::setScript(const QString& value)
{
    setRule(&RenameRules::script, value, scriptKey, &TessaryModel::scriptChanged);
}

void TessaryModel::setResultPattern(const QString& value)
{
    setRule(&RenameRules::pattern, value, resultPatternKey, &TessaryModel::resultPatternChanged);
}

void TessaryModel::setSortReversed(bool value)
{
    RenameRules rules = session.rules();
    rules.reversed = value;
    setRules(rules, &TessaryModel::sortReversedChanged);
}

void TessaryModel::setOrder(const QString& value)
{
    setRule(&RenameRules::order, value, orderKey, &TessaryModel::orderChanged);
}

void TessaryModel::setNumberDuplicates(bool value)
{
    setRule(&RenameRules::numberDuplicates, value, numberDuplicatesKey,
            &TessaryModel::numberDuplicatesChanged);
}

void TessaryModel::setOperationProblem(const std::optional<OperationProblem>& value)
{
    if (problem == value)
        return;
    problem = value;
    Q_EMIT operationProblemChanged();
}

void TessaryModel::applyRules(const RenameRules& rules)
{
    setRegexString(rules.regex);
    setScript(rules.script);
    setResultPattern(rules.pattern);
    setOrder(rules.order);
    setNumberDuplicates(rules.numberDuplicates);
}

void TessaryModel::reorderFiles(const std::vector<qsizetype>& positions)
{
    if (session.reorder(positions))
        scheduleUpdate();
}

void TessaryModel::addFiles(const QStringList& paths)
{
    if (!session.acceptsFiles())
        return;
    const QStringList kept = session.unlisted(paths);
    if (kept.isEmpty())
        return;
    setLoading(loading + 1);
    lifeline.then(QtConcurrent::run([kept] { return MetadataExtractor::fields(kept); }),
                  [this, kept, startedIn = generation](const QList<Fields>& results) {
                      setLoading(loading - 1);
                      if (startedIn == generation)
                          addReadFiles(kept, results);
                      reportReaderFailures();
                  });
}

void TessaryModel::reportReaderFailures()
{
    const QStringList failures = ReaderModules::failures();
    if (failures.size() == readerFailuresShown)
        return;
    readerFailuresShown = failures.size();
    //: Title of the alert when a part of the installation that reads file contents is missing or broken
    setOperationProblem(OperationProblem{tr("Some Fields Can't Be Read"), failures.join(u'\n')});
}

void TessaryModel::addFolderContents(const QStringList& folders)
{
    if (!session.acceptsFiles() || folders.isEmpty())
        return;
    setLoading(loading + 1); // a large tree takes a while to walk: the window shows that files are read
    lifeline.then(QtConcurrent::run([folders] { return filesInside(folders); }),
                  [this, startedIn = generation](const QStringList& found) {
                      if (startedIn == generation)
                          addFiles(found);
                      setLoading(loading - 1);
                  });
}

void TessaryModel::addReadFiles(const QStringList& paths, const QList<Fields>& baseFields)
{
    if (!session.acceptsFiles())
        return;
    session.add(paths, baseFields);
    scheduleUpdate();
}

void TessaryModel::removeFiles(const QSet<QString>& ids)
{
    if (!session.acceptsFiles() || ids.isEmpty())
        return;
    session.remove(ids);
    scheduleUpdate();
}

void TessaryModel::scheduleUpdate()
{
    cancelUpdate();
    if (!session.isEmpty() && session.acceptsFiles()) {
        setUpdating(true);
        updateTimer.start(); // a burst of edits restarts the pause and leads to one computation
    } else {
        setUpdating(false);
    }
    refreshRenameDisabledReason();
}

void TessaryModel::recheckFiles()
{
    if (session.acceptsFiles())
        scheduleUpdate();
}

void TessaryModel::cancelUpdate()
{
    updateTimer.stop();
    runningPlan.request_stop();
    ++updateSerial;
    stopProvisional();
}

void TessaryModel::update()
{
    runningPlan = std::stop_source();
    auto job = std::make_shared<const RenameSession::PlanJob>(session.planJob());
    provisional = std::make_shared<ProvisionalInbox>(job);
    if (!job->rules.script.isEmpty()) // only a script's answers come early
        provisionalTimer.start();
    auto planned =
        QtConcurrent::run([job, engine = engine, stop = runningPlan.get_token(), inbox = provisional] {
            return RenameSession::plan(*job, engine, RenameSession::defaultScriptTimeout, stop,
                                       [&inbox](qsizetype firstRow, RenamePlanner::Plan files) {
                                           inbox->put(firstRow, std::move(files));
                                       });
        });
    lifeline.then(planned, [this, job, serial = updateSerial](std::optional<RenamePlanner::Plan> plan) {
        if (!plan || serial != updateSerial)
            return;        // cancelled, or a newer computation is on its way
        stopProvisional(); // the whole plan supersedes what is still in the inbox
        session.applyPlan(*job, *plan);
        disposeOffThread(std::move(*plan));
        memoryTimer.start();
        setUpdating(false);
        refreshRenameDisabledReason();
    });
}

void TessaryModel::showProvisional()
{
    if (!provisional)
        return;
    for (ProvisionalInbox::Part& part : provisional->take())
        session.applyPlan(*provisional->job, part.files, part.firstRow);
}

void TessaryModel::stopProvisional()
{
    provisionalTimer.stop();
    provisional.reset();
}

std::optional<QString> TessaryModel::renameDisabledReason() const
{
    const bool computing = loading > 0 || updating;
    return session.renameBlocker(computing ? RenameSession::Activity::Computing
                                           : RenameSession::Activity::Idle);
}

void TessaryModel::rename(std::function<void(bool)> done)
{
    if (!done)
        done = [](bool) {};
    const std::optional<RenameSession::MoveJob> job =
        renameDisabledReason() ? std::nullopt : session.startRename();
    if (!job) {
        done(false);
        return;
    }
    refreshSessionStates();
    folderAccess.ensureAccess(RenameSession::foldersOf(*job),
                              [self = QPointer(this), job = *job, done](const QStringList& denied) {
                                  if (!self)
                                      return;
                                  if (denied.isEmpty())
                                      self->runRename(job, done);
                                  else {
                                      self->denyRename(job, denied);
                                      done(false);
                                  }
                              });
}

void TessaryModel::runRename(const RenameSession::MoveJob& job, const std::function<void(bool)>& done)
{
    lifeline.then(QtConcurrent::run([job] { return RenameSession::move(job); }),
                  [this, job, done](const RenameSession::MoveResult& result) {
                      session.finish(job, result);
                      refreshSessionStates();
                      showRenameResult(job, result);
                      historyList.refresh();
                      done(renamedAny);
                  });
}

void TessaryModel::showRenameResult(const RenameSession::MoveJob& job,
                                    const RenameSession::MoveResult& result)
{
    if (!result.outcome)
        //: Alert title after Rename
        setOperationProblem(OperationProblem{tr("No Files Were Renamed"), result.error});
    else if (!result.outcome->failures.isEmpty())
        setOperationProblem(OperationProblem{
            //: Alert title after Rename
            tr("Some Files Weren't Renamed"),
            //: Alert message after Rename; the placeholders are the number of failed files and of all files
            withUnrecorded(tr("Files not renamed: %1 of %2. The reasons are shown in the file list.")
                               .arg(result.outcome->failures.size())
                               .arg(job.operations.size()),
                           *result.outcome)});
    else if (result.outcome->unrecorded)
        //: Alert title after Rename when the journal could not record its end
        setOperationProblem(OperationProblem{tr("The Rename Wasn't Recorded"), *result.outcome->unrecorded});
}

void TessaryModel::denyRename(const RenameSession::MoveJob& job, const QStringList& denied)
{
    session.deny(job, denied);
    refreshSessionStates();
    QStringList quoted;
    for (const QString& folder : denied)
        //: A folder name in quotes, in the list of folders of the alert after Rename
        quoted.append(tr("“%1”").arg(FileNameParts::nameOf(folder)));
    const QString message =
        quoted.size() == 1
            //: Alert message after Rename; the placeholder is a folder name in quotes
            ? tr("Tessary wasn't allowed to change files in the folder %1. Click Rename again to grant "
                 "access.")
                  .arg(quoted.first())
            //: Alert message after Rename; the placeholder is a list of folder names, each in quotes
            : tr("Tessary wasn't allowed to change files in these folders: %1. Click Rename again to grant "
                 "access.")
                  .arg(KitCatalogue::textLocale().createSeparatedList(quoted));
    //: Alert title after Rename
    setOperationProblem(OperationProblem{tr("No Files Were Renamed"), message});
}

void TessaryModel::undo(std::function<void()> done)
{
    runReversal(session.startUndo(), done);
}

void TessaryModel::undoRename(const QString& entryFile, std::function<void()> done)
{
    runReversal(session.startReversal(RenameSession::MoveJob::Kind::Undo, entryFile), done);
}

void TessaryModel::redoRename(const QString& entryFile, std::function<void()> done)
{
    runReversal(session.startReversal(RenameSession::MoveJob::Kind::Redo, entryFile), done);
}

FileRenamer::Failures TessaryModel::lastRefusals(const QString& entryFile) const
{
    return refusals.first == entryFile ? refusals.second : FileRenamer::Failures();
}

// Nothing runs where the session would not start the job.
void TessaryModel::runReversal(const std::optional<RenameSession::MoveJob>& started,
                               const std::function<void()>& done)
{
    if (!started) {
        if (done)
            done();
        return;
    }
    const RenameSession::MoveJob& job = *started;
    refreshSessionStates();
    lifeline.then(
        QtConcurrent::run([job] { return RenameSession::move(job); }),
        [this, job, done](const RenameSession::MoveResult& result) {
            session.finish(job, result);
            refreshSessionStates();
            refusals = {job.entryFile, result.outcome ? result.outcome->failures : FileRenamer::Failures()};
            showReversalResult(job, result);
            if (!renamedAny && !job.ids.isEmpty())
                scheduleUpdate(); // the list shows the plan again
            historyList.refresh();
            Q_EMIT reversalFinished(job.entryFile);
            if (done)
                done();
        });
}

void TessaryModel::showReversalResult(const RenameSession::MoveJob& job,
                                      const RenameSession::MoveResult& result)
{
    struct Texts {
        QString nothing, some, count, unrecorded;
    };
    const Texts texts = job.kind == RenameSession::MoveJob::Kind::Undo
                            ? Texts{//: Alert title after Undo, when nothing could be restored
                                    tr("No Files Were Restored"),
                                    //: Alert title after Undo
                                    tr("Some Files Weren't Restored"),
                                    //: Alert message after Undo; the placeholders are the number of failed files
                                    //: and of all files
                                    tr("Files not restored to their original names: %1 of %2."),
                                    //: Alert title after Undo when the journal could not record its end
                                    tr("The Undo Wasn't Recorded")}
                            : Texts{//: Alert title after Redo, when nothing could be renamed
                                    tr("No Files Were Renamed Again"),
                                    //: Alert title after Redo
                                    tr("Some Files Weren't Renamed Again"),
                                    //: Alert message after Redo; the placeholders are the number of failed files
                                    //: and of all files
                                    tr("Files not given their new names again: %1 of %2."),
                                    //: Alert title after Redo when the journal could not record its end
                                    tr("The Redo Wasn't Recorded")};
    if (!result.outcome) {
        setOperationProblem(OperationProblem{texts.nothing, result.error});
        return;
    }
    const JournaledRename::Outcome& outcome = *result.outcome;
    qsizetype files = job.ids.size(); // a rename of another session: every file it moved
    if (job.ids.isEmpty() && outcome.entry)
        files =
            std::count_if(outcome.entry->operations.cbegin(), outcome.entry->operations.cend(),
                          [&](const JournalOperation& operation) { return outcome.entry->moved(operation); });
    // The list shows the reasons of its own files; those of another rename are in the Rename History window.
    const QString where = job.ids.isEmpty()
                              //: End of the alert message after Undo or Redo of a rename not in the file list
                              ? tr("The reasons are shown in the Rename History window.")
                              //: End of the alert message after Undo or Redo
                              : tr("The reasons are shown in the file list.");
    if (!outcome.failures.isEmpty())
        setOperationProblem(OperationProblem{
            texts.some,
            withUnrecorded(texts.count.arg(outcome.failures.size()).arg(files) + u' ' + where, outcome)});
    else if (outcome.unrecorded)
        setOperationProblem(OperationProblem{texts.unrecorded, *outcome.unrecorded});
}

void TessaryModel::startOver()
{
    if (session.isMoving())
        return;
    ++generation;
    session.clear();
    refreshSessionStates();
    setOperationProblem(std::nullopt);
    scheduleUpdate();
}

template <typename T> void TessaryModel::setState(T& field, T value, void (TessaryModel::*changed)())
{
    if (field == value)
        return;
    field = value;
    Q_EMIT(this->*changed)();
    refreshRenameDisabledReason();
}

void TessaryModel::setUpdating(bool value)
{
    setState(updating, value, &TessaryModel::isUpdatingChanged);
}

void TessaryModel::setLoading(qint64 value)
{
    setState(loading, value, &TessaryModel::loadingCountChanged);
}

void TessaryModel::refreshSessionStates()
{
    setState(renaming, session.isMoving(), &TessaryModel::isRenamingChanged);
    setState(renamedAny, session.anyRenamed(), &TessaryModel::isRenamedChanged);
}

void TessaryModel::refreshRenameDisabledReason()
{
    const std::optional<QString> reason = renameDisabledReason();
    if (reason == shownDisabledReason)
        return;
    shownDisabledReason = reason;
    Q_EMIT renameDisabledReasonChanged();
}
