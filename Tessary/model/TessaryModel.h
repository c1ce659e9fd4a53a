#pragma once

#include "access/FolderAccessManager.h"
#include "script/JSEngineClient.h"
#include "model/OperationProblem.h"
#include "renaming/journal/RenameJournal.h"
#include "model/TessaryFileList.h"

#include <QObject>
#include <QSettings>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>

// The state behind the window: the file list, the three rules, the live plan and the rename and undo
// commands. Every change of the files or rules schedules one recomputation after a short pause; results
// that are no longer current are dropped. Main thread only; the planner and renamer run on workers.
class TessaryModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString regexString READ regexString WRITE setRegexString NOTIFY regexStringChanged)
    Q_PROPERTY(QString javaScriptString READ javaScriptString WRITE setJavaScriptString NOTIFY
                   javaScriptStringChanged)
    Q_PROPERTY(QString resultPattern READ resultPattern WRITE setResultPattern NOTIFY resultPatternChanged)
    Q_PROPERTY(bool sortReversed READ sortReversed WRITE setSortReversed NOTIFY sortReversedChanged)
    Q_PROPERTY(bool isUpdating READ isUpdating NOTIFY isUpdatingChanged)
    Q_PROPERTY(bool isRenaming READ isRenaming NOTIFY isRenamingChanged)
    Q_PROPERTY(bool isRenamed READ isRenamed NOTIFY isRenamedChanged)
    Q_PROPERTY(qint64 loadingCount READ loadingCount NOTIFY loadingCountChanged)

public:
    static inline const QString regexKey = QStringLiteral("model.regexString");
    static inline const QString javaScriptKey = QStringLiteral("model.javaScriptString");
    static inline const QString resultPatternKey = QStringLiteral("model.resultPattern");
    static constexpr std::chrono::milliseconds updateDelay{300};

    // `journalFolder` holds the rename journal through which renames and undos run.
    TessaryModel(QSettings& defaults, JSEngineClient engine, FolderAccessManager& folderAccess,
                 QString journalFolder, QObject* parent = nullptr);
    ~TessaryModel() override;

    TessaryFileList* files() { return &fileList; }
    const TessaryFileList* files() const { return &fileList; }

    QString regexString() const { return regex; }
    QString javaScriptString() const { return script; }
    QString resultPattern() const { return pattern; }
    bool sortReversed() const { return reversed; }
    bool isUpdating() const { return updating; }
    bool isRenaming() const { return renaming; }
    bool isRenamed() const { return renamedAny; }
    qint64 loadingCount() const { return loading; }
    std::optional<OperationProblem> operationProblem() const { return problem; }

    void setRegexString(const QString& value);
    void setJavaScriptString(const QString& value);
    void setResultPattern(const QString& value);
    void setSortReversed(bool value);
    // The window clears the problem when its alert is dismissed.
    void setOperationProblem(const std::optional<OperationProblem>& value);

    // Reads the files' metadata off the main thread, then appends them; paths already listed are skipped.
    void addFiles(const QStringList& paths);
    void removeFiles(const QSet<QString>& ids);
    void applyRules(const QString& regex, const QString& script, const QString& pattern);

    // Why Rename is not possible now, in words; nothing when it is.
    std::optional<QString> renameDisabledReason() const;
    // `done` learns whether a file of the list carries its new name now.
    void rename(std::function<void(bool)> done = {});
    void undo(std::function<void()> done = {});
    void startOver();

Q_SIGNALS:
    void regexStringChanged();
    void javaScriptStringChanged();
    void resultPatternChanged();
    void sortReversedChanged();
    void isUpdatingChanged();
    void isRenamingChanged();
    void isRenamedChanged();
    void loadingCountChanged();
    void operationProblemChanged();
    void renameDisabledReasonChanged();

private:
    void setRule(QString& rule, const QString& value, const QString& key, void (TessaryModel::*changed)());
    void scheduleUpdate();
    void cancelUpdate();
    void update();
    void finishRename(const QList<RenameOperation>& operations, const QStringList& denied,
                      const std::function<void(bool)>& done);
    void denyRename(const QList<RenameOperation>& operations, const QStringList& denied);
    // Stores a state the Rename button depends on, and announces it when it changed.
    template <typename T> void setState(T& field, T value, void (TessaryModel::*changed)());
    void setUpdating(bool value);
    void setRenaming(bool value);
    void setRenamed(bool value);
    void setLoading(qint64 value);
    void refreshRenameDisabledReason();
    bool anyRenamed() const;

    QSettings& defaults;
    const JSEngineClient engine;
    FolderAccessManager& folderAccess;
    const QString journalFolder;

    TessaryFileList fileList;
    QString regex;
    QString script;
    QString pattern;
    bool reversed = false;
    bool updating = false;
    bool renaming = false;
    bool renamedAny = false;
    qint64 loading = 0;
    std::optional<OperationProblem> problem;
    std::optional<QString> shownDisabledReason;

    QTimer updateTimer;
    std::stop_source runningPlan;
    quint64 updateSerial = 0; // which computation is current
    qint64 generation = 0;    // bumped by every start over
    std::optional<JournalEntry> undoEntry;
};
