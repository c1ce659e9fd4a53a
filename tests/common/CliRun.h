#pragma once

#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

// tessary-cli run as a program, in `folder`, with its journal under `stateFolder`.
struct CliRun {
    int exitCode = -1;
    QString output;
    QString error;

    // `inChild` runs in the child before the program starts, to change what it inherits.
    static CliRun of(const QStringList& arguments, const QString& folder, const QString& stateFolder,
                     const QByteArray& input = QByteArray(), const QHash<QString, QString>& variables = {},
                     const std::function<void()>& inChild = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_STATE_HOME"), stateFolder);
        for (auto it = variables.cbegin(); it != variables.cend(); ++it)
            environment.insert(it.key(), it.value());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder);
        if (inChild)
            process.setChildProcessModifier(inChild);
        process.start(QStringLiteral(TESSARY_CLI_PATH), arguments);
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(120'000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
};
