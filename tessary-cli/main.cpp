// tessary-cli: the window's three rules, fields and safety from a terminal. A thin front end: planning,
// metadata and renaming are TessaryKit's.
#include "CommandLine.h"
#include "HistoryReport.h"
#include "InputFiles.h"
#include "ProgressLine.h"
#include "Report.h"
#include "common/FileNameParts.h"
#include "common/KitCatalogue.h"
#include "metadata/MetadataExtractor.h"
#include "metadata/ReaderModules.h"
#include "planning/FieldsInUse.h"
#include "planning/RenameSession.h"
#include "planning/RuleRegex.h"
#include "renaming/journal/RenameHistory.h"
#include "renaming/journal/RenameRecovery.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>

using namespace Qt::StringLiterals;

namespace {

enum ExitStatus { success = 0, failure = 1, usageError = 2 };

void complain(const QString& message)
{
    std::fprintf(stderr, "tessary-cli: %s\n", message.toLocal8Bit().constData());
}

// What the report tells of a listed file; `moved` once a rename ran.
FileReport reportOf(const FileRecord& file, bool moved)
{
    return {file.path, PlanOutput{file.fields, file.resultName, file.error, file.logs, file.warning},
            file.nameChanged(), moved ? std::optional(file.renamed) : std::nullopt,
            moved ? file.operationError : std::nullopt};
}

// The rows of files that no move has touched.
void reportFiles(const RenameSession& session, const Report& report)
{
    for (const qsizetype position : session.planOrder())
        report.add(reportOf(session.at(position), false));
}

// The rows of a rename as they read when every move succeeds, in the plan's order, which the moves don't
// change: rendered once the moves begin, which leave a core idle, rather than beside the journal's work.
struct RowsOfSuccess {
    std::vector<qsizetype> order;
    QList<QByteArray> rows;
};

RowsOfSuccess rowsOfSuccess(const RenameSession& session, const RenameSession::MoveJob& job,
                            const Report& report)
{
    RowsOfSuccess rendered{session.planOrder(), {}};
    rendered.rows.reserve(session.size());
    for (const qsizetype position : rendered.order) {
        const FileRecord& file = session.at(position);
        FileReport row = reportOf(file, true);
        if (job.ids.contains(file.id)) {
            row.renamed = true;
            row.renameError.reset();
        }
        rendered.rows.append(report.rowOf(row));
    }
    return rendered;
}

// Once the session knows how each move went: a file whose move failed gets its row anew.
void reportRename(const RenameSession& session, const RowsOfSuccess& rendered, const Report& report)
{
    for (size_t i = 0; i < rendered.order.size(); ++i) {
        const FileRecord& file = session.at(rendered.order[i]);
        report.write(file.operationError ? report.rowOf(reportOf(file, true)) : rendered.rows[qsizetype(i)]);
    }
}

// Ends the process with `status` where it stands: the many files' records, plan and journal entry go with
// the process at once instead of one allocation at a time (30 ms at 100,000 files).
[[noreturn]] void leave(int status)
{
    std::fflush(stdout);
    std::exit(status);
}

// A regular expression that doesn't compile is explained once, not under every file.
bool regexCompiles(const QString& regex)
{
    const std::optional<RuleRegex::Problem> problem = RuleRegex::problemOf(regex);
    if (problem)
        complain(u"The regular expression has an error at character %1: %2"_s.arg(problem->offset + 1)
                     .arg(problem->message));
    return !problem;
}

// A plan once applied, and what it was made from: left for leave() to free with the process, since freeing
// each file's fields one at a time takes about a millisecond per 10,000 files.
struct AppliedPlan {
    RenameSession::PlanJob job;
    std::optional<RenamePlanner::Plan> plan;
};

// Reads the files' base fields and plans, as the window does. Only the fields the rules can use are read,
// unless every field is to be shown.
AppliedPlan planFiles(RenameSession& session, const CommandLine& line)
{
    RenameSession::reserveMemoryFor(line.paths.size()); // before the list, which may be long, is read
    const QStringList paths = inputFiles(line.paths, line.recursive);
    RenameSession::reserveMemoryFor(paths.size());
    const FieldCatalogue::Groups groups =
        line.json || line.verbose ? FieldCatalogue::everyGroup : groupsUsedBy(line.rules);
    ProgressLine progress;
    std::atomic<qsizetype> read = 0;
    session.add(paths, progress.show(
                           [&] {
                               return MetadataExtractor::fields(
                                   paths, [&] { ++read; }, groups);
                           },
                           u"Reading files… %1 of %2"_s, read, paths.size()));
    for (const QString& problem : ReaderModules::failures())
        complain(problem);

    AppliedPlan applied{session.planJob(), std::nullopt};
    const JSEngineClient engine(JSEngineClient::bundledHelperPath());
    applied.plan = progress.show([&] { return RenameSession::plan(applied.job, engine, line.scriptTimeout); },
                                 u"Computing new names…"_s);
    session.applyPlan(applied.job, *applied.plan);
    return applied;
}

int plan(const CommandLine& line)
{
    if (!regexCompiles(line.rules.regex))
        return failure;
    RenameSession session(RenameJournal::defaultFolder(), line.rules);
    const AppliedPlan applied = planFiles(session, line); // kept until leave()
    Report report(line.json, line.verbose);
    reportFiles(session, report);
    const RenameSession::Tally tally = session.tally();
    report.summary(tally.files, tally.changed, tally.errors);
    leave(tally.errors == 0 ? success : failure);
}

// The exit status of a rename or undo: success only when every file is where it was asked to go and the
// journal knows it.
int finished(const JournaledRename::Outcome& outcome)
{
    if (outcome.unrecorded)
        complain(*outcome.unrecorded);
    if (!outcome.stranded.isEmpty())
        complain(u"Files were left under temporary names: run tessary-cli recover"_s);
    return outcome.succeeded() ? success : failure;
}

// The unfinished journal entries; a damaged one is told about and otherwise left alone.
RenameJournal::Contents journal()
{
    RenameJournal::Contents contents = RenameJournal::scan(RenameJournal::defaultFolder());
    for (const QString& problem : contents.unreadable)
        complain(problem);
    return contents;
}

int rename(const CommandLine& line)
{
    if (!journal().incomplete.isEmpty()) {
        complain(u"An earlier rename was interrupted: run tessary-cli recover first"_s);
        return failure;
    }
    if (!regexCompiles(line.rules.regex))
        return failure;
    RenameSession session(RenameJournal::defaultFolder(), line.rules);
    const AppliedPlan applied = planFiles(session, line); // kept until leave()
    Report report(line.json, line.verbose);
    const std::optional<RenameSession::MoveJob> job = session.startRename();
    if (!job) {
        reportFiles(session, report);
        complain(session.renameBlocker(RenameSession::Activity::Idle).value_or(QString()));
        return failure;
    }
    std::atomic<bool> movesBegun = false;
    const std::function<void()> letRowsBegin = [&] {
        movesBegun = true;
        movesBegun.notify_one();
    };
    auto rows = std::async(std::launch::async, [&] {
        movesBegun.wait(false);
        return rowsOfSuccess(session, *job, report);
    });
    const RenameSession::MoveResult result =
        ProgressLine().show([&] { return RenameSession::move(*job, letRowsBegin); }, u"Renaming…"_s);
    letRowsBegin(); // when nothing moved
    if (!result.outcome) {
        complain(result.error);
        return failure;
    }
    const RowsOfSuccess rendered = rows.get(); // read the records that `finish` changes
    session.finish(*job, result);
    reportRename(session, rendered, report);
    leave(finished(*result.outcome));
}

// The rename the command names, or the one `fallback` picks; nothing, told why, when there is none.
std::optional<JournalSummary>
chosenRename(const QList<JournalSummary>& history, const QString& id,
             const std::function<std::optional<JournalSummary>(const QList<JournalSummary>&)>& fallback,
             const char* nothing)
{
    const auto chosen = id.isEmpty() ? fallback(history) : RenameHistory::find(history, id);
    if (!chosen && id.isEmpty())
        complain(QString::fromUtf8(nothing));
    else if (!chosen)
        complain(u"No single rename has the ID “%1”: see tessary-cli history"_s.arg(id));
    return chosen;
}

std::optional<JournalEntry> loaded(const JournalSummary& summary)
{
    QString problem;
    auto entry = RenameJournal::load(summary.file, &problem);
    if (!entry)
        complain(problem);
    return entry;
}

int history(const CommandLine& line)
{
    QStringList problems;
    const QList<JournalSummary> history = RenameHistory::list(RenameJournal::defaultFolder(), &problems);
    for (const QString& problem : problems)
        complain(problem);
    if (line.id.isEmpty()) {
        HistoryReport::list(history, line.json);
        return success;
    }
    const auto chosen = chosenRename(history, line.id, {}, "");
    const auto entry = chosen ? loaded(*chosen) : std::nullopt;
    if (!entry)
        return failure;
    HistoryReport::files(*entry, line.json);
    return success;
}

// Undoes or redoes one rename of the history and reports each file it concerned.
int reverse(const CommandLine& line, RenameSession::MoveJob::Kind kind)
{
    const bool undoing = kind == RenameSession::MoveJob::Kind::Undo;
    if (!journal().incomplete.isEmpty()) {
        complain(u"An earlier rename was interrupted: run tessary-cli recover first"_s);
        return failure;
    }
    const QList<JournalSummary> history = RenameHistory::list(RenameJournal::defaultFolder());
    const auto chosen = undoing
                            ? chosenRename(history, line.id, RenameHistory::undoTarget, "Nothing to undo")
                            : chosenRename(history, line.id, RenameHistory::redoTarget, "Nothing to redo");
    if (!chosen)
        return failure;
    if (!(undoing ? RenameHistory::canUndo(*chosen) : RenameHistory::canRedo(*chosen))) {
        complain(undoing ? u"The rename %1 has no renamed file to give back"_s.arg(chosen->id())
                         : u"The rename %1 has no restored file to rename again"_s.arg(chosen->id()));
        return failure;
    }
    RenameSession::reserveMemoryFor(chosen->renamed);
    const auto entry = loaded(*chosen);
    if (!entry)
        return failure;
    const RenameSession::MoveJob job =
        RenameSession::reversalOf(kind, chosen->file, RenameJournal::defaultFolder());
    ProgressLine progress;
    const RenameSession::MoveResult result = progress.show(
        [&] { return RenameSession::move(job); }, undoing ? u"Restoring names…"_s : u"Renaming again…"_s);
    if (!result.outcome) {
        complain(result.error);
        return failure;
    }
    const FileRenamer::Failures& failures = result.outcome->failures;
    Report report(line.json, false, undoing);
    for (const JournalOperation& operation : entry->operations) {
        const RenameOperation& move = operation.operation;
        if (!entry->moved(operation) || (operation.undone == undoing && !failures.contains(move.id)))
            continue; // on the asked-for side already
        const bool failed = failures.contains(move.id);
        const QString& from = undoing ? move.destination : move.source;
        const QString& to = undoing ? move.source : move.destination;
        const PlanOutput output{{}, FileNameParts::nameOf(to), std::nullopt, {}, std::nullopt};
        report.add({from, output, true, undoing == failed,
                    failed ? std::optional(failures.value(move.id)) : std::nullopt});
    }
    return finished(*result.outcome);
}

int recover(const CommandLine& line)
{
    const RenameJournal::Contents contents = journal();
    if (contents.incomplete.isEmpty()) {
        std::puts("Nothing to recover");
        return contents.unreadable.isEmpty() ? success : failure;
    }
    QStringList problems;
    qsizetype files = 0;
    for (const JournalEntry& entry : contents.incomplete) {
        files += entry.operations.size();
        problems += RenameRecovery::recover(entry, line.forward ? RenameRecovery::Direction::Forward
                                                                : RenameRecovery::Direction::Rollback);
    }
    for (const QString& problem : problems)
        std::puts(Report::printable(problem).toUtf8().constData());
    std::printf("%lld files of %lld interrupted renames %s, %lld problems\n", qint64(files),
                qint64(contents.incomplete.size()), line.forward ? "completed" : "rolled back",
                qint64(problems.size()));
    return problems.isEmpty() ? success : failure;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("tessary-cli " TESSARY_VERSION);
        return success;
    }
    QCoreApplication application(argc, argv);
    KitCatalogue::install();
    // Standard error is for what the user must act on; diagnostics only when asked for with -v.
    const QStringList arguments = QCoreApplication::arguments();
    if (!arguments.contains(u"-v"_s) && !arguments.contains(u"--verbose"_s))
        QLoggingCategory::setFilterRules(u"org.tessary.*=false"_s);

    QString error;
    const std::optional<CommandLine> line = CommandLine::parse(arguments.mid(1), &error);
    if (!line) {
        if (error.isEmpty()) {
            std::fputs(CommandLine::usage().toLocal8Bit().constData(), stdout);
            return success;
        }
        complain(error);
        std::fputs(CommandLine::usage().toLocal8Bit().constData(), stderr);
        return usageError;
    }
    switch (line->command) {
    case CommandLine::Command::Plan:
        return plan(*line);
    case CommandLine::Command::Rename:
        return rename(*line);
    case CommandLine::Command::History:
        return history(*line);
    case CommandLine::Command::Undo:
        return reverse(*line, RenameSession::MoveJob::Kind::Undo);
    case CommandLine::Command::Redo:
        return reverse(*line, RenameSession::MoveJob::Kind::Redo);
    case CommandLine::Command::Recover:
        return recover(*line);
    }
    return usageError;
}
