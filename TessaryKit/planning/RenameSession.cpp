#include "planning/RenameSession.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "common/KitCatalogue.h"
#include "planning/FileLocations.h"
#include "planning/FileOrder.h"
#include "platform/Heap.h"
#include "platform/NonReplacingMover.h"

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// Moves `value` into `field` when they differ, leaving the old value in `value`; whether they differed.
template <typename T> bool swapIfDifferent(T& field, T& value)
{
    if (field == value)
        return false;
    std::swap(field, value);
    return true;
}

} // namespace

RenameRules RenameSession::defaultRules()
{
    return {QString(), QString(), u"{filename}"_s, false, FileOrder::byName, false};
}

QStringList RenameSession::alwaysPresentFields()
{
    return {u"filename"_s, u"row"_s};
}

RenameSession::RenameSession(QString journalFolder, RenameRules rules)
    : journalFolder(std::move(journalFolder)), currentRules(std::move(rules))
{
}

bool RenameSession::setRules(const RenameRules& rules)
{
    // Exact comparison: a change of composition alone is still the user's edit, and is stored.
    const auto same = [](const RenameRules& a, const RenameRules& b) {
        return a.regex == b.regex && a.script == b.script && a.pattern == b.pattern &&
               a.reversed == b.reversed && a.order == b.order && a.numberDuplicates == b.numberDuplicates;
    };
    if (same(currentRules, rules))
        return false;
    currentRules = rules;
    return true;
}

QStringList RenameSession::unlisted(const QStringList& paths) const
{
    QStringList kept = standardizedUniquePaths(paths);
    kept.removeIf([&](const QString& path) { return listed.contains(path); });
    return kept;
}

void RenameSession::add(const QStringList& paths, const QList<Fields>& baseFields)
{
    if (!acceptsFiles())
        return;
    QList<qsizetype> added; // the paths neither listed nor earlier in this batch
    QSet<QString> ids;
    ids.reserve(paths.size());
    for (qsizetype i = 0; i < std::min(paths.size(), baseFields.size()); ++i) {
        if (listed.contains(paths[i]))
            continue;
        const qsizetype before = ids.size();
        ids.insert(paths[i]);
        if (ids.size() > before)
            added.append(i);
    }
    if (added.isEmpty())
        return;
    if (observer)
        observer->filesAboutToBeAdded(size(), size() + added.size() - 1);
    // The first batch's set becomes the list's, rather than a copy of every path.
    if (listed.isEmpty())
        listed = std::move(ids);
    else
        listed.unite(ids);
    records.reserve(records.size() + size_t(added.size()));
    for (const qsizetype i : std::as_const(added))
        records.emplace_back(paths[i], paths[i], baseFields[i]);
    if (observer)
        observer->filesAdded();
    qCInfo(appLog, "Added %lld files", qint64(added.size()));
}

void RenameSession::remove(const QSet<QString>& ids)
{
    if (!acceptsFiles())
        return;
    // From the end, one run of adjacent files at a time, so that earlier files keep their positions.
    for (qsizetype last = size() - 1; last >= 0; --last) {
        if (!ids.contains(at(last).id))
            continue;
        qsizetype first = last;
        while (first > 0 && ids.contains(at(first - 1).id))
            --first;
        if (observer)
            observer->filesAboutToBeRemoved(first, last);
        for (qsizetype i = first; i <= last; ++i)
            listed.remove(at(i).id);
        records.erase(records.begin() + first, records.begin() + last + 1);
        if (observer)
            observer->filesRemoved();
        last = first;
    }
}

bool RenameSession::reorder(const std::vector<qsizetype>& positions)
{
    if (!acceptsFiles() || positions.size() != records.size())
        return false;
    std::vector<bool> seen(records.size());
    for (const qsizetype position : positions) {
        if (position < 0 || position >= size() || seen[size_t(position)])
            return false;
        seen[size_t(position)] = true;
    }
    if (std::is_sorted(positions.begin(), positions.end()))
        return false;
    if (observer)
        observer->filesAboutToBeReordered();
    std::vector<FileRecord> reordered;
    reordered.reserve(records.size());
    for (const qsizetype position : positions)
        reordered.push_back(std::move(records[size_t(position)]));
    records = std::move(reordered);
    if (FileOrder(currentRules.order).isListed()) {
        for (qsizetype position = 0; position < size(); ++position)
            records[size_t(position)].row = currentRules.reversed ? size() - position : position + 1;
    }
    if (observer)
        observer->filesReordered();
    return true;
}

