#pragma once

#include "access/FolderAccessManager.h"
#include "model/Lifeline.h"
#include "model/OperationProblem.h"
#include "model/ProvisionalInbox.h"
#include "model/RenameHistoryList.h"
#include "model/TessaryFileList.h"
#include "planning/RenameSession.h"
#include "script/JSEngineClient.h"

#include <QObject>
#include <QSettings>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>

// The window's face of a rename session: its rules as properties kept in the preferences, its files as an
// item model, and its state as signals. Every change of the files or rules schedules one recomputation
// after a short pause; results that are no longer current are dropped. Main thread only; reading files,
// planning and renaming run on workers.
class TessaryModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString regexString READ regexString WRITE setRegexString NOTIFY regexStringChanged)
    Q_PROPERTY(QString script READ script WRITE setScript NOTIFY scriptChanged)
    Q_PROPERTY(QString resultPattern READ resultPattern WRITE setResultPattern NOTIFY resultPatternChanged)
    Q_PROPERTY(bool sortReversed READ sortReversed WRITE setSortReversed NOTIFY sortReversedChanged)
    Q_PROPERTY(QString order READ order WRITE setOrder NOTIFY orderChanged)
    Q_PROPERTY(
        bool numberDuplicates READ numberDuplicates WRITE setNumberDuplicates NOTIFY numberDuplicatesChanged)
    Q_PROPERTY(bool isUpdating READ isUpdating NOTIFY isUpdatingChanged)
    Q_PROPERTY(bool isRenaming READ isRenaming NOTIFY isRenamingChanged)
    Q_PROPERTY(bool isRenamed READ isRenamed NOTIFY isRenamedChanged)
    Q_PROPERTY(qint64 loadingCount READ loadingCount NOTIFY loadingCountChanged)

public:
    static inline const QString regexKey = QStringLiteral("model.regexString");
    static inline const QString scriptKey = QStringLiteral("model.javaScriptString");
    static inline const QString resultPatternKey = QStringLiteral("model.resultPattern");
    static inline const QString orderKey = QStringLiteral("model.order");
    static inline const QString numberDuplicatesKey = QStringLiteral("model.numberDuplicates");
    static constexpr std::chrono::milliseconds updateDelay{300};
    static constexpr std::chrono::milliseconds storeDelay{1000};
    static constexpr std::chrono::milliseconds memoryDelay{2000};
    // How often the results a running script has answered so far are shown.
    static constexpr std::chrono::milliseconds provisionalInterval{50};

    // `journalFolder` holds the rename journal through which renames and undos run.
    TessaryModel(QSettings& defaults, JSEngineClient engine, FolderAccessManager& folderAccess,
                 QString journalFolder, QObject* parent = nullptr);
    ~TessaryModel() override;

    TessaryFileList* files() { return &fileList; }
    const TessaryFileList* files() const { return &fileList; }
    // The renames of the journal, read at start and after every rename, undo and redo.
    RenameHistoryList* renameHistory() { return &historyList; }
    // Why files of the rename in `entryFile` were refused by this run's last undo or redo of it.
    FileRenamer::Failures lastRefusals(const QString& entryFile) const;

    QString regexString() const { return session.rules().regex; }
    QString script() const { return session.rules().script; }
    QString resultPattern() const { return session.rules().pattern; }
    bool sortReversed() const { return session.rules().reversed; }
    QString order() const { return session.rules().order; }
    bool numberDuplicates() const { return session.rules().numberDuplicates; }
    bool isUpdating() const { return updating; }
    bool isRenaming() const { return renaming; }
    bool isRenamed() const { return renamedAny; }
    RenameSession::Tally tally() const { return session.tally(); }
    qint64 loadingCount() const { return loading; }
    std::optional<OperationProblem> operationProblem() const { return problem; }

    void setRegexString(const QString& value);
    void setScript(const QString& value);
    void setResultPattern(const QString& value);
    void setSortReversed(bool value);
    void setOrder(const QString& value);
    void setNumberDuplicates(bool value);
    // The window clears the problem when its alert is dismissed.
    void setOperationProblem(const std::optional<OperationProblem>& value);

    // Reads the files' metadata off the main thread, then appends them; paths already listed are skipped.
    void addFiles(const QStringList& paths);
    // Adds the files inside the folders, and inside their folders, found off the main thread.
    void addFolderContents(const QStringList& folders);
    // Appends files whose base fields were read already; paths already listed are skipped.
    void addReadFiles(const QStringList& paths, const QList<Fields>& baseFields);
    void removeFiles(const QSet<QString>& ids);
    // Brings back rules as a whole, as Recent does.
    void applyRules(const RenameRules& rules);
    // Puts the files in the order `positions` gives (a permutation of the list), for the "listed" order.
    void reorderFiles(const std::vector<qsizetype>& positions);

    // Why Rename is not possible now, in words; nothing when it is.
    std::optional<QString> renameDisabledReason() const;
    // `done` learns whether a file of the list carries its new name now.
    void rename(std::function<void(bool)> done = {});
    void undo(std::function<void()> done = {});
    // Undo or redo any rename of the history, off the main thread. When it is the rename of the listed
    // files, they follow it, as after `undo`.
    void undoRename(const QString& entryFile, std::function<void()> done = {});
    void redoRename(const QString& entryFile, std::function<void()> done = {});
    void startOver();
    // Plans again, so that files gone from disk since the last plan show why they cannot be renamed.
    void recheckFiles();

