#include "model/TessaryModel.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "metadata/MetadataExtractor.h"
#include "planning/FileLocations.h"
#include "planning/RenamePlanner.h"
#include "renaming/journal/JournaledRename.h"

#include <QLocale>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A stored value that is not text counts as absent.
QString storedText(const QSettings& defaults, const QString& key, const QString& fallback)
{
    const QVariant value = defaults.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : fallback;
}

// What a rename or undo on a worker hands back: its outcome, or nothing and why.
using MoveResult = std::pair<std::optional<JournaledRename::Outcome>, QString>;

// Freeing a large plan's maps takes a while: it happens on a worker, not on the main thread.
void disposeOffThread(RenamePlanner::Plan plan)
{
    (void)QtConcurrent::run([plan = std::move(plan)]() mutable { plan = {}; });
}

} // namespace

TessaryModel::TessaryModel(QSettings& defaults, JSEngineClient engine, FolderAccessManager& folderAccess,
                           QString journalFolder, QObject* parent)
    : QObject(parent), defaults(defaults), engine(std::move(engine)), folderAccess(folderAccess),
      journalFolder(std::move(journalFolder)), regex(storedText(defaults, regexKey, {})),
      script(storedText(defaults, javaScriptKey, {})),
      pattern(storedText(defaults, resultPatternKey, u"{filename}"_s))
{
    updateTimer.setSingleShot(true);
    updateTimer.setInterval(updateDelay);
    connect(&updateTimer, &QTimer::timeout, this, &TessaryModel::update);
    shownDisabledReason = renameDisabledReason();
}

TessaryModel::~TessaryModel()
{
    runningPlan.request_stop();
}

void TessaryModel::setRule(QString& rule, const QString& value, const QString& key,
                           void (TessaryModel::*changed)())
{
    if (rule == value)
        return;
    rule = value;
    defaults.setValue(key, value);
    Q_EMIT(this->*changed)();
    scheduleUpdate();
}

void TessaryModel::setRegexString(const QString& value)
{
    setRule(regex, value, regexKey, &TessaryModel::regexStringChanged);
}

void TessaryModel::setJavaScriptString(const QString& value)
{
    setRule(script, value, javaScriptKey, &TessaryModel::javaScriptStringChanged);
}

void TessaryModel::setResultPattern(const QString& value)
{
    setRule(pattern, value, resultPatternKey, &TessaryModel::resultPatternChanged);
}

void TessaryModel::setSortReversed(bool value)
{
    if (reversed == value)
        return;
    reversed = value;
    Q_EMIT sortReversedChanged();
    scheduleUpdate();
}

void TessaryModel::setOperationProblem(const std::optional<OperationProblem>& value)
{
    if (problem == value)
        return;
    problem = value;
    Q_EMIT operationProblemChanged();
}

void TessaryModel::applyRules(const QString& regexText, const QString& scriptText, const QString& patternText)
{
    setRegexString(regexText);
    setJavaScriptString(scriptText);
    setResultPattern(patternText);
}

void TessaryModel::addFiles(const QStringList& paths)
{
    if (renamedAny || renaming)
        return;
    const QSet<QString> known = fileList.ids();
    QStringList kept = standardizedUniquePaths(paths);
    kept.removeIf([&](const QString& path) { return known.contains(path); });
    if (kept.isEmpty())
        return;
    setLoading(loading + 1);
    QtConcurrent::run([kept] {
        return MetadataExtractor::fields(kept);
    }).then(this, [this, kept, startedIn = generation](const QList<Fields>& results) {
        setLoading(loading - 1);
        if (startedIn != generation || renamedAny || renaming)
            return;
        const QSet<QString> listed = fileList.ids(); // another call may have added some meanwhile
        std::vector<TessaryFileModel> added;
        added.reserve(size_t(kept.size()));
        for (qsizetype i = 0; i < std::min(kept.size(), results.size()); ++i)
            if (!listed.contains(kept[i]))
                added.emplace_back(kept[i], kept[i], results[i]);
        fileList.append(std::move(added));
        qCInfo(appLog, "Added %lld files", qint64(kept.size()));
        scheduleUpdate();
    });
}

void TessaryModel::removeFiles(const QSet<QString>& ids)
{
    if (renamedAny || renaming || ids.isEmpty())
        return;
    fileList.remove(ids);
    scheduleUpdate();
}