void RenameSession::clear()
{
    if (moving)
        return;
    if (observer)
        observer->filesAboutToBeCleared();
    records.clear();
    listed.clear();
    ownEntry.reset();
    renamedAny = false;
    if (observer)
        observer->filesCleared();
}

RenameSession::PlanJob RenameSession::planJob() const
{
    PlanJob job{{}, currentRules, scriptMemo, {}};
    job.inputs.reserve(size());
    job.shownFields.reserve(size());
    for (const FileRecord& record : records) {
        job.inputs.append({record.id, record.path, record.baseFields});
        job.shownFields.append(record.fields);
    }
    return job;
}

void RenameSession::giveBackFreedMemory()
{
    Heap::giveBack();
}

void RenameSession::reserveMemoryFor(qsizetype files)
{
    constexpr std::size_t perFile = 4 << 10; // twice what a plan of 100,000 files holds per file
    constexpr qsizetype usualFiles = 16 << 10;
    Heap::reserve(std::size_t(std::max(files, usualFiles)) * perFile);
}

std::optional<RenamePlanner::Plan> RenameSession::plan(const PlanJob& job, const JSEngineClient& engine,
                                                       std::chrono::milliseconds scriptTimeout,
                                                       std::stop_token stop,
                                                       const RenamePlanner::Provisional& provisional)
{
    std::optional<RenamePlanner::Plan> plan = RenamePlanner::plan(
        job.inputs, job.rules, engine, scriptTimeout, std::move(stop), job.scriptMemo.get(), provisional);
    if (plan)
        for (RenamePlanner::PlannedFile& file : *plan)
            if (file.input < job.shownFields.size() && file.output.fields == job.shownFields[file.input])
                file.output.fields = job.shownFields[file.input];
    return plan;
}

void RenameSession::applyPlan(const PlanJob& job, RenamePlanner::Plan& plan, qsizetype firstRow)
{
    // The plan's inputs are the files in list order, unless the list changed meanwhile.
    QHash<QString, qsizetype> positions;
    const auto positionOf = [&](const QString& id, qsizetype planned) -> qsizetype {
        if (planned < size() && at(planned).id == id)
            return planned;
        if (positions.isEmpty())
            for (qsizetype i = 0; i < size(); ++i)
                positions.insert(at(i).id, i);
        return positions.value(id, -1);
    };
    std::vector<bool> changed(records.size());
    for (qsizetype row = 0; row < plan.size(); ++row) {
        RenamePlanner::PlannedFile& planned = plan[row];
        const qsizetype position = positionOf(job.inputs[planned.input].id, planned.input);
        if (position < 0)
            continue; // removed after the plan started
        FileRecord& record = records[size_t(position)];
        PlanOutput& output = planned.output;
        bool different = swapIfDifferent(record.fields, output.fields);
        different |= swapIfDifferent(record.resultName, output.resultName);
        different |= swapIfDifferent(record.error, output.error);
        different |= swapIfDifferent(record.warning, output.warning);
        different |= swapIfDifferent(record.logs, output.logs);
        const qsizetype number = firstRow + row + 1;
        different |= record.operationError.has_value() || record.row != number;
        record.operationError.reset();
        record.row = number;
        changed[size_t(position)] = different;
    }
    plannedReversed = job.rules.reversed;
    announce(changed);
}

std::vector<qsizetype> RenameSession::planOrder() const
{
    std::vector<qsizetype> positions(records.size());
    std::iota(positions.begin(), positions.end(), 0);
    const auto rank = [&](qsizetype position) {
        const qsizetype row = at(position).row;
        return row > 0 ? row : std::numeric_limits<qsizetype>::max();
    };
    std::stable_sort(positions.begin(), positions.end(),
                     [&](qsizetype a, qsizetype b) { return rank(a) < rank(b); });
    return positions;
}

