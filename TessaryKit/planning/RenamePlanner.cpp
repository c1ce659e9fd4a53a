#include "planning/RenamePlanner.h"

#include "common/FileNameParts.h"
#include "common/InHalves.h"
#include "common/KitCatalogue.h"
#include "common/PathNormalizer.h"
#include "common/Signpost.h"
#include "planning/FileOrder.h"
#include "planning/NameValidation.h"
#include "planning/ResultPattern.h"
#include "planning/RuleRegex.h"
#include "platform/FileLookup.h"
#include "platform/NameEncoding.h"
#include "script/ScriptErrorText.h"

#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <future>
#include <numeric>
#include <span>
#include <vector>

using namespace Qt::StringLiterals;

namespace RenamePlanner {
namespace {

// One file of the working list: its input, the parts of its name, and what the stages computed.
struct Entry {
    qsizetype position;
    const PlanInput* input;
    FileNameParts parts;
    PlanOutput output;
    QString stem; // the new name without extension, once the pattern made it
};

QList<Entry> entriesOf(const QList<PlanInput>& inputs)
{
    QList<Entry> entries(inputs.size());
    Entry* const first = entries.data();
    inHalves(inputs.size(), [&](qsizetype begin, qsizetype end) {
        QString folder; // most files share their folder with the one before
        for (qsizetype position = begin; position < end; ++position) {
            first[position] = {
                position, &inputs[position], FileNameParts::of(inputs[position].path, folder), {}, {}};
            folder = first[position].parts.parent;
        }
    });
    return entries;
}

void regexStage(QList<Entry>& entries, const QString& regex)
{
    QString compileError;
    std::optional<RuleRegex> expression;
    if (!regex.isEmpty()) {
        expression = RuleRegex::compile(regex, &compileError);
        if (!expression)
            // The editor shows the parser's words once, where the expression is; each file only says so.
            //: Error shown for every file in the file list while the regular expression has an error
            compileError = KitCatalogue::tr("The regular expression has an error");
    }

    for (Entry& entry : entries) {
        PlanOutput& output = entry.output;
        output.fields = entry.input->baseFields;
        output.resultName = entry.parts.name;
        if (!NameEncoding::isExact(entry.input->path)) {
            //: Error shown for a file in the file list; the placeholder is the name as shown, with � marks
            output.error = KitCatalogue::tr("“%1” can't be renamed: its name, or a name in its folder that "
                                            "reads the same, isn't valid UTF-8 text")
                               .arg(entry.parts.name);
        } else if (!compileError.isEmpty()) {
            output.error = compileError;
        } else if (expression) {
            const auto groups = expression->matchWhole(entry.parts.stem);
            if (!groups) {
                //: Error shown for a file in the file list
                output.error = KitCatalogue::tr("The regular expression doesn't match the whole file name");
                continue;
            }
            for (const auto& [name, text] : *groups)
                output.fields.insert(name, text);
        }
    }
}

// Why each file can't be renamed because it is gone or can't be looked up, by position. It reads only the
// paths, so it can run beside the regex stage.
QList<std::optional<QString>> absenceOf(const QList<Entry>& entries, FolderLookup& disk)
{
    QList<std::optional<QString>> problems(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const FileNameParts& parts = entries[i].parts;
        const int reason = disk.errorOf(parts.parent, parts.name);
        if (reason == ENOENT)
            //: Error shown for a file in the file list; the placeholder is its name
            problems[i] = KitCatalogue::tr("“%1” no longer exists").arg(parts.name);
        else if (reason != 0)
            //: Error shown for a file in the file list; the placeholders are its name and the system's error
            problems[i] = KitCatalogue::tr("“%1” can't be reached: %2")
                              .arg(parts.name, QString::fromLocal8Bit(std::strerror(reason)));
    }
    return problems;
}

// A missing file is told now rather than when the rename fails. It outweighs what the regex said.
void regexAndPresenceStage(QList<Entry>& entries, const QString& regex, FolderLookup& disk)
{
    auto absence = std::async(std::launch::async, [&] { return absenceOf(std::as_const(entries), disk); });
    regexStage(entries, regex);
    const QList<std::optional<QString>> problems = absence.get();
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (problems[i])
            entries[i].output.error = problems[i];
}

// Puts `entries[order[i]]` at i, in place: a second list of 100,000 entries would cost 30 MB.
void permute(QList<Entry>& entries, const std::vector<qsizetype>& order)
{
    std::vector<bool> placed(order.size());
    for (size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        // Walk the cycle through `start`: each place takes its entry from the place `order` names.
        Entry held = std::move(entries[qsizetype(start)]);
        size_t place = start;
        while (size_t(order[place]) != start) {
            const size_t from = size_t(order[place]);
            entries[qsizetype(place)] = std::move(entries[qsizetype(from)]);
            placed[place] = true;
            place = from;
        }
        entries[qsizetype(place)] = std::move(held);
        placed[place] = true;
    }
}

// The order the rules ask for, from the fields the regex left: it reads only those and the paths.
std::vector<qsizetype> orderOf(const QList<Entry>& entries, const RenameRules& rules)
{
    QList<FileOrder::Item> items;
    items.reserve(entries.size());
    for (const Entry& entry : entries)
        items.append({entry.parts.name, entry.input->path, &entry.output.fields});
    return FileOrder(rules.order).sorted(items, rules.reversed);
}

// Numbers the file at `position` of the order, 0 first. A named group "row" keeps its own value.
void number(Fields& fields, qsizetype position)
{
    static const QString row = u"row"_s;
    if (!fields.contains(row))
        fields.insert(row, QString::number(position + 1));
}

// Sorts the entries into `order` and numbers them, for the stages that see the order.
void takeOrder(QList<Entry>& entries, const std::vector<qsizetype>& order)
{
    permute(entries, order);
    Entry* const first = entries.data();
    inHalves(entries.size(), [&](qsizetype begin, qsizetype end) {
        for (qsizetype position = begin; position < end; ++position)
            number(first[position].output.fields, position);
    });
}

// The script's answer for one file: its fields over the file's own, or why it failed.
void takeAnswer(PlanOutput& output, const JSBatchOutputLine& line)
{
    output.logs = line.logs.value_or(QStringList());
    if (line.fields) {
        for (auto it = line.fields->cbegin(); it != line.fields->cend(); ++it)
            output.fields.insert(it.key(), it.value());
    } else {
        //: Error shown for a file in the file list when the JavaScript engine gave no reason
        output.error = line.error ? scriptErrorText(*line.error) : KitCatalogue::tr("The script failed");
    }
}

// Whether the new names depend on the order: through the row, the script's view of the files, or
// which of two files asking for one name keeps it.
bool namesFollowOrder(const RenameRules& rules)
{
    if (!rules.script.isEmpty() || rules.numberDuplicates)
        return true;
    const ResultPattern pattern(rules.pattern);
    return std::any_of(pattern.placeholders().cbegin(), pattern.placeholders().cend(),
                       [](const ResultPattern::Placeholder& placeholder) {
                           return std::any_of(
                               placeholder.readings.cbegin(), placeholder.readings.cend(),
                               [](const ResultPattern::Reading& reading) { return reading.field == u"row"; });
                       });
}

void renderName(Entry& entry, const ResultPattern& resultPattern)
{
    PlanOutput& output = entry.output;
    if (output.error)
        return;
    const ResultPattern::Rendered rendered = resultPattern.render(output.fields);
    entry.stem = rendered.stem;
    output.resultName =
        entry.parts.extension.isEmpty() ? rendered.stem : rendered.stem + u'.' + entry.parts.extension;
    output.error = rendered.error ? rendered.error : validateName(rendered.stem, output.resultName);
    if (!rendered.error && !rendered.unknown.isEmpty())
        output.warning = ResultPattern::unknownFieldWarning(rendered.unknown.first());
}

// Hands on each file's result as soon as the script's answer is taken into it and it is named, in plan
// order, before the collision check that needs every name. The files the script doesn't take go with
// the answered file after them.
class ProvisionalResults {
public:
    ProvisionalResults(const QList<Entry>& entries, const QList<Entry*>& taking, const Provisional& deliver)
        : entries(entries), taking(taking), deliver(deliver)
    {
    }

