#pragma once

#include "planning/RenameSession.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

// What the user asked tessary-cli for.
struct CommandLine {
    enum class Command { Plan, Rename, History, Undo, Redo, Recover };

    Command command = Command::Plan;
    RenameRules rules = RenameSession::defaultRules();
    std::chrono::milliseconds scriptTimeout = RenameSession::defaultScriptTimeout;
    bool json = false;
    bool recursive = false;
    bool verbose = false;
    bool forward = false; // recover by completing the interrupted rename instead of rolling it back
    QStringList paths;    // as given; "-" stands for NUL-separated paths on standard input
    QString id;           // the rename that history, undo or redo is about; empty: the command's default

    // Nothing when the arguments are not understood; `error` then says why in one line. `--help` gives
    // nothing with an empty error.
    static std::optional<CommandLine> parse(const QStringList& arguments, QString* error);
    static QString usage();
};
