#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>

// Real files for the tests that move them: each file holds its own first name as content, so that after
// any number of moves it can be told where every file went and that none was lost or overwritten.
namespace TestFolder {

inline void create(const QString& folder, const QStringList& names)
{
    for (const QString& name : names) {
        const QString path = QDir(folder).filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("Cannot create the test file %s", qPrintable(path));
        file.write(name.toUtf8());
    }
}

// Every entry of `folder`, hidden ones too, with its content; folders show as "<folder>".
inline QMap<QString, QString> contents(const QString& folder)
{
    QMap<QString, QString> result;
    const auto entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        QFile file(entry.filePath());
        result.insert(entry.fileName(), entry.isDir()                    ? QStringLiteral("<folder>")
                                        : file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll())
                                                                         : QStringLiteral("<unreadable>"));
    }
    return result;
}

} // namespace TestFolder
