#pragma once

#include "planning/FileOrder.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

// The rules of one past rename, as the Recent menu offers them.
struct RenameHistory {
    QString regex;
    QString script;
    QString pattern;
    QDateTime used; // when these rules were last used for a rename
    QString order = FileOrder::byName;
    bool numberDuplicates = false;

    friend bool operator==(const RenameHistory&, const RenameHistory&) = default;
};

// The rules of the newest renames, in an SQLite file "default.store". A file of an older schema is
// migrated in place, in one transaction. A file that cannot be opened or migrated, is damaged, or was
// written by a newer Tessary is left alone: the history then lives in memory for this run.
// Main thread only; the store is a few rows.
class RenameHistoryStore : public QObject {
    Q_OBJECT

public:
    static constexpr int schemaVersion = 1'01'00; // 1.1.0, kept in the file's user_version
    static constexpr qsizetype capacity = 10;

    // $XDG_DATA_HOME/org.tessary.Tessary
    static QString defaultFolder();

    explicit RenameHistoryStore(const QString& folder, QObject* parent = nullptr);
    ~RenameHistoryStore() override;

    bool isPersistent() const { return persistent; }
    // Newest first.
    QList<RenameHistory> entries() const { return current; }

    // Records that these rules were used now: an entry with the same rules moves to the top.
    void saveHistory(const QString& regex, const QString& script, const QString& pattern,
                     const QString& order = FileOrder::byName, bool numberDuplicates = false);

Q_SIGNALS:
    void entriesChanged();

private:
    std::optional<QString> open(const QString& file);
    std::optional<QString> save(const RenameHistory& rules);
    void reload();

    QString connection;
    bool persistent = false;
    QList<RenameHistory> current;
};
