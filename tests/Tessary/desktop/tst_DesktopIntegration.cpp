#include "desktop/DesktopIntegration.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

// A file manager on the session bus that records what it was asked to show.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QList<QStringList> shown;

public Q_SLOTS:
    void ShowItems(const QStringList& uris, const QString&) { shown.append(uris); }
};

class tst_DesktopIntegration : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "the test runs under dbus-run-session");
    }

    // One call with every item, and the caller does not wait for the answer.
    void showsEverySelectedItemInOneCall()
    {
        FakeFileManager manager;
        // A connection of its own: calls reach it through the bus, not as direct calls within the process.
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"file-manager"_s);
        QVERIFY(bus.registerService(u"org.freedesktop.FileManager1"_s));
        QVERIFY(bus.registerObject(u"/org/freedesktop/FileManager1"_s, &manager,
                                   QDBusConnection::ExportAllSlots));

        const QStringList paths{u"/tmp/a b.txt"_s, u"/tmp/x/#c.txt"_s};
        DesktopIntegration::showInFileManager(paths);
        QVERIFY(manager.shown.isEmpty()); // answered only once the event loop runs: the call did not block
        QTRY_COMPARE(manager.shown.size(), 1);
        QCOMPARE(manager.shown.first(), (QStringList{QUrl::fromLocalFile(paths[0]).toString(),
                                                     QUrl::fromLocalFile(paths[1]).toString()}));
        bus.unregisterObject(u"/org/freedesktop/FileManager1"_s);
        QVERIFY(bus.unregisterService(u"org.freedesktop.FileManager1"_s));
        QDBusConnection::disconnectFromBus(u"file-manager"_s);
    }

    void previewClosesWithSpaceOrEscape_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void previewClosesWithSpaceOrEscape()
    {
        QFETCH(int, key);
        QTemporaryDir folder;
        QFile text(folder.filePath(u"notes.txt"_s));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("some notes") > 0);
        text.close();
        QPointer<QWidget> window = DesktopIntegration::preview(text.fileName(), nullptr);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->windowTitle(), u"notes.txt"_s);
        QApplication::setActiveWindow(window);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window.data(),
                        Qt::Key(key));
        QTRY_VERIFY(!window); // closed, and deleted on close
    }
};

QTEST_MAIN(tst_DesktopIntegration)
#include "tst_DesktopIntegration.moc"