    // Hands on the files not yet handed on, through the last of the first `taken` files the script takes.
    void handOnThrough(qsizetype taken)
    {
        if (taken == 0)
            return;
        const qsizetype lastRow = taking[taken - 1] - entries.constData();
        Plan files;
        const qsizetype firstRow = handedRows;
        for (; handedRows <= lastRow; ++handedRows)
            files.append({entries[handedRows].position, entries[handedRows].output});
        if (!files.isEmpty())
            deliver(firstRow, std::move(files));
    }

private:
    const QList<Entry>& entries;
    const QList<Entry*>& taking;
    const Provisional& deliver;
    qsizetype handedRows = 0;
};

// The script runs over the files without an error, and each file is named as its answer comes in, while
// the helper works on the next ones: little is left to do once it ends.
void scriptAndPatternStage(QList<Entry>& entries, const RenameRules& rules, const JSEngineClient& engine,
                           std::chrono::milliseconds timeout, const std::stop_token& stop, ScriptMemo* memo,
                           const Provisional& provisional)
{
    QList<Entry*> taking;
    QList<Fields> items;
    for (Entry& entry : entries) {
        if (!entry.output.error) {
            taking.append(&entry);
            items.append(entry.output.fields);
        }
    }
    const ResultPattern resultPattern(rules.pattern);
    qsizetype taken = 0;
    const auto takeNewAnswers = [&](QList<JSBatchOutputLine>& answers) {
        for (; taken < std::min(taking.size(), answers.size()); ++taken) {
            takeAnswer(taking[taken]->output, answers[taken]);
            renderName(*taking[taken], resultPattern);
            if (!memo) // nothing keeps the answer: it is freed here, beside the helper, not after it
                answers[taken] = {};
        }
    };
    std::optional<QList<JSBatchOutputLine>> remembered =
        memo ? memo->answersFor(rules.script, items) : std::nullopt;
    QList<JSBatchOutputLine> lines;
    if (remembered) {
        lines = std::move(*remembered);
    } else {
        ProvisionalResults results(entries, taking, provisional);
        const JSEngineClient::AnswersArrived arrived = [&](QList<JSBatchOutputLine>& answers, qsizetype) {
            takeNewAnswers(answers);
            if (provisional)
                results.handOnThrough(taken);
        };
        lines = engine.evaluate(rules.script, items, {}, timeout, stop, arrived);
    }
    takeNewAnswers(lines);
    if (memo && !remembered && !stop.stop_requested())
        memo->keep(rules.script, items, lines);
}

void patternStage(QList<Entry>& entries, const QString& pattern)
{
    const ResultPattern resultPattern(pattern);
    Entry* const first = entries.data();
    inHalves(entries.size(), [&](qsizetype begin, qsizetype end) {
        for (Entry& entry : std::span(first + begin, first + end))
            renderName(entry, resultPattern);
    });
}

// A file and a new name for it, with the normalised form of the path that name gives it.
struct Candidate {
    Entry* entry;
    QString name; // held here, so that the key's view of it stays valid
    PathNormalizer::Parts key;
};

// The listed paths by their normalised form, each to one of the listed paths that normalise so. The
// listed paths whose form another one shares are also kept whole: with them, whether a target is listed
// exactly needs no set of every path.
struct ListedPaths {
    PathNormalizer normalizer; // holds the forms that the keys below point to; moving it keeps them in place
    QHash<PathNormalizer::Parts, const QString*> normalized;
    QSet<QString> sharingTheirForm;

