#include "FileRenamer.h"

#include "Diagnostics.h"
#include "FileNameParts.h"
#include "KitCatalogue.h"
#include "MoveFailure.h"
#include "NormalizedPath.h"
#include "Signpost.h"

#include <QSet>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace FileRenamer {
namespace {

QString nameOf(const QString& path)
{
    return FileNameParts::of(path).name;
}

// Why `operation` failed, named as the user knows the file: by its source and destination.
QString failure(const RenameOperation& operation, int reason, const QString& movedFrom)
{
    return moveFailureMessage(nameOf(operation.source), nameOf(operation.destination), reason, movedFrom);
}

struct Parked {
    const RenameOperation* operation;
    QString temporary;
};

} // namespace

QString newTemporaryName()
{
    return u".tessary-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

QList<bool> parksFirst(const QList<RenameOperation>& operations)
{
    QSet<QString> occupied;
    occupied.reserve(operations.size());
    for (const RenameOperation& operation : operations)
        occupied.insert(normalizedPath(operation.source));
    QList<bool> parks;
    parks.reserve(operations.size());
    for (const RenameOperation& operation : operations) {
        const QString destination = normalizedPath(operation.destination);
        parks.append(destination != normalizedPath(operation.source) && occupied.contains(destination));
    }
    return parks;
}

Failures perform(const QList<RenameOperation>& operations)
{
    NonReplacingMover mover;
    return perform(operations, mover);
}

Failures perform(const QList<RenameOperation>& operations, FileMover& mover)
{
    QStringList temporaryNames;
    temporaryNames.reserve(operations.size());
    for (const bool parks : parksFirst(operations))
        temporaryNames.append(parks ? newTemporaryName() : QString());
    return perform(operations, temporaryNames, mover);
}

Failures perform(const QList<RenameOperation>& operations, const QStringList& temporaryNames,
                 FileMover& mover)
{
    const Signpost signpost("Rename files", u"%1 files"_s.arg(operations.size()));
    Failures failures;

    // A destination that another listed file holds now is freed only once that file has moved: such
    // files park under their temporary name first (parksFirst chose them).
    QList<qsizetype> viaTemporary;
    QList<const RenameOperation*> direct;
    for (qsizetype i = 0; i < operations.size(); ++i) {
        if (!temporaryNames[i].isEmpty())
            viaTemporary.append(i);
        else
            direct.append(&operations[i]);
    }

    QList<Parked> parked;
    for (const qsizetype i : viaTemporary) {
        const RenameOperation* operation = &operations[i];
        const QString temporary = joinPath(FileNameParts::of(operation->source).parent, temporaryNames[i]);
        if (const int reason = mover.move(operation->source, temporary))
            failures.insert(operation->id, failure(*operation, reason, operation->source));
        else
            parked.append({operation, temporary});
    }

    for (const RenameOperation* operation : direct) {
        if (const int reason = mover.move(operation->source, operation->destination))
            failures.insert(operation->id, failure(*operation, reason, operation->source));
    }

    for (const auto& [operation, temporary] : parked) {
        const int reason = mover.move(temporary, operation->destination);
        if (reason == 0)
            continue;
        const QString firstError = failure(*operation, reason, temporary);
        const int backReason = mover.move(temporary, operation->source);
        if (backReason == 0) {
            failures.insert(operation->id, firstError);
            continue;
        }
        const QString temporaryName = nameOf(temporary);
        qCCritical(renameLog, "Failed to restore %s from %s: %s",
                   qUtf8Printable(Diagnostics::privateValue(operation->source)),
                   qUtf8Printable(temporaryName),
                   qUtf8Printable(
                       moveFailureMessage(temporaryName, nameOf(operation->source), backReason, temporary)));
        //: Error shown for a file in the file list; the placeholders are the system's error message and the
        //: temporary file name
        failures.insert(operation->id, KitCatalogue::tr("%1 The file was left as “%2” in the same folder.")
                                           .arg(firstError, temporaryName));
    }

    if (!failures.isEmpty())
        qCWarning(renameLog, "%lld of %lld renames failed", qint64(failures.size()),
                  qint64(operations.size()));
    return failures;
}

} // namespace FileRenamer
