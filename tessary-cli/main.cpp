// tessary-cli: the window's three rules, fields and safety from a terminal. A thin front end: planning,
// metadata and renaming are TessaryKit's.
#include "CanonicalText.h"
#include "CommandLine.h"
#include "FileNameParts.h"
#include "FileRenamer.h"
#include "InputFiles.h"
#include "KitCatalogue.h"
#include "MetadataExtractor.h"
#include "ProgressLine.h"
#include "RenamePlanner.h"
#include "Report.h"
#include "UndoRecord.h"

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
            {input, output, !CanonicalText::equal(output.resultName, FileNameParts::of(input.url).name)});
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

int rename(const CommandLine& line)
{
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
                               joinPath(FileNameParts::of(file.input.url).parent, file.output.resultName)});
    ProgressLine progress;
    const FileRenamer::Failures failures = progress.show(
        std::async(std::launch::async, [&] { return FileRenamer::perform(operations); }), u"Renaming…"_s);

    QList<RenameOperation> done;
    for (const RenameOperation& operation : operations)
        if (!failures.contains(operation.id))
            done.append(operation);
    if (!UndoRecord::save(done))
        complain(u"The renames could not be recorded for undo in %1"_s.arg(UndoRecord::location()));
    for (const PlannedFile& file : files) {
        const bool moved = file.changed && !failures.contains(file.input.id);
        report.add(
            {file.input.url, file.output, file.changed, moved,
             failures.contains(file.input.id) ? std::optional(failures.value(file.input.id)) : std::nullopt});
    }
    return failures.isEmpty() ? success : failure;
}

int undo(const CommandLine& line)
{
    const QList<RenameOperation> renamed = UndoRecord::load();
    if (renamed.isEmpty()) {
        complain(u"Nothing to undo"_s);
        return failure;
    }
    QList<RenameOperation> reverse;
    for (const RenameOperation& operation : renamed)
        reverse.append({operation.id, operation.destination, operation.source});
    ProgressLine progress;
    const FileRenamer::Failures failures = progress.show(
        std::async(std::launch::async, [&] { return FileRenamer::perform(reverse); }), u"Restoring names…"_s);

    QList<RenameOperation> stillRenamed;
    Report report(line.json, false, true);
    for (const RenameOperation& operation : renamed) {
        const bool failed = failures.contains(operation.id);
        if (failed)
            stillRenamed.append(operation);
        PlanOutput output{{}, FileNameParts::of(operation.source).name, std::nullopt, {}};
        report.add({operation.destination, output, true, failed,
                    failed ? std::optional(failures.value(operation.id)) : std::nullopt});
    }
    UndoRecord::save(stillRenamed);
    return failures.isEmpty() ? success : failure;
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
    }
    return usageError;
}