std::optional<QString> RenameSession::renameBlocker(Activity activity) const
{
    if (records.empty())
        //: Why Rename is not possible (the tooltip of the disabled Rename button)
        return KitCatalogue::tr("Add files to rename");
    if (moving)
        //: Why Rename is not possible (the tooltip of the disabled Rename button)
        return KitCatalogue::tr("Files are being renamed");
    if (renamedAny)
        //: Why Rename is not possible (the tooltip of the disabled Rename button)
        return KitCatalogue::tr("Files were already renamed");
    if (activity == Activity::Computing)
        //: Why Rename is not possible (the tooltip of the disabled Rename button)
        return KitCatalogue::tr("New names are being computed");
    if (std::any_of(records.cbegin(), records.cend(), [](const FileRecord& record) { return record.error; }))
        //: Why Rename is not possible (the tooltip of the disabled Rename button)
        return KitCatalogue::tr("Fix the errors in the file list first");
    if (std::none_of(records.cbegin(), records.cend(),
                     [](const FileRecord& record) { return record.getsNewName(); }))
        //: Why Rename is not possible (the tooltip of the disabled Rename button)
        return KitCatalogue::tr("No file gets a new name");
    return std::nullopt;
}

RenameSession::Tally RenameSession::tally() const
{
    Tally tally{size(), 0, 0, 0, 0};
    for (const FileRecord& record : records) {
        const bool error = record.shownError().has_value();
        tally.changed += record.nameChanged();
        tally.renamed += record.renamed;
        tally.errors += error;
        tally.warnings += !error && record.warning;
    }
    return tally;
}

std::optional<RenameSession::MoveJob> RenameSession::startRename()
{
    if (renameBlocker(Activity::Idle))
        return std::nullopt;
    moving = true;
    MoveJob job{MoveJob::Kind::Rename, {}, currentRules, {}, {}, journalFolder};
    job.operations.reserve(size());
    for (const FileRecord& record : records) {
        if (record.getsNewName())
            job.operations.append({record.id, record.path, record.locationNamed(record.resultName)});
    }
    // Most renames move every listed file: the list's own set then serves, shared rather than rebuilt.
    if (job.operations.size() == size()) {
        job.ids = listed;
        return job;
    }
    job.ids.reserve(job.operations.size());
    for (const RenameOperation& operation : std::as_const(job.operations))
        job.ids.insert(operation.id);
    return job;
}

std::optional<RenameSession::MoveJob> RenameSession::startUndo()
{
    if (!canUndo() || !ownEntry)
        return std::nullopt;
    return startReversal(MoveJob::Kind::Undo, ownEntry->file);
}

std::optional<RenameSession::MoveJob> RenameSession::startReversal(MoveJob::Kind kind,
                                                                   const QString& entryFile)
{
    if (moving)
        return std::nullopt;
    moving = true;
    MoveJob job = reversalOf(kind, entryFile, journalFolder);
    if (!ownEntry || ownEntry->file != entryFile)
        return job;
    QSet<QString> moved;
    for (const JournalOperation& operation : ownEntry->operations)
        if (ownEntry->moved(operation))
            moved.insert(operation.operation.id);
    const bool undoing = kind == MoveJob::Kind::Undo;
    for (const FileRecord& record : records)
        if (moved.contains(record.id) && record.renamed == undoing)
            job.ids.insert(record.id);
    return job;
}

RenameSession::MoveJob RenameSession::reversalOf(MoveJob::Kind kind, const QString& entryFile,
                                                 QString journalFolder)
{
    return MoveJob{kind, {}, std::nullopt, entryFile, {}, std::move(journalFolder)};
}

QStringList RenameSession::foldersOf(const MoveJob& job)
{
    QStringList folders;
    for (const RenameOperation& operation : job.operations)
        folders.append(FileNameParts::parentOf(operation.source));
    folders.removeDuplicates();
    return folders;
}

void RenameSession::deny(const MoveJob& job, const QStringList& denied)
{
    moving = false;
    const QSet<QString> deniedFolders(denied.cbegin(), denied.cend());
    QSet<QString> ids;
    for (const RenameOperation& operation : job.operations)
        if (deniedFolders.contains(FileNameParts::parentOf(operation.source)))
            ids.insert(operation.id);
    //: Error shown for a file in the file list
    const QString message =
        KitCatalogue::tr("Tessary doesn't have permission to rename files in this folder");
    changeFiles(ids, [&](FileRecord& record) {
        std::optional<QString> error = message;
        return swapIfDifferent(record.operationError, error);
    });
}

