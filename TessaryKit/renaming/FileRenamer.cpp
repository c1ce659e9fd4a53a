#include "renaming/FileRenamer.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "common/InHalves.h"
#include "common/KitCatalogue.h"
#include "common/PathNormalizer.h"
#include "common/Signpost.h"
#include "platform/NonReplacingMover.h"
#include "renaming/MoveFailure.h"

#include <QUuid>
#include <QVarLengthArray>
#include <numeric>
#include <vector>

using namespace Qt::StringLiterals;

namespace FileRenamer {
namespace {

const QString temporaryPrefix = u".tessary-"_s;

// One group's moves. On the first failure the moves made so far are reversed, newest first, so that each
// name is free again when its file comes back.
class GroupRun {
public:
    GroupRun(const QList<RenameOperation>& operations, const QStringList& temporaryNames, FileMover& mover,
             QStringList& places)
        : operations(operations), temporaryNames(temporaryNames), mover(mover), places(places)
    {
    }

    void run(Groups::Group members, Result& result)
    {
        // Most groups are one file: small arrays in place spare two allocations per move.
        QVarLengthArray<qsizetype, 4> parking, direct;
        for (const qsizetype i : members)
            (temporaryNames[i].isEmpty() ? direct : parking).append(i);
        const bool done = std::all_of(parking.cbegin(), parking.cend(),
                                      [&](qsizetype i) { return step(i, temporaryPath(i)); }) &&
                          std::all_of(direct.cbegin(), direct.cend(),
                                      [&](qsizetype i) { return step(i, operations[i].destination); }) &&
                          std::all_of(parking.cbegin(), parking.cend(),
                                      [&](qsizetype i) { return step(i, operations[i].destination); });
        if (!done)
            reverse();
        report(members, result);
    }

private:
    struct Move {
        qsizetype operation;
        QString from;
    };

    QString temporaryPath(qsizetype i) const
    {
        return joinPath(FileNameParts::parentOf(operations[i].source), temporaryNames[i]);
    }

    bool step(qsizetype i, const QString& to)
    {
        if (const int reason = mover.move(places[i], to)) {
            failed = i;
            failedReason = reason;
            failedFrom = places[i];
            return false;
        }
        made.append({i, places[i]});
        places[i] = to;
        return true;
    }

    void reverse()
    {
        for (auto move = made.crbegin(); move != made.crend(); ++move)
            if (mover.move(places[move->operation], move->from) == 0)
                places[move->operation] = move->from;
    }

    bool isParked(qsizetype i) const { return !temporaryNames[i].isEmpty() && places[i] == temporaryPath(i); }

    // A file that could not come back keeps a visible name if its destination is free.
    void unpark(qsizetype i)
    {
        if (isParked(i) && mover.move(places[i], operations[i].destination) == 0)
            places[i] = operations[i].destination;
    }

    void report(Groups::Group members, Result& result)
    {
        for (const qsizetype i : members) {
            unpark(i);
            const RenameOperation& operation = operations[i];
            if (places[i] == operation.destination)
                continue;
            QString message;
            if (i == failed)
                message = moveFailureMessage(FileNameParts::nameOf(operation.source),
                                             FileNameParts::nameOf(operation.destination), failedReason,
                                             failedFrom);
            else
                message = keptNameMessage(operation.source, operations[*failed].source);
            if (isParked(i)) {
                const QString temporaryName = FileNameParts::nameOf(places[i]);
                qCCritical(renameLog, "Failed to restore %s from %s",
                           qUtf8Printable(Diagnostics::privateValue(operation.source)),
                           qUtf8Printable(temporaryName));
                //: Error shown for a file in the file list; the placeholders are the system's error message
                //: and the temporary file name
                message = KitCatalogue::tr("%1 The file was left as “%2” in the same folder.")
                              .arg(message, temporaryName);
                result.stranded.insert(operation.id, places[i]);
            }
            result.failures.insert(operation.id, message);
        }
    }

