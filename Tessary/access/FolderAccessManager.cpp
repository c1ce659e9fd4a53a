#include "access/FolderAccessManager.h"

#include "common/Diagnostics.h"
#include "common/FileNameParts.h"
#include "access/FolderBookmark.h"

#include <QDir>
#include <QPointer>
#include <QThread>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Plain Unicode order: UTF-8 bytes sort by code point, UTF-16 units do not.
void sortByCodePoints(QStringList& paths)
{
    std::sort(paths.begin(), paths.end(),
              [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
}

QString withSlash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QString standardized(const QString& folder)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(folder));
}

QMap<QString, QByteArray> storedBookmarks(const QVariant& stored)
{
    QMap<QString, QByteArray> bookmarks;
    if (stored.typeId() != QMetaType::QVariantMap)
        return bookmarks;
    const QVariantMap map = stored.toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it->typeId() != QMetaType::QByteArray)
            return {}; // one value of another kind discards the whole dictionary
        bookmarks.insert(it.key(), it->toByteArray());
    }
    return bookmarks;
}

} // namespace

struct FolderAccessManager::Pending {
    QStringList folders;
    qsizetype next = 0;
    QStringList denied;
    std::function<void(QStringList)> done;
};

bool FolderAccessManager::sandboxedIn(const QProcessEnvironment& environment)
{
    return environment.contains(u"APP_SANDBOX_CONTAINER_ID"_s);
}

bool FolderAccessManager::isSandboxed()
{
    static const bool sandboxed = sandboxedIn(QProcessEnvironment::systemEnvironment());
    return sandboxed;
}

bool FolderAccessManager::lies(const QString& folder, const QString& grant)
{
    return withSlash(folder).startsWith(withSlash(grant));
}

FolderAccessManager::FolderAccessManager(QSettings& preferences, FolderPanel& panel, bool sandboxed,
                                         QObject* parent)
    : QObject(parent), preferences(preferences), panel(panel), sandboxed(sandboxed),
      bookmarks(storedBookmarks(preferences.value(bookmarksKey)))
{
    refreshGrantedFolders();
}

void FolderAccessManager::ensureAccess(const QStringList& folders, std::function<void(QStringList)> done)
{
    checkThread();
    if (!sandboxed) {
        done({});
        return;
    }
    auto pending = std::make_shared<Pending>();
    for (const QString& folder : folders)
        pending->folders.append(standardized(folder));
    pending->folders.removeDuplicates();
    sortByCodePoints(pending->folders);
    pending->done = std::move(done);
    askNext(pending);
}

void FolderAccessManager::askNext(const std::shared_ptr<Pending>& pending)
{
    while (pending->next < pending->folders.size()) {
        const QString folder = pending->folders[pending->next++];
        if (startAccess(folder))
            continue;
        requestAccess(folder, [self = QPointer(this), pending, folder](bool granted) {
            if (!granted) {
                qCInfo(appLog, "Access to a folder was not granted");
                pending->denied.append(folder);
            }
            if (self)
                self->askNext(pending);
        });
        return; // one panel at a time: the answer goes on with the next folder
    }
    pending->done(pending->denied);
}

bool FolderAccessManager::startAccess(const QString& folder)
{
    checkThread();
    for (auto it = activeFolders.cbegin(); it != activeFolders.cend(); ++it)
        if (lies(folder, it.key()))
            return true;
    const QMap<QString, QByteArray> stored = bookmarks; // forget() changes the map
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        if (!lies(folder, it.key()))
            continue;
        const auto resolved = FolderBookmark::resolve(*it);
        if (!resolved) {
            qCWarning(appLog, "Dropping a folder bookmark that can no longer be resolved");
            forget(it.key());
            continue;
        }
        if (!FolderBookmark::startAccess(resolved->path))
            continue;
        if (resolved->stale) {
            QString error;
            if (const auto fresh = FolderBookmark::create(resolved->path, &error)) {
                bookmarks.insert(it.key(), *fresh);
                persist();
                refreshGrantedFolders();
            }
        }
        activeFolders.insert(it.key(), {resolved->path, true});
        return true;
    }
    return false;
}

void FolderAccessManager::requestAccess(const QString& folder, std::function<void(bool)> done)
{
    checkThread();
    const FolderPanel::Request request{
        //: Message of the open panel that grants access to a folder; the placeholder is the folder name
        tr("Tessary needs your permission to rename files in “%1”. Click Grant Access to allow it.")
            .arg(FileNameParts::nameOf(folder)),
        //: Button of the open panel that grants access to a folder
        tr("Grant Access"), folder};
    panel.chooseFolder(request, [self = QPointer(this), folder, done](std::optional<QString> chosen) {
        if (!self || !chosen || chosen->isEmpty()) {
            done(false);
            return;
        }
        const QString chosenPath = standardized(*chosen);
        if (!lies(folder, chosenPath)) { // an unrelated folder grants nothing
            done(false);
            return;
        }
        self->activeFolders.insert(chosenPath, {chosenPath, false});
        QString error;
        if (const auto bookmark = FolderBookmark::create(chosenPath, &error)) {
            self->bookmarks.insert(chosenPath, *bookmark);
            self->persist();
            self->refreshGrantedFolders();
        } else {
            qCWarning(appLog, "Failed to create a folder bookmark: %s", qUtf8Printable(error));
        }
        done(true);
    });
}

void FolderAccessManager::refreshGrantedFolders()
{
    QStringList folders = bookmarks.keys();
    sortByCodePoints(folders);
    if (folders == granted)
        return;
    granted = folders;
    Q_EMIT grantedFoldersChanged();
}

void FolderAccessManager::forget(const QString& key)
{
    bookmarks.remove(key);
    persist();
    refreshGrantedFolders();
}

void FolderAccessManager::persist()
{
    QVariantMap stored;
    for (auto it = bookmarks.cbegin(); it != bookmarks.cend(); ++it)
        stored.insert(it.key(), *it);
    preferences.setValue(bookmarksKey, stored);
}

void FolderAccessManager::checkThread() const
{
    Q_ASSERT_X(QThread::currentThread() == thread(), "FolderAccessManager", "used off the main thread");
}
