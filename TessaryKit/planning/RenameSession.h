#pragma once

#include "planning/FileRecord.h"
#include "planning/RenamePlanner.h"
#include "renaming/RenameOperation.h"
#include "renaming/journal/JournaledRename.h"

#include <QSet>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The rename workflow that both front ends drive: the listed files, the rules, the latest plan, whether
// Rename is possible and why not, and the rename and undo with their results per file. One thread owns a
// session; the long work (`plan`, `move`) is static, runs where the owner wants it, and its result is
// handed back to the session.
class RenameSession {
public:
    // Learns of every change to the file list, so that a view can follow it.
    class Observer {
    public:
        virtual ~Observer() = default;
        virtual void filesAboutToBeAdded(qsizetype first, qsizetype last) = 0;
        virtual void filesAdded() = 0;
        virtual void filesAboutToBeRemoved(qsizetype first, qsizetype last) = 0;
        virtual void filesRemoved() = 0;
        virtual void filesAboutToBeCleared() = 0;
        virtual void filesCleared() = 0;
        virtual void filesAboutToBeReordered() = 0;
        virtual void filesReordered() = 0;
        // One call per run of adjacent files whose record changed.
        virtual void filesChanged(qsizetype first, qsizetype last) = 0;
    };

    // Work the owner does outside the session that Rename waits for.
    enum class Activity { Idle, Computing };

    // The counts the window's status bar and the command line's summary show.
    struct Tally {
        qsizetype files = 0;
        qsizetype changed = 0;
        qsizetype renamed = 0;
        qsizetype errors = 0;
        qsizetype warnings = 0; // of files without an error
    };

    // One plan computation, copied out of the session so that a worker can run it.
    struct PlanJob {
        QList<PlanInput> inputs;
        RenameRules rules;
        std::shared_ptr<ScriptMemo> scriptMemo; // the list's, outliving the session if need be
        // Each input's fields as the last plan left them: a result whose fields are equal shares them,
        // so that taking the plan on the main thread compares them at once.
        QList<Fields> shownFields;
    };

    // A rename, undo or redo, prepared by the session, run by `move`, and finished by the session.
    struct MoveJob {
        enum class Kind { Rename, Undo, Redo };
        Kind kind = Kind::Rename;
        QList<RenameOperation> operations; // what a rename moves
        std::optional<RenameRules> rules;  // what a rename records
        QString entryFile;                 // the rename an undo or redo reverses, read afresh when it runs
        QSet<QString> ids;                 // the listed files it concerns
        QString journalFolder;
    };

    // What `move` hands back: the outcome, or nothing and why.
    struct MoveResult {
        std::optional<JournaledRename::Outcome> outcome;
        QString error;
    };

    static constexpr std::chrono::milliseconds defaultScriptTimeout = JSEngineClient::defaultTimeout;
    static RenameRules defaultRules();
    // The fields every file has before any rule ran, in the order the rules form lists them.
    static QStringList alwaysPresentFields();

    // `journalFolder` holds the rename journal through which renames and undos run.
    explicit RenameSession(QString journalFolder, RenameRules rules = defaultRules());

    void setObserver(Observer* value) { observer = value; }

    const std::vector<FileRecord>& files() const { return records; }
    const FileRecord& at(qsizetype position) const { return records[size_t(position)]; }
    qsizetype size() const { return qsizetype(records.size()); }
    bool isEmpty() const { return records.empty(); }
    const RenameRules& rules() const { return currentRules; }
    // Whether they differ from the current ones.
    bool setRules(const RenameRules& rules);

    // The listed files can change only before a rename.
    bool acceptsFiles() const { return !moving && !renamedAny; }
    // `paths` made absolute and unique, without the ones listed.
    QStringList unlisted(const QStringList& paths) const;
    // Appends the files of `paths` not listed yet, with the base fields read from them.
    void add(const QStringList& paths, const QList<Fields>& baseFields);
    void remove(const QSet<QString>& ids);
    // Puts the files in the order of `positions`, a permutation of their positions; whether it changed it.
    // Under the "listed" order the files are numbered anew at once, so that a view that follows the plan's
    // order shows them where they were put before the next plan confirms it.
    bool reorder(const std::vector<qsizetype>& positions);
    // Forgets the files and what Undo would restore.
    void clear();

