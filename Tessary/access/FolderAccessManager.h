#pragma once

#include "access/FolderPanel.h"

#include <QMap>
#include <QObject>
#include <QProcessEnvironment>
#include <QSettings>
#include <QStringList>
#include <functional>

// Obtains the user's permission to change files in folders when Tessary runs in an application sandbox:
// once per folder through a folder panel, remembered across launches as bookmarks in the preferences,
// re-activated silently later. Outside a sandbox everything is granted at once. Main thread only.
class FolderAccessManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList grantedFolders READ grantedFolders NOTIFY grantedFoldersChanged)

public:
    static inline const QString bookmarksKey = QStringLiteral("folderAccess.bookmarks");

    // Whether the environment marks this process as sandboxed; read once, on first use.
    static bool isSandboxed();
    static bool sandboxedIn(const QProcessEnvironment& environment);

    FolderAccessManager(QSettings& preferences, FolderPanel& panel, bool sandboxed = isSandboxed(),
                        QObject* parent = nullptr);

    // The folders with a stored bookmark, in code point order of their paths.
    QStringList grantedFolders() const { return granted; }

    // Calls `done` with the folders for which access was not obtained, asking the user for one folder at a
    // time, in path order, so that granting a parent folder first covers the folders inside it.
    void ensureAccess(const QStringList& folders, std::function<void(QStringList denied)> done);
    // Access from this process's grants or a stored bookmark, without asking.
    bool startAccess(const QString& folder);
    // Asks the user; `done` learns whether the folder or one of its ancestors was granted.
    void requestAccess(const QString& folder, std::function<void(bool granted)> done);
    void refreshGrantedFolders();

    // Whether `folder` is `grant` or lies inside it, by exact path text.
    static bool lies(const QString& folder, const QString& grant);

Q_SIGNALS:
    void grantedFoldersChanged();

private:
    struct ActiveFolder {
        QString path;
        bool started; // from a resolved bookmark rather than the user's choice
    };
    struct Pending;

    void askNext(const std::shared_ptr<Pending>& pending);
    void forget(const QString& key);
    void persist();
    void checkThread() const;

    QSettings& preferences;
    FolderPanel& panel;
    const bool sandboxed;
    QMap<QString, QByteArray> bookmarks;
    QMap<QString, ActiveFolder> activeFolders;
    QStringList granted;
};