    const QList<RenameOperation>& operations;
    const QStringList& temporaryNames;
    FileMover& mover;
    QStringList& places; // where each operation's file is now
    QVarLengthArray<Move, 4> made;
    std::optional<qsizetype> failed;
    int failedReason = 0;
    QString failedFrom;
};

// Every source's normalised path, then every destination's: made on two threads, as normalising and hashing
// 200,000 paths is most of the layout's work. Sources and destinations have a normaliser each, for the run
// of paths in one folder that each keeps.
class NormalizedPaths {
public:
    explicit NormalizedPaths(const QList<RenameOperation>& operations) : parts(2 * size_t(operations.size()))
    {
        const qsizetype count = operations.size();
        inHalves(count, [&](qsizetype begin, qsizetype end) {
            PathNormalizer* const normalizer = begin == 0 ? firstHalf : secondHalf;
            for (qsizetype i = begin; i < end; ++i) {
                parts[size_t(i)] = normalizer[0].of(operations[i].source);
                parts[size_t(count + i)] = normalizer[1].of(operations[i].destination);
            }
        });
    }
    const PathNormalizer::Parts& operator[](qsizetype k) const { return parts[size_t(k)]; }

private:
    PathNormalizer firstHalf[2];
    PathNormalizer secondHalf[2];
    std::vector<PathNormalizer::Parts> parts;
};

} // namespace

Groups::Groups(const std::vector<qsizetype>& groupOf, qsizetype groupCount)
    : members(groupOf.size()), ends(size_t(groupCount))
{
    for (const qsizetype group : groupOf)
        ++ends[size_t(group)];
    // Each group's start; then placing each member at its group's next place leaves each group's end.
    std::exclusive_scan(ends.cbegin(), ends.cend(), ends.begin(), size_t(0));
    for (size_t i = 0; i < groupOf.size(); ++i)
        members[ends[size_t(groupOf[i])]++] = qsizetype(i);
}

void Groups::append(Group group)
{
    members.insert(members.end(), group.begin(), group.end());
    ends.push_back(members.size());
}

QString keptNameMessage(const QString& source, const QString& failedSource)
{
    //: Error shown for a file in the file list; %1 is this file's name, %2 the name of the file
    //: of the same swap, rotation or chain whose move failed
    return KitCatalogue::tr("“%1” kept its name because “%2” couldn't be renamed.")
        .arg(FileNameParts::nameOf(source), FileNameParts::nameOf(failedSource));
}

// Groups are the connected parts of the graph whose edges are "my destination is your source", under the
// renamer's comparison of names.
Layout layoutOf(const QList<RenameOperation>& operations)
{
    const qsizetype count = operations.size();
    std::vector<qsizetype> parent(static_cast<size_t>(count));
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&](qsizetype i) {
        while (parent[size_t(i)] != i)
            i = parent[size_t(i)] = parent[size_t(parent[size_t(i)])];
        return i;
    };
    struct Holder {
        qsizetype first = 0; // the first operation that names the path, plus one: 0 is a path not seen yet
        bool isSource = false;
    };
    const NormalizedPaths normalized(operations);
    QHash<PathNormalizer::Parts, Holder> holders;
    holders.reserve(2 * count);
    const auto join = [&](qsizetype i, qsizetype k) -> Holder& {
        Holder& holder = holders[normalized[k]];
        if (holder.first == 0)
            holder.first = i + 1;
        else
            parent[size_t(root(i))] = root(holder.first - 1);
        return holder;
    };
    for (qsizetype i = 0; i < count; ++i)
        join(i, i).isSource = true;
    Layout layout;
    layout.parks.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        // Every source was joined first: the holder knows whether a listed file has the name now.
        layout.parks.append(join(i, count + i).isSource && normalized[count + i] != normalized[i]);
    }
    std::vector<qsizetype> groupOfRoot(parent.size(), -1);
    std::vector<qsizetype> groupOf(parent.size());
    qsizetype groupCount = 0;
    for (qsizetype i = 0; i < count; ++i) {
        qsizetype& group = groupOfRoot[size_t(root(i))];
        if (group < 0)
            group = groupCount++;
        groupOf[size_t(i)] = group;
    }
    layout.groups = Groups(groupOf, groupCount);
    return layout;
}

QString newTemporaryName()
{
    return temporaryPrefix + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

bool isTemporaryName(const QString& name)
{
    return name.startsWith(temporaryPrefix);
}

Result perform(const QList<RenameOperation>& operations)
{
    NonReplacingMover mover;
    return perform(operations, mover);
}

Result perform(const QList<RenameOperation>& operations, FileMover& mover)
{
    const Layout layout = layoutOf(operations);
    QStringList temporaryNames;
    temporaryNames.reserve(operations.size());
    for (const bool parks : layout.parks)
        temporaryNames.append(parks ? newTemporaryName() : QString());
    return perform(operations, temporaryNames, layout.groups, mover);
}

Result perform(const QList<RenameOperation>& operations, const QStringList& temporaryNames, FileMover& mover)
{
    return perform(operations, temporaryNames, layoutOf(operations).groups, mover);
}

Result perform(const QList<RenameOperation>& operations, const QStringList& temporaryNames,
               const Groups& groups, FileMover& mover)
{
    const Signpost signpost("Rename files", u"%1 files"_s.arg(operations.size()));
    Result result;
    if (temporaryNames.size() != operations.size()) {
        // Names that don't match the operations can't be the ones a journal recorded: nothing moves.
        qCCritical(renameLog, "%lld temporary names for %lld renames", qint64(temporaryNames.size()),
                   qint64(operations.size()));
        for (const RenameOperation& operation : operations)
            //: Error shown for a file when a rename was refused because of an internal fault
            result.failures.insert(operation.id, KitCatalogue::tr("Tessary made a mistake preparing this "
                                                                  "rename, so nothing was renamed."));
        return result;
    }
    QStringList places;
    places.reserve(operations.size());
    for (const RenameOperation& operation : operations)
        places.append(operation.source);
    for (const Groups::Group group : groups)
        GroupRun(operations, temporaryNames, mover, places).run(group, result);
    if (!result.failures.isEmpty())
        qCWarning(renameLog, "%lld of %lld renames failed", qint64(result.failures.size()),
                  qint64(operations.size()));
    return result;
}

} // namespace FileRenamer
