#include "model/RenameHistoryList.h"

#include "common/FileNameParts.h"
#include "renaming/journal/RenameHistory.h"

#include <QDateTime>
#include <QLocale>
#include <QtConcurrent/QtConcurrentRun>

using namespace Qt::StringLiterals;

RenameHistoryList::RenameHistoryList(QString journalFolder, QObject* parent)
    : QAbstractTableModel(parent), folder(std::move(journalFolder))
{
}

std::optional<JournalSummary> RenameHistoryList::undoTarget() const
{
    return RenameHistory::undoTarget(history);
}

std::optional<JournalSummary> RenameHistoryList::redoTarget() const
{
    return RenameHistory::redoTarget(history);
}

void RenameHistoryList::refresh()
{
    const quint64 request = ++serial;
    lifeline.then(QtConcurrent::run([folder = folder] { return RenameHistory::list(folder); }),
                  [this, request](const QList<JournalSummary>& listed) {
                      if (request != serial)
                          return;
                      beginResetModel();
                      history = listed;
                      endResetModel();
                      Q_EMIT refreshed();
                  });
}

QString RenameHistoryList::stateText(JournalSummary::State state)
{
    switch (state) {
    case JournalSummary::State::Done:
        //: State of a rename in the Rename History window
        return tr("Done");
    case JournalSummary::State::Undone:
        //: State of a rename in the Rename History window
        return tr("Undone");
    case JournalSummary::State::PartlyUndone:
        //: State of a rename in the Rename History window
        return tr("Partly undone");
    case JournalSummary::State::Interrupted:
        break;
    }
    //: State of a rename in the Rename History window
    return tr("Interrupted");
}

QString RenameHistoryList::rulesText(const std::optional<RenameRules>& rules)
{
    if (!rules)
        //: Rules column of the Rename History window, for a rename recorded without its rules
        return tr("Not recorded");
    QStringList parts;
    if (!rules->regex.isEmpty())
        //: Part of the rules column of the Rename History window; the placeholder is the regular expression
        parts.append(tr("Regex %1").arg(rules->regex));
    if (!rules->script.isEmpty())
        //: Part of the rules column of the Rename History window
        parts.append(tr("Script"));
    parts.append(rules->pattern);
    return parts.join(u"  ·  "_s);
}

QString RenameHistoryList::folderText(const QStringList& folders)
{
    if (folders.size() == 1)
        return withHomeAsTilde(folders.first());
    //: Folder column of the Rename History window; %1 is the folder that holds all of them, %n their number
    return tr("%1 (%n folders)", nullptr, int(folders.size()))
        .arg(withHomeAsTilde(RenameHistory::commonFolder(folders)));
}

int RenameHistoryList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(history.size());
}

int RenameHistoryList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RenameHistoryList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= history.size())
        return {};
    const JournalSummary& summary = history[index.row()];
    if (role == Qt::ToolTipRole && index.column() == FolderColumn)
        return summary.folders.join(u'\n');
    if (role == Qt::ToolTipRole && index.column() == RulesColumn && summary.rules)
        return summary.rules->script.isEmpty() ? rulesText(summary.rules) : summary.rules->script;
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (Column(index.column())) {
    case WhenColumn:
        return QLocale().toString(QDateTime::fromMSecsSinceEpoch(summary.created), QLocale::ShortFormat);
    case FilesColumn:
        return QLocale().toString(summary.renamed);
    case FolderColumn:
        return folderText(summary.folders);
    case RulesColumn:
        return rulesText(summary.rules);
    case StateColumn:
        return stateText(summary.state());
    case ColumnCount:
        break;
    }
    return {};
}

QVariant RenameHistoryList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (Column(section)) {
    case WhenColumn:
        //: Column of the Rename History window
        return tr("Date");
    case FilesColumn:
        //: Column of the Rename History window
        return tr("Files");
    case FolderColumn:
        //: Column of the Rename History window
        return tr("Folder");
    case RulesColumn:
        //: Column of the Rename History window
        return tr("Rules");
    case StateColumn:
        //: Column of the Rename History window
        return tr("State");
    case ColumnCount:
        break;
    }
    return {};
}
