#include "UndoRecord.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace UndoRecord {

QString location()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty())
        state = QDir::homePath() + u"/.local/state"_s;
    return state + u"/org.tessary.Tessary/cli-last-rename.json"_s;
}

QList<RenameOperation> load()
{
    QFile file(location());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<RenameOperation> operations;
    for (const QJsonValue value : QJsonDocument::fromJson(file.readAll()).array()) {
        const QJsonObject object = value.toObject();
        operations.append({object.value(u"id"_s).toString(), object.value(u"source"_s).toString(),
                           object.value(u"destination"_s).toString()});
    }
    return operations;
}

bool save(const QList<RenameOperation>& operations)
{
    if (operations.isEmpty())
        return !QFile::exists(location()) || QFile::remove(location());
    QJsonArray array;
    for (const RenameOperation& operation : operations)
        array.append(QJsonObject{{u"id"_s, operation.id},
                                 {u"source"_s, operation.source},
                                 {u"destination"_s, operation.destination}});
    QDir().mkpath(QFileInfo(location()).path());
    QSaveFile file(location()); // written whole or not at all
    return file.open(QIODevice::WriteOnly) &&
           file.write(QJsonDocument(array).toJson(QJsonDocument::Compact)) >= 0 && file.commit();
}

} // namespace UndoRecord
