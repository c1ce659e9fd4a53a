#include "CommandLine.h"

#include "script/JSEngineClient.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

// Reads the value that follows an option; false, with `error` set, when there is none.
bool takeValue(const QStringList& arguments, qsizetype& i, QString& value, QString* error)
{
    if (i + 1 >= arguments.size()) {
        *error = u"Option %1 needs a value"_s.arg(arguments[i]);
        return false;
    }
    value = arguments[++i];
    return true;
}

} // namespace

QString CommandLine::usage()
{
    return uR"(Usage:
  tessary-cli plan   [RULES] [--json] [-v] [-r] PATH...
  tessary-cli rename [RULES] [--json] [-v] [-r] PATH...
  tessary-cli history [--json] [ID]
  tessary-cli undo   [--json] [ID]
  tessary-cli redo   [--json] [ID]
  tessary-cli recover [--forward]

history lists the last renames, newest first, each with its ID; with an ID, that rename's files.
undo gives the newest rename that has renamed files their old names back, or the rename ID.
redo gives the rename undone last its new names back, or the rename ID.

Rules:
  --regex TEXT         must match each whole name without extension; named groups become fields
  --script TEXT        JavaScript run once per file with `fields`, `context` and `console`
  --script-file FILE   the script, read from FILE
  --pattern TEXT       the new name without extension, such as {filename}-{row} (default {filename})
  --order ORDER        the order that numbers the files and runs the script: name (natural order
                       of the names, the default), listed (as given), or fields such as
                       image.date,image.time,image.subsec (numbers by value, else natural
                       order; files lacking the first field last; ties by name)
  --reverse            number the files in the reverse of that order
  --number-duplicates  number files that would get a taken name: x.jpg, x (2).jpg, x (3).jpg …
  --timeout SECONDS    how long the script may take for one file (default 5)

Options:
  -r, --recursive      rename the files inside folders rather than the folders themselves
  --json               one JSON object per file and line
  -v, --verbose        show every file's fields and script logs
  --forward            recover: complete an interrupted rename instead of rolling it back
  -h, --help           show this help
  --version            show the version
A PATH of - reads NUL-separated paths from standard input, as find -print0 writes them.
)"_s;
}

std::optional<CommandLine> CommandLine::parse(const QStringList& arguments, QString* error)
{
    if (arguments.contains(u"-h"_s) || arguments.contains(u"--help"_s)) {
        error->clear();
        return std::nullopt;
    }
    if (arguments.isEmpty()) {
        *error = u"No command given"_s;
        return std::nullopt;
    }
    CommandLine line;
    const QString& command = arguments.first();
    if (command == u"plan")
        line.command = Command::Plan;
    else if (command == u"rename")
        line.command = Command::Rename;
    else if (command == u"history")
        line.command = Command::History;
    else if (command == u"undo")
        line.command = Command::Undo;
    else if (command == u"redo")
        line.command = Command::Redo;
    else if (command == u"recover")
        line.command = Command::Recover;
    else {
        *error = u"Unknown command “%1”"_s.arg(command);
        return std::nullopt;
    }

    bool onlyPaths = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        QString value;
        if (onlyPaths || argument == u"-" || !argument.startsWith(u'-')) {
            line.paths.append(argument);
        } else if (argument == u"--") {
            onlyPaths = true;
        } else if (argument == u"--json") {
            line.json = true;
        } else if (argument == u"-r" || argument == u"--recursive") {
            line.recursive = true;
        } else if (argument == u"-v" || argument == u"--verbose") {
            line.verbose = true;
        } else if (argument == u"--forward" && line.command == Command::Recover) {
            line.forward = true;
        } else if (argument == u"--reverse") {
            line.rules.reversed = true;
        } else if (argument == u"--number-duplicates") {
            line.rules.numberDuplicates = true;
        } else if (argument == u"--order") {
            if (!takeValue(arguments, i, line.rules.order, error))
                return std::nullopt;
        } else if (argument == u"--regex") {
            if (!takeValue(arguments, i, line.rules.regex, error))
                return std::nullopt;
        } else if (argument == u"--script") {
            if (!takeValue(arguments, i, line.rules.script, error))
                return std::nullopt;
        } else if (argument == u"--pattern") {
            if (!takeValue(arguments, i, line.rules.pattern, error))
                return std::nullopt;
        } else if (argument == u"--script-file") {
            if (!takeValue(arguments, i, value, error))
                return std::nullopt;
            QFile file(value);
            if (!file.open(QIODevice::ReadOnly)) {
                *error = u"Cannot read the script file “%1”: %2"_s.arg(value, file.errorString());
                return std::nullopt;
            }
            line.rules.script = QString::fromUtf8(file.readAll());
        } else if (argument == u"--timeout") {
            if (!takeValue(arguments, i, value, error))
                return std::nullopt;
            bool ok = false;
            const double seconds = value.toDouble(&ok);
            if (!ok || seconds <= 0 || seconds > 86'400) {
                *error = u"The timeout must be a number of seconds above 0, not “%1”"_s.arg(value);
                return std::nullopt;
            }
            line.scriptTimeout = std::chrono::milliseconds(qint64(seconds * 1000));
        } else {
            *error = u"Unknown option “%1”"_s.arg(argument);
            return std::nullopt;
        }
    }
    const bool takesPaths = line.command == Command::Plan || line.command == Command::Rename;
    const bool takesId =
        line.command == Command::History || line.command == Command::Undo || line.command == Command::Redo;
    if (takesId && line.paths.size() == 1)
        line.id = line.paths.takeFirst();
    if (!takesPaths && !line.paths.isEmpty()) {
        *error = takesId
                     ? u"%1 takes one rename ID at most, as tessary-cli history lists them"_s.arg(command)
                     : u"%1 takes no paths: it works on the renames recorded in the journal"_s.arg(command);
        return std::nullopt;
    }
    if (takesPaths && line.paths.isEmpty()) {
        *error = u"No files given"_s;
        return std::nullopt;
    }
    return line;
}