    PlanJob planJob() const;
    // Gives the memory of freed plans back to the system: the C library would keep a hundred megabytes
    // after a plan of 100,000 files. It holds the allocator's locks while it walks the heap, tens of
    // milliseconds at that size: call it off the main thread, at a pause.
    static void giveBackFreedMemory();
    // Sets memory aside at once for the records, plan and journal of `files` files, at least as many as a
    // usual command handles: page faults can cost more than the renames. For a process that ends with its
    // work, as the command line's does: it keeps the memory.
    static void reserveMemoryFor(qsizetype files);
    // Blocks while the script runs. Nothing when `stop` was requested.
    static std::optional<RenamePlanner::Plan> plan(const PlanJob& job, const JSEngineClient& engine,
                                                   std::chrono::milliseconds scriptTimeout,
                                                   std::stop_token stop = {},
                                                   const RenamePlanner::Provisional& provisional = {});
    // Takes each result for its file and clears the file's operation error. The plan is consumed: it
    // receives the replaced values, so that the caller can free them elsewhere. A part of a plan, such
    // as provisional results, starts at `firstRow`.
    void applyPlan(const PlanJob& job, RenamePlanner::Plan& plan, qsizetype firstRow = 0);
    // The positions of the files in the order the last plan numbered them; files it did not see last.
    std::vector<qsizetype> planOrder() const;
    // Whether the last plan numbered the files in descending name order.
    bool planReversed() const { return plannedReversed; }

    bool isMoving() const { return moving; }
    bool anyRenamed() const { return renamedAny; }
    // Why Rename is not possible now, in words; nothing when it is.
    std::optional<QString> renameBlocker(Activity activity) const;
    bool canUndo() const { return renamedAny && !moving; }
    Tally tally() const;

    // Starts a rename of every file that gets a new name; nothing when something blocks it.
    std::optional<MoveJob> startRename();
    // Starts the undo of the files renamed; nothing unless `canUndo`.
    std::optional<MoveJob> startUndo();
    // Starts an undo or redo of the rename in the journal's `entryFile`. When it is this session's own
    // rename, the listed files follow it: undone files show their plan again, redone ones their new names.
    std::optional<MoveJob> startReversal(MoveJob::Kind kind, const QString& entryFile);
    // An undo or redo of a rename found in the journal, for a front end without a session.
    static MoveJob reversalOf(MoveJob::Kind kind, const QString& entryFile, QString journalFolder);
    // The folders a job moves files in.
    static QStringList foldersOf(const MoveJob& job);
    // Ends a job before it ran, because the folders `denied` may not be changed.
    void deny(const MoveJob& job, const QStringList& denied);
    // Runs a job through the rename journal; blocks until every file is moved. `movesBegin` is called
    // once, on the calling thread, before the first file moves (not at all when none does): from then on
    // the job mostly waits on the disk, and a core is free for work that can wait until the journal is
    // written.
    static MoveResult move(const MoveJob& job, const std::function<void()>& movesBegin = {});
    // Ends a job with its result: which files carry their new name now, and why others failed.
    void finish(const MoveJob& job, const MoveResult& result);

private:
    template <typename Change> void changeFiles(const QSet<QString>& ids, Change change);
    void announce(const std::vector<bool>& changed);
    void refreshRenamed();

    const QString journalFolder;
    RenameRules currentRules;
    std::shared_ptr<ScriptMemo> scriptMemo = std::make_shared<ScriptMemo>();
    std::vector<FileRecord> records;
    QSet<QString> listed; // the records' ids
    Observer* observer = nullptr;
    bool plannedReversed = false;
    bool moving = false;
    bool renamedAny = false;
    std::optional<JournalEntry> ownEntry; // of the rename this session made, as it stands
};