Q_SIGNALS:
    void regexStringChanged();
    void scriptChanged();
    void resultPatternChanged();
    void sortReversedChanged();
    void orderChanged();
    void numberDuplicatesChanged();
    void isUpdatingChanged();
    void isRenamingChanged();
    void isRenamedChanged();
    void loadingCountChanged();
    void operationProblemChanged();
    void renameDisabledReasonChanged();
    // An undo or redo of the rename in `entryFile` ended.
    void reversalFinished(const QString& entryFile);

private:
    void setRules(const RenameRules& rules, void (TessaryModel::*changed)());
    // Sets one rule the preferences keep under `key`.
    template <typename T>
    void setRule(T RenameRules::*rule, const T& value, const QString& key, void (TessaryModel::*changed)());
    void scheduleUpdate();
    void storeRules();
    void cancelUpdate();
    void update();
    void showProvisional();
    void stopProvisional();
    void runRename(const RenameSession::MoveJob& job, const std::function<void(bool)>& done);
    void denyRename(const RenameSession::MoveJob& job, const QStringList& denied);
    void showRenameResult(const RenameSession::MoveJob& job, const RenameSession::MoveResult& result);
    void runReversal(const std::optional<RenameSession::MoveJob>& started, const std::function<void()>& done);
    void showReversalResult(const RenameSession::MoveJob& job, const RenameSession::MoveResult& result);
    // Stores a state the Rename button depends on, and announces it when it changed.
    template <typename T> void setState(T& field, T value, void (TessaryModel::*changed)());
    void setUpdating(bool value);
    void setLoading(qint64 value);
    // Announces the session's moving and renamed states where they changed.
    void refreshSessionStates();
    void refreshRenameDisabledReason();
    // A reader module that could not be loaded is told about once.
    void reportReaderFailures();

    QSettings& defaults;
    const JSEngineClient engine;
    FolderAccessManager& folderAccess;

    RenameSession session;
    TessaryFileList fileList;
    RenameHistoryList historyList;
    std::pair<QString, FileRenamer::Failures> refusals; // of the last undo or redo: its entry, and why
    bool updating = false;
    bool renaming = false;   // the session's state as last announced
    bool renamedAny = false; // the session's state as last announced
    qint64 loading = 0;
    std::optional<OperationProblem> problem;
    qsizetype readerFailuresShown = 0;
    std::optional<QString> shownDisabledReason;

    QTimer updateTimer;
    // Rules reach the preferences after a pause: the preferences file is rewritten whole, with its
    // script, every time it is saved, and typing must not do that per keystroke.
    QTimer storeTimer;
    // Freed plans' memory goes back to the system at a pause in the edits: giving it back holds the
    // allocator, and the main thread with it, for tens of milliseconds at 100,000 files.
    QTimer memoryTimer;
    std::shared_ptr<ProvisionalInbox> provisional; // the running plan's
    QTimer provisionalTimer;
    QHash<QString, QVariant> unstored;
    std::stop_source runningPlan;
    quint64 updateSerial = 0; // which computation is current
    qint64 generation = 0;    // bumped by every start over
    Lifeline lifeline{this};
};