void TessaryModel::scheduleUpdate()
{
    cancelUpdate();
    if (!fileList.isEmpty() && !renamedAny && !renaming) {
        setUpdating(true);
        updateTimer.start(); // a burst of edits restarts the pause and leads to one computation
    } else {
        setUpdating(false);
    }
    refreshRenameDisabledReason();
}

void TessaryModel::cancelUpdate()
{
    updateTimer.stop();
    runningPlan.request_stop();
    ++updateSerial;
}

void TessaryModel::update()
{
    QList<PlanInput> inputs;
    inputs.reserve(fileList.size());
    for (const TessaryFileModel& file : fileList)
        inputs.append({file.id, file.url, file.baseFields});
    const RenameRules rules{regex, script, pattern, reversed};
    runningPlan = std::stop_source();
    QtConcurrent::run([inputs, rules, engine = engine, stop = runningPlan.get_token()] {
        return RenamePlanner::plan(inputs, rules, engine, JSEngineClient::defaultTimeout, stop);
    }).then(this, [this, serial = updateSerial](QFuture<std::optional<RenamePlanner::Plan>> future) {
        // Taken, not copied: the future would otherwise share the plan and free it here at the end.
        std::optional<RenamePlanner::Plan> plan = future.takeResult();
        if (!plan || serial != updateSerial)
            return; // cancelled, or a newer computation is on its way
        fileList.applyPlan(*plan);
        disposeOffThread(std::move(*plan));
        setUpdating(false);
        refreshRenameDisabledReason();
    });
}

std::optional<QString> TessaryModel::renameDisabledReason() const
{
    if (fileList.isEmpty())
        //: Tooltip of the disabled Rename button
        return tr("Add files to rename");
    if (renaming)
        //: Tooltip of the disabled Rename button
        return tr("Files are being renamed");
    if (renamedAny)
        //: Tooltip of the disabled Rename button
        return tr("Files were already renamed");
    if (loading > 0 || updating)
        //: Tooltip of the disabled Rename button
        return tr("New names are being computed");
    if (std::any_of(fileList.begin(), fileList.end(),
                    [](const TessaryFileModel& file) { return file.error; }))
        //: Tooltip of the disabled Rename button
        return tr("Fix the errors in the file list first");
    if (std::none_of(fileList.begin(), fileList.end(),
                     [](const TessaryFileModel& file) { return file.getsNewName(); }))
        //: Tooltip of the disabled Rename button
        return tr("No file gets a new name");
    return std::nullopt;
}

void TessaryModel::rename(std::function<void(bool)> done)
{
    if (!done)
        done = [](bool) {};
    if (renameDisabledReason()) {
        done(false);
        return;
    }
    setRenaming(true);
    QList<RenameOperation> operations;
    QStringList folders;
    for (const TessaryFileModel& file : fileList) {
        if (!file.getsNewName())
            continue;
        operations.append({file.id, file.url, joinPath(file.folder(), file.resultName)});
        folders.append(file.folder());
    }
    folderAccess.ensureAccess(folders, [self = QPointer(this), operations, done](const QStringList& denied) {
        if (self)
            self->finishRename(operations, denied, done);
    });
}

void TessaryModel::finishRename(const QList<RenameOperation>& operations, const QStringList& denied,
                                const std::function<void(bool)>& done)
{
    if (!denied.isEmpty()) {
        denyRename(operations, denied);
        setRenaming(false);
        done(false);
        return;
    }
    qCInfo(renameLog, "Renaming %lld files", qint64(operations.size()));
    QtConcurrent::run([operations, folder = journalFolder] {
        QString error;
        auto outcome = JournaledRename::rename(operations, folder, &error);
        return MoveResult(std::move(outcome), error);
    }).then(this, [this, operations, done](const MoveResult& result) {
        const auto& [outcome, error] = result;
        if (!outcome) {
            //: Alert title after Rename
            setOperationProblem(OperationProblem{tr("No Files Were Renamed"), error});
            setRenaming(false);
            done(false);
            return;
        }
        QSet<QString> ids;
        for (const RenameOperation& operation : operations)
            ids.insert(operation.id);
        fileList.applyMoves(ids, outcome->failures, true);
        undoEntry = outcome->undoable;
        setRenamed(anyRenamed());
        if (!outcome->failures.isEmpty())
            setOperationProblem(OperationProblem{
                //: Alert title after Rename
                tr("Some Files Weren't Renamed"),
                //: Alert message after Rename; the placeholders are the number of failed files and of all
                //: files
                tr("Files not renamed: %1 of %2. The reasons are shown in the file list.")
                    .arg(outcome->failures.size())
                    .arg(operations.size())});
        else if (outcome->unrecorded)
            //: Alert title after Rename when the journal could not record its end
            setOperationProblem(OperationProblem{tr("The Rename Wasn't Recorded"), *outcome->unrecorded});
        setRenaming(false);
        done(renamedAny);
    });
}

