#include "UndoRecord.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace UndoRecord {
namespace {

constexpr quint32 magic = 0x54455355; // "TESU"
constexpr quint32 version = 1;

} // namespace

QString location()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty())
        state = QDir::homePath() + u"/.local/state"_s;
    return state + u"/org.tessary.Tessary/cli-last-rename"_s;
}

QList<RenameOperation> load()
{
    QFile file(location());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QDataStream stream(&file);
    quint32 fileMagic = 0, fileVersion = 0;
    qint64 count = 0;
    stream >> fileMagic >> fileVersion >> count;
    if (fileMagic != magic || fileVersion != version || count < 0)
        return {};
    QList<RenameOperation> operations;
    for (qint64 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        RenameOperation operation;
        stream >> operation.id >> operation.source >> operation.destination;
        operations.append(operation);
    }
    return stream.status() == QDataStream::Ok ? operations : QList<RenameOperation>();
}

bool save(const QList<RenameOperation>& operations)
{
    if (operations.isEmpty())
        return !QFile::exists(location()) || QFile::remove(location());
    QDir().mkpath(QFileInfo(location()).path());
    QSaveFile file(location()); // written whole or not at all
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream stream(&file);
    stream << magic << version << qint64(operations.size());
    for (const RenameOperation& operation : operations)
        stream << operation.id << operation.source << operation.destination;
    return stream.status() == QDataStream::Ok && file.commit();
}

} // namespace UndoRecord
