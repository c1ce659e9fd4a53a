#include "access/FolderAccessManager.h"
#include "access/FolderBookmark.h"
#include "LogCapture.h"
#include "ScriptedFolderPanel.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_FolderAccessManager : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    std::unique_ptr<QSettings> preferences;
    ScriptedFolderPanel panel;

    QString folder(const QString& relative)
    {
        const QString path = root.filePath(relative);
        QDir().mkpath(path);
        return path;
    }

    QStringList ensure(FolderAccessManager& manager, const QStringList& folders)
    {
        std::optional<QStringList> denied;
        manager.ensureAccess(folders, [&](const QStringList& result) { denied = result; });
        if (!QTest::qWaitFor([&] { return denied.has_value(); }))
            qFatal("ensureAccess never answered");
        return *denied;
    }

    QByteArray bookmark(const QString& path)
    {
        QString error;
        return FolderBookmark::create(path, &error).value();
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(root.filePath(u"preferences.ini"_s));
        preferences = std::make_unique<QSettings>(root.filePath(u"preferences.ini"_s), QSettings::IniFormat);
        panel.answers.clear();
        panel.requests.clear();
    }

    void sandboxIsTheVariablesPresence_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<bool>("sandboxed");
        QTest::newRow("absent") << QStringList{u"HOME=/root"_s} << false;
        QTest::newRow("empty") << QStringList{u"APP_SANDBOX_CONTAINER_ID="_s} << true;
        QTest::newRow("set") << QStringList{u"APP_SANDBOX_CONTAINER_ID=org.tessary"_s} << true;
    }
    void sandboxIsTheVariablesPresence()
    {
        QFETCH(QStringList, environment);
        QProcessEnvironment variables;
        for (const QString& entry : environment)
            variables.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
        QFETCH(bool, sandboxed);
        QCOMPARE(FolderAccessManager::sandboxedIn(variables), sandboxed);
    }

    void withoutSandboxEverythingIsGranted()
    {
        preferences->setValue(FolderAccessManager::bookmarksKey,
                              QVariantMap{{u"/gone"_s, QByteArray("not a bookmark")}});
        FolderAccessManager manager(*preferences, panel, false);
        QCOMPARE(ensure(manager, {u"/gone"_s, u"/nowhere/else"_s}), QStringList());
        QVERIFY(panel.requests.isEmpty());
        QCOMPARE(manager.grantedFolders(), QStringList{u"/gone"_s}); // nothing was resolved or dropped
    }

    void containment_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("grant");
        QTest::addColumn<bool>("lies");
        QTest::newRow("itself") << u"/a/b"_s << u"/a/b"_s << true;
        QTest::newRow("below") << u"/a/b/c"_s << u"/a/b"_s << true;
        QTest::newRow("grant with slash") << u"/a/b/c"_s << u"/a/b/"_s << true;
        QTest::newRow("sibling prefix") << u"/a/bc"_s << u"/a/b"_s << false;
        QTest::newRow("case differs") << u"/A/b"_s << u"/a"_s << false;
        QTest::newRow("root covers all") << u"/x"_s << u"/"_s << true;
    }
    void containment()
    {
        QFETCH(QString, path);
        QFETCH(QString, grant);
        QFETCH(bool, lies);
        QCOMPARE(FolderAccessManager::lies(path, grant), lies);
    }

    void grantingAParentFirstCoversTheFolderInside()
    {
        const QString parent = folder(u"a/b"_s), child = folder(u"a/b/c"_s);
        panel.answers = {parent};
        FolderAccessManager manager(*preferences, panel, true);
        QSignalSpy granted(&manager, &FolderAccessManager::grantedFoldersChanged);

        QCOMPARE(ensure(manager, {child, parent + u"/./"_s, parent}), QStringList());
        QCOMPARE(panel.requests.size(), 1);
        QCOMPARE(panel.requests.first().initialFolder, parent);
        QCOMPARE(panel.requests.first().message,
                 u"Tessary needs your permission to rename files in “b”. Click Grant Access to allow it."_s);
        QCOMPARE(panel.requests.first().prompt, u"Grant Access"_s);
        QCOMPARE(granted.size(), 1);
        QCOMPARE(manager.grantedFolders(), QStringList{parent});
        QCOMPARE(preferences->value(FolderAccessManager::bookmarksKey).toMap().keys(), QStringList{parent});
    }

    void aStoredBookmarkGrantsWithoutAsking_data()
    {
        QTest::addColumn<QString>("granted");
        QTest::addColumn<QString>("requested");
        QTest::addColumn<bool>("asks");
        QTest::newRow("ancestor") << u"a"_s << u"a/b/c"_s << false;
        QTest::newRow("sibling with the same prefix") << u"a/b"_s << u"a/bc"_s << true;
    }
    void aStoredBookmarkGrantsWithoutAsking()
    {
        QFETCH(QString, granted);
        QFETCH(QString, requested);
        const QString grant = folder(granted), requestedPath = folder(requested);
        preferences->setValue(FolderAccessManager::bookmarksKey, QVariantMap{{grant, bookmark(grant)}});
        FolderAccessManager manager(*preferences, panel, true);
        const QStringList denied = ensure(manager, {requestedPath}); // the panel is cancelled if it shows
        QFETCH(bool, asks);
        QCOMPARE(panel.requests.size(), asks ? 1 : 0);
        QCOMPARE(denied, asks ? QStringList{requestedPath} : QStringList());
    }

    void anUnrelatedChoiceGrantsNothing()
    {
        const QString requested = folder(u"a/b"_s), unrelated = folder(u"x"_s);
        panel.answers = {unrelated};
        FolderAccessManager manager(*preferences, panel, true);
        const LogCapture log("org.tessary.Tessary.App");
        QCOMPARE(ensure(manager, {requested}), QStringList{requested});
        QVERIFY(manager.grantedFolders().isEmpty());
        QVERIFY(!preferences->contains(FolderAccessManager::bookmarksKey));
        QCOMPARE(LogCapture::lines(), QStringList{u"Access to a folder was not granted"_s});
    }

    void storedDictionaryOfTheWrongShapeIsIgnored_data()
    {
        QTest::addColumn<QVariant>("stored");
        const QString path = u"/a"_s;
        QTest::newRow("a number among bookmarks")
            << QVariant(QVariantMap{{path, QByteArray("x")}, {u"/b"_s, 5}});
        QTest::newRow("text instead of bytes") << QVariant(QVariantMap{{path, u"bookmark"_s}});
        QTest::newRow("not a dictionary") << QVariant(QStringList{path});
    }
    void storedDictionaryOfTheWrongShapeIsIgnored()
    {
        QFETCH(QVariant, stored);
        preferences->setValue(FolderAccessManager::bookmarksKey, stored);
        const FolderAccessManager manager(*preferences, panel, true);
        QVERIFY(manager.grantedFolders().isEmpty());
    }

    void anUnresolvableBookmarkIsDropped()
    {
        const QString gone = folder(u"gone"_s), kept = folder(u"kept"_s);
        const QByteArray goneBookmark = bookmark(gone);
        QVERIFY(QDir(gone).removeRecursively());
        preferences->setValue(FolderAccessManager::bookmarksKey,
                              QVariantMap{{gone, goneBookmark}, {kept, bookmark(kept)}});
        FolderAccessManager manager(*preferences, panel, true);
        QCOMPARE(manager.grantedFolders(), (QStringList{gone, kept}));

        const LogCapture log("org.tessary.Tessary.App");
        QVERIFY(!manager.startAccess(gone + u"/inside"_s));
        QCOMPARE(manager.grantedFolders(), QStringList{kept});
        QCOMPARE(preferences->value(FolderAccessManager::bookmarksKey).toMap().keys(), QStringList{kept});
        QCOMPARE(LogCapture::lines(),
                 QStringList{u"Dropping a folder bookmark that can no longer be resolved"_s});
    }

    void aStaleBookmarkIsRefreshed()
    {
        const QString path = folder(u"replaced"_s);
        const QByteArray old = bookmark(path);
        QVERIFY(QDir().rename(path, path + u"-moved"_s)); // still there, so its inode is not reused
        QVERIFY(QDir().mkpath(path));                     // another folder under the same name
        preferences->setValue(FolderAccessManager::bookmarksKey, QVariantMap{{path, old}});
        FolderAccessManager manager(*preferences, panel, true);

        QVERIFY(manager.startAccess(path));
        const QByteArray stored =
            preferences->value(FolderAccessManager::bookmarksKey).toMap()[path].toByteArray();
        QVERIFY(stored != old);
        QCOMPARE(FolderBookmark::resolve(stored)->stale, false);
    }
};

QTEST_MAIN(tst_FolderAccessManager)
#include "tst_FolderAccessManager.moc"
