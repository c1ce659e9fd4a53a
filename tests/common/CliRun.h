#pragma once

#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>

// tessary-cli run as a program, in `folder`, with its journal under `stateFolder`.
struct CliRun {
    int exitCode = -1;
    QString output;
    QString error;

    static CliRun of(const QStringList& arguments, const QString& folder, const QString& stateFolder,
                     const QByteArray& input = QByteArray(), const QHash<QString, QString>& variables = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_STATE_HOME"), stateFolder);
        for (auto it = variables.cbegin(); it != variables.cend(); ++it)
            environment.insert(it.key(), it.value());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder);
        process.start(QStringLiteral(TESSARY_CLI_PATH), arguments);
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(120'000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
};
