// tessary-cli: the window's three rules, fields and safety from a terminal. A thin front end: planning,
// metadata and renaming are TessaryKit's.
#include "CommandLine.h"
#include "InputFiles.h"
#include "ProgressLine.h"
#include "Report.h"
#include "common/CanonicalText.h"
#include "common/FileNameParts.h"
#include "common/KitCatalogue.h"
#include "metadata/MetadataExtractor.h"
#include "planning/RenamePlanner.h"
#include "renaming/FileRenamer.h"
#include "renaming/journal/JournaledRename.h"
#include "renaming/journal/RenameRecovery.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <cstdio>
#include <future>

using namespace Qt::StringLiterals;

namespace {

enum ExitStatus { success = 0, failure = 1, usageError = 2 };

void complain(const QString& message)
{
    std::fprintf(stderr, "tessary-cli: %s\n", message.toLocal8Bit().constData());
}

struct PlannedFile {
    PlanInput input;
    PlanOutput output;
    bool changed;
};

// Reads every file's base fields and plans, as the window does; the files in the planner's order.
QList<PlannedFile> planFiles(const CommandLine& line)
{
    const QStringList paths = inputFiles(line.paths, line.recursive);
    ProgressLine progress;
    std::atomic<qsizetype> read = 0;
    const QList<Fields> baseFields = progress.show(
        std::async(std::launch::async, [&] { return MetadataExtractor::fields(paths, [&] { ++read; }); }),
        u"Reading files… %1 of %2"_s, read, paths.size());

    QList<PlanInput> inputs;
    inputs.reserve(paths.size());
    for (qsizetype i = 0; i < paths.size(); ++i)
        inputs.append(PlanInput{paths[i], paths[i], baseFields[i]});
    const JSEngineClient engine(JSEngineClient::bundledHelperURL());
    const auto plan = progress.show(
        std::async(std::launch::async,
                   [&] { return RenamePlanner::plan(inputs, line.rules, engine, line.scriptTimeout); }),
        u"Computing new names…"_s);

    QList<PlannedFile> planned;
    planned.reserve(inputs.size());
    for (const qsizetype position : RenamePlanner::order(inputs, line.rules.reversed)) {
        const PlanInput& input = inputs[position];
        const PlanOutput& output = plan->value(input.id);
        planned.append(
            {input, output, !CanonicalText::equal(output.resultName, FileNameParts::nameOf(input.url))});
    }
    return planned;
}

int plan(const CommandLine& line)
{
    const QList<PlannedFile> files = planFiles(line);
    Report report(line.json, line.verbose);
    qsizetype changed = 0, errors = 0;
    for (const PlannedFile& file : files) {
        report.add({file.input.url, file.output, file.changed, std::nullopt, std::nullopt});
        changed += file.changed;
        errors += file.output.error.has_value();
    }
    report.summary(files.size(), changed, errors);
    return errors == 0 ? success : failure;
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

// Damaged journal entries are told about and otherwise left alone.
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
    const QList<PlannedFile> files = planFiles(line);
    Report report(line.json, line.verbose);
    const bool anyError =
        std::any_of(files.cbegin(), files.cend(), [](const PlannedFile& file) { return file.output.error; });
    const bool anyChange =
        std::any_of(files.cbegin(), files.cend(), [](const PlannedFile& file) { return file.changed; });
    if (anyError || !anyChange) {
        for (const PlannedFile& file : files)
            report.add({file.input.url, file.output, file.changed, std::nullopt, std::nullopt});
        complain(anyError ? u"Fix the errors in the file list first"_s : u"No file gets a new name"_s);
        return failure;
    }

    QList<RenameOperation> operations;
    for (const PlannedFile& file : files)
        if (file.changed)
            operations.append({file.input.id, file.input.url,
                               joinPath(FileNameParts::parentOf(file.input.url), file.output.resultName)});
    ProgressLine progress;
    QString error;
    const auto outcome = progress.show(
        std::async(
            std::launch::async,
            [&] { return JournaledRename::rename(operations, RenameJournal::defaultFolder(), &error); }),
        u"Renaming…"_s);
    if (!outcome) {
        complain(error);
        return failure;
    }
    const FileRenamer::Failures* failures = &outcome->failures;
    for (const PlannedFile& file : files) {
        const bool moved = file.changed && !failures->contains(file.input.id);
        report.add({file.input.url, file.output, file.changed, moved,
                    failures->contains(file.input.id) ? std::optional(failures->value(file.input.id))
                                                      : std::nullopt});
    }
    return finished(*outcome);
}

int undo(const CommandLine& line)
{
    const RenameJournal::Contents contents = journal();
    if (!contents.incomplete.isEmpty()) {
        complain(u"An earlier rename was interrupted: run tessary-cli recover first"_s);
        return failure;
    }
    if (contents.history.isEmpty()) {
        complain(u"Nothing to undo"_s);
        return failure;
    }
    const JournalEntry& last = contents.history.first();
    ProgressLine progress;
    QString error;
    const auto outcome = progress.show(
        std::async(std::launch::async,
                   [&] { return JournaledRename::undo(last, RenameJournal::defaultFolder(), &error); }),
        u"Restoring names…"_s);
    if (!outcome) {
        complain(error);
        return failure;
    }
    const FileRenamer::Failures* failures = &outcome->failures;
    Report report(line.json, false, true);
    for (const JournalOperation& operation : last.operations) {
        const RenameOperation& renamed = operation.operation;
        if (last.failures.contains(renamed.id))
            continue;
        const bool failed = failures->contains(renamed.id);
        const PlanOutput output{{}, FileNameParts::nameOf(renamed.source), std::nullopt, {}};
        report.add({renamed.destination, output, true, failed,
                    failed ? std::optional(failures->value(renamed.id)) : std::nullopt});
    }
    return finished(*outcome);
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
    case CommandLine::Command::Undo:
        return undo(*line);
    case CommandLine::Command::Recover:
        return recover(*line);
    }
    return usageError;
}