namespace {

// The real mover, which says when its first move comes.
class AnnouncingMover final : public FileMover {
public:
    explicit AnnouncingMover(const std::function<void()>& firstMove) : firstMove(firstMove) {}

    int move(const QString& source, const QString& destination) override
    {
        if (!announced && firstMove)
            firstMove();
        announced = true;
        return mover.move(source, destination);
    }

private:
    const std::function<void()>& firstMove;
    bool announced = false;
    NonReplacingMover mover;
};

} // namespace

RenameSession::MoveResult RenameSession::move(const MoveJob& job, const std::function<void()>& movesBegin)
{
    MoveResult result;
    AnnouncingMover mover(movesBegin);
    if (job.kind == MoveJob::Kind::Rename) {
        qCInfo(renameLog, "Renaming %lld files", qint64(job.operations.size()));
        result.outcome =
            JournaledRename::rename(job.operations, job.rules, job.journalFolder, &result.error, mover);
        return result;
    }
    const std::optional<JournalEntry> entry = RenameJournal::load(job.entryFile, &result.error);
    if (!entry)
        return result;
    if (!entry->complete) {
        //: Alert message after Undo or Redo when the rename left files between names
        result.error = KitCatalogue::tr("The rename was interrupted and left files between names. Quit and "
                                        "start Tessary again to recover them.");
    } else if (job.kind == MoveJob::Kind::Undo) {
        qCInfo(renameLog, "Restoring %lld files", qint64(entry->operations.size()));
        result.outcome = JournaledRename::undo(*entry, job.journalFolder, &result.error, mover);
    } else {
        qCInfo(renameLog, "Renaming %lld files again", qint64(entry->operations.size()));
        result.outcome = JournaledRename::redo(*entry, job.journalFolder, &result.error, mover);
    }
    return result;
}

void RenameSession::finish(const MoveJob& job, const MoveResult& result)
{
    moving = false;
    if (!result.outcome)
        return;
    const bool renaming = job.kind != MoveJob::Kind::Undo;
    if (job.kind == MoveJob::Kind::Rename)
        ownEntry = result.outcome->entry;
    else if (ownEntry && ownEntry->file == job.entryFile && result.outcome->entry)
        ownEntry = result.outcome->entry;
    QHash<QString, QString> newNames; // a redo gives the names of the rename, whatever the plan says now
    if (job.kind == MoveJob::Kind::Redo && ownEntry && ownEntry->file == job.entryFile)
        for (const JournalOperation& operation : ownEntry->operations)
            if (job.ids.contains(operation.operation.id))
                newNames.insert(operation.operation.id,
                                FileNameParts::nameOf(operation.operation.destination));
    const FileRenamer::Failures& failures = result.outcome->failures;
    changeFiles(job.ids, [&](FileRecord& record) {
        const auto failure = failures.constFind(record.id);
        std::optional<QString> error;
        if (failure != failures.cend())
            error = *failure;
        bool renamed = renaming == !error; // a failed undo leaves the file under its new name
        bool changed = false;
        if (QString name = newNames.value(record.id, record.resultName); renamed)
            changed = swapIfDifferent(record.resultName, name);
        return swapIfDifferent(record.operationError, error) | swapIfDifferent(record.renamed, renamed) |
               changed;
    });
    refreshRenamed();
}

template <typename Change> void RenameSession::changeFiles(const QSet<QString>& ids, Change change)
{
    std::vector<bool> changed(records.size());
    for (size_t position = 0; position < records.size(); ++position)
        if (ids.contains(records[position].id))
            changed[position] = change(records[position]);
    announce(changed);
}

void RenameSession::announce(const std::vector<bool>& changed)
{
    if (!observer)
        return;
    for (size_t first = 0; first < changed.size(); ++first) {
        if (!changed[first])
            continue;
        size_t last = first;
        while (last + 1 < changed.size() && changed[last + 1])
            ++last;
        observer->filesChanged(qsizetype(first), qsizetype(last));
        first = last;
    }
}

void RenameSession::refreshRenamed()
{
    renamedAny = std::any_of(records.cbegin(), records.cend(),
                             [](const FileRecord& record) { return record.renamed; });
}