void TessaryModel::denyRename(const QList<RenameOperation>& operations, const QStringList& denied)
{
    const QSet<QString> deniedFolders(denied.cbegin(), denied.cend());
    QSet<QString> ids;
    for (const RenameOperation& operation : operations)
        if (deniedFolders.contains(FileNameParts::parentOf(operation.source)))
            ids.insert(operation.id);
    //: Error shown for a file in the file list
    fileList.setOperationError(ids, tr("Tessary doesn't have permission to rename files in this folder"));

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
                  .arg(QLocale().createSeparatedList(quoted));
    //: Alert title after Rename
    setOperationProblem(OperationProblem{tr("No Files Were Renamed"), message});
}

void TessaryModel::undo(std::function<void()> done)
{
    if (!done)
        done = [] {};
    if (!renamedAny || renaming) {
        done();
        return;
    }
    setRenaming(true);
    QSet<QString> targets;
    for (const TessaryFileModel& file : fileList)
        if (file.renamed)
            targets.insert(file.id);
    qCInfo(renameLog, "Restoring %lld files", qint64(targets.size()));
    QtConcurrent::run([entry = undoEntry, folder = journalFolder] {
        QString error;
        std::optional<JournaledRename::Outcome> outcome;
        if (entry)
            outcome = JournaledRename::undo(*entry, folder, &error);
        else
            //: Alert message after Undo when the rename left files between names
            error = tr("The rename left files under temporary names. Quit and start Tessary again to recover "
                       "them.");
        return MoveResult(std::move(outcome), error);
    }).then(this, [this, targets, done](const MoveResult& result) {
        const auto& [outcome, error] = result;
        if (!outcome) {
            //: Alert title after Undo, when nothing could be restored
            setOperationProblem(OperationProblem{tr("No Files Were Restored"), error});
        } else {
            fileList.applyMoves(targets, outcome->failures, false);
            undoEntry = outcome->undoable;
            if (!outcome->failures.isEmpty())
                setOperationProblem(OperationProblem{//: Alert title after Undo
                                                     tr("Some Files Weren't Restored"),
                                                     //: Alert message after Undo; the placeholders are
                                                     //: the number of failed files and of all files
                                                     tr("Files not restored to their original names: %1 "
                                                        "of %2. The reasons are shown in the "
                                                        "file list.")
                                                         .arg(outcome->failures.size())
                                                         .arg(targets.size())});
            else if (outcome->unrecorded)
                //: Alert title after Undo when the journal could not record its end
                setOperationProblem(OperationProblem{tr("The Undo Wasn't Recorded"), *outcome->unrecorded});
        }
        setRenaming(false);
        setRenamed(anyRenamed());
        if (!renamedAny)
            scheduleUpdate(); // the list shows the plan again
        done();
    });
}

void TessaryModel::startOver()
{
    if (renaming)
        return;
    ++generation;
    fileList.clear();
    undoEntry.reset();
    setRenamed(false);
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

void TessaryModel::setRenaming(bool value)
{
    setState(renaming, value, &TessaryModel::isRenamingChanged);
}

void TessaryModel::setRenamed(bool value)
{
    setState(renamedAny, value, &TessaryModel::isRenamedChanged);
}

void TessaryModel::setLoading(qint64 value)
{
    setState(loading, value, &TessaryModel::loadingCountChanged);
}

void TessaryModel::refreshRenameDisabledReason()
{
    const std::optional<QString> reason = renameDisabledReason();
    if (reason == shownDisabledReason)
        return;
    shownDisabledReason = reason;
    Q_EMIT renameDisabledReasonChanged();
}

bool TessaryModel::anyRenamed() const
{
    return std::any_of(fileList.begin(), fileList.end(),
                       [](const TessaryFileModel& file) { return file.renamed; });
}
