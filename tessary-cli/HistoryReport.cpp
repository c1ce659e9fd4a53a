#include "HistoryReport.h"

#include "Report.h"
#include "common/FileNameParts.h"
#include "renaming/journal/RenameHistory.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace HistoryReport {
namespace {

void write(const QString& line)
{
    std::puts(line.toUtf8().constData());
}

void write(const QJsonObject& object)
{
    write(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

QString stateName(JournalSummary::State state)
{
    switch (state) {
    case JournalSummary::State::Done:
        return u"done"_s;
    case JournalSummary::State::Undone:
        return u"undone"_s;
    case JournalSummary::State::PartlyUndone:
        return u"partly undone"_s;
    case JournalSummary::State::Interrupted:
        break;
    }
    return u"interrupted"_s;
}

QString stateName(RenameHistory::FileState state)
{
    switch (state) {
    case RenameHistory::FileState::Renamed:
        return u"renamed"_s;
    case RenameHistory::FileState::Restored:
        return u"restored"_s;
    case RenameHistory::FileState::NotRenamed:
        return u"not renamed"_s;
    case RenameHistory::FileState::Interrupted:
        break;
    }
    return u"interrupted"_s;
}

// One folder as it is; several as the folder that holds them all.
QString whereText(const QStringList& folders)
{
    if (folders.size() == 1)
        return Report::printable(withHomeAsTilde(folders.first()));
    return u"%1 folders in %2"_s.arg(folders.size())
        .arg(Report::printable(withHomeAsTilde(RenameHistory::commonFolder(folders))));
}

QString rulesText(const RenameRules& rules)
{
    QStringList parts;
    if (!rules.regex.isEmpty())
        parts.append(u"regex “%1”"_s.arg(Report::printable(rules.regex)));
    if (!rules.script.isEmpty())
        parts.append(rules.script.contains(u'\n') ? u"script of %1 lines"_s.arg(rules.script.count(u'\n') + 1)
                                                  : u"one-line script"_s);
    parts.append(u"pattern “%1”"_s.arg(Report::printable(rules.pattern)));
    if (rules.order != u"name")
        parts.append(u"order %1"_s.arg(Report::printable(rules.order)));
    if (rules.reversed)
        parts.append(u"reversed"_s);
    if (rules.numberDuplicates)
        parts.append(u"duplicates numbered"_s);
    return parts.join(u", "_s);
}

QJsonObject rulesObject(const RenameRules& rules)
{
    return {{u"regex"_s, rules.regex},      {u"script"_s, rules.script},
            {u"pattern"_s, rules.pattern},  {u"order"_s, rules.order},
            {u"reverse"_s, rules.reversed}, {u"numberDuplicates"_s, rules.numberDuplicates}};
}

QString timeText(qint64 milliseconds)
{
    return QDateTime::fromMSecsSinceEpoch(milliseconds).toString(u"yyyy-MM-dd HH:mm"_s);
}

} // namespace

void list(const QList<JournalSummary>& history, bool json)
{
    for (const JournalSummary& summary : history) {
        const QString state = stateName(summary.state());
        if (json) {
            QJsonObject object{
                {u"id"_s, summary.id()},
                {u"time"_s, QDateTime::fromMSecsSinceEpoch(summary.created).toString(Qt::ISODateWithMs)},
                {u"files"_s, summary.renamed},
                {u"undone"_s, summary.undone},
                {u"state"_s, state},
                {u"folders"_s, QJsonArray::fromStringList(summary.folders)},
                {u"rules"_s, summary.rules ? QJsonValue(rulesObject(*summary.rules)) : QJsonValue()}};
            write(object);
            continue;
        }
        const QString files = summary.renamed == 1 ? u"1 file"_s : u"%1 files"_s.arg(summary.renamed);
        write(u"%1  %2  %3  %4  %5"_s.arg(summary.id(), timeText(summary.created), files.leftJustified(11),
                                          state.leftJustified(13), whereText(summary.folders)));
        if (summary.rules)
            write(u"          "_s + rulesText(*summary.rules));
    }
}

void files(const JournalEntry& entry, bool json)
{
    for (const JournalOperation& operation : entry.operations) {
        const RenameOperation& move = operation.operation;
        const QString state = stateName(RenameHistory::stateOf(entry, operation));
        if (json) {
            write(QJsonObject{{u"from"_s, move.source}, {u"to"_s, move.destination}, {u"state"_s, state}});
            continue;
        }
        QString row =
            u"%1  →  %2  (%3)"_s.arg(Report::printable(FileNameParts::nameOf(move.source)),
                                     Report::printable(FileNameParts::nameOf(move.destination)), state);
        if (const auto failure = entry.failures.constFind(move.id); failure != entry.failures.cend())
            row += u"\n    "_s + Report::printable(*failure);
        write(row);
    }
}

} // namespace HistoryReport