    bool containsExactly(const QString& path, const QString* lookalike) const
    {
        return path == *lookalike || sharingTheirForm.contains(path);
    }
};

// Whether the target is taken by an item that is not a listed file. A listed file there now is no
// collision (the renamer moves it away first), and the disk is not asked. A target that equals a listed
// path only in case or composition is asked for: on a case-sensitive file system it can be another item,
// and then it is taken unless it is that listed file.
bool isTaken(const Candidate& candidate, const ListedPaths& listed, FolderLookup& disk)
{
    const FileNameParts& parts = candidate.entry->parts;
    // A listed path normalises to its own key: with no key, the exact look is spared.
    const auto lookalike = listed.normalized.constFind(candidate.key);
    if (lookalike == listed.normalized.cend())
        return disk.exists(parts.parent, candidate.name);
    if (listed.containsExactly(joinPath(parts.parent, candidate.name), *lookalike))
        return false;
    const auto target = disk.identityOf(parts.parent, candidate.name);
    if (!target)
        return false;
    const FileNameParts lookalikeParts = FileNameParts::of(**lookalike);
    return target != disk.identityOf(lookalikeParts.parent, lookalikeParts.name);
}

Candidate candidateNamed(Entry& entry, const QString& name, PathNormalizer& normalizer)
{
    Candidate candidate{&entry, name, {}};
    candidate.key = normalizer.of(entry.parts.parent, candidate.name);
    return candidate;
}

void markCollisions(const QList<Candidate>& candidates,
                    const QHash<PathNormalizer::Parts, int>& sharingTarget, const ListedPaths& listed,
                    FolderLookup& disk)
{
    for (const Candidate& candidate : candidates) {
        PlanOutput& output = candidate.entry->output;
        if (sharingTarget.value(candidate.key) > 1) {
            //: Error shown for a file in the file list; the placeholder is the new name
            output.error =
                KitCatalogue::tr("Another file in the list would also be named “%1”").arg(output.resultName);
            continue;
        }
        if (isTaken(candidate, listed, disk))
            //: Error shown for a file in the file list; the placeholder is the new name
            output.error = KitCatalogue::tr("“%1” already exists in this folder").arg(output.resultName);
    }
}

// In planned order, the first file keeps a free name; the others get the first free " (N)" before the
// extension, N from 2. A name another file of the list asks for itself is not free.
void numberCollisions(const QList<Candidate>& candidates,
                      const QHash<PathNormalizer::Parts, int>& sharingTarget, const ListedPaths& listed,
                      FolderLookup& disk, PathNormalizer& normalizer)
{
    QSet<QString> given;            // normalised targets
    QHash<QString, int> nextNumber; // per wished name: where the search for a free one goes on
    for (const Candidate& wished : candidates) {
        const QString wishedForm = wished.key.text();
        if (!given.contains(wishedForm) && !isTaken(wished, listed, disk)) {
            given.insert(wishedForm);
            continue;
        }
        Entry& entry = *wished.entry;
        const QString extension = entry.parts.extension.isEmpty() ? QString() : u'.' + entry.parts.extension;
        int number = nextNumber.value(wishedForm, 2);
        QString numberedStem;
        for (;; ++number) {
            numberedStem = u"%1 (%2)"_s.arg(entry.stem).arg(number);
            entry.output.resultName = numberedStem + extension;
            const Candidate numbered = candidateNamed(entry, entry.output.resultName, normalizer);
            const QString numberedForm = numbered.key.text();
            if (!given.contains(numberedForm) && !sharingTarget.contains(numbered.key) &&
                !isTaken(numbered, listed, disk)) {
                given.insert(numberedForm);
                break;
            }
        }
        nextNumber.insert(wishedForm, number + 1);
        entry.output.error = validateName(numberedStem, entry.output.resultName);
    }
}

ListedPaths listedPathsOf(const QList<Entry>& entries)
{
    ListedPaths listed;
    listed.normalized.reserve(entries.size());
    for (const Entry& entry : entries) {
        const QString* const path = &entry.input->path;
        const QString*& holder = listed.normalized[listed.normalizer.of(*path)];
        if (holder) {
            listed.sharingTheirForm.insert(*holder);
            listed.sharingTheirForm.insert(*path);
        }
        holder = path;
    }
    return listed;
}

void collisionCheck(QList<Entry>& entries, bool numberDuplicates, FolderLookup& disk)
{
    // The listed paths don't depend on the new names: gathered on a second thread meanwhile.
    auto listing = std::async(std::launch::async, [&] { return listedPathsOf(std::as_const(entries)); });
    PathNormalizer normalizer;
    QList<Candidate> candidates;
    candidates.reserve(entries.size());
    QHash<PathNormalizer::Parts, int> sharingTarget; // how many files would be named so
    sharingTarget.reserve(entries.size());
    for (Entry& entry : entries) {
        if (entry.output.error)
            continue;
        ++sharingTarget[candidates.emplace_back(candidateNamed(entry, entry.output.resultName, normalizer))
                            .key];
    }
    const ListedPaths listed = listing.get();

    if (numberDuplicates)
        numberCollisions(candidates, sharingTarget, listed, disk, normalizer);
    else
        markCollisions(candidates, sharingTarget, listed, disk);
}

// The plan of entries already in their order.
Plan planAsListed(QList<Entry>& entries)
{
    Plan result;
    result.reserve(entries.size());
    for (Entry& entry : entries)
        result.append({entry.position, std::move(entry.output)});
    return result;
}

// The plan of entries not yet in `order`, numbered: each output moves once, straight to its place.
Plan planInOrder(QList<Entry>& entries, const std::vector<qsizetype>& order)
{
    Plan result(entries.size());
    PlannedFile* const planned = result.data();
    Entry* const listed = entries.data();
    inHalves(result.size(), [&](qsizetype begin, qsizetype end) {
        for (qsizetype position = begin; position < end; ++position) {
            Entry& entry = listed[order[size_t(position)]];
            number(entry.output.fields, position);
            planned[position] = {entry.position, std::move(entry.output)};
        }
    });
    return result;
}

} // namespace

std::optional<Plan> plan(const QList<PlanInput>& inputs, const RenameRules& rules,
                         const JSEngineClient& engine, std::chrono::milliseconds scriptTimeout,
                         std::stop_token stop, ScriptMemo* memo, const Provisional& provisional)
{
    const Signpost signpost("Plan names", u"%1 files"_s.arg(inputs.size()));
    QList<Entry> entries = entriesOf(inputs);

    FolderLookup disk;
    regexAndPresenceStage(entries, rules.regex, disk);
    // When the names can't depend on the order, it only places and numbers the files: found on a second
    // thread while they are made and checked. Both read the fields; only the numbering, after both, writes.
    std::future<std::vector<qsizetype>> laterOrder;
    if (namesFollowOrder(rules))
        takeOrder(entries, orderOf(entries, rules));
    else
        laterOrder = std::async(std::launch::async, [&] { return orderOf(std::as_const(entries), rules); });
    if (stop.stop_requested())
        return std::nullopt;
    if (rules.script.isEmpty()) {
        patternStage(entries, rules.pattern);
    } else {
        scriptAndPatternStage(entries, rules, engine, scriptTimeout, stop, memo, provisional);
        if (stop.stop_requested())
            return std::nullopt;
    }
    collisionCheck(entries, rules.numberDuplicates, disk);
    return laterOrder.valid() ? planInOrder(entries, laterOrder.get()) : planAsListed(entries);
}

} // namespace RenamePlanner
