#include "desktop/DesktopIntegration.h"
#include "desktop/SingleInstance.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
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

    // A second start hands its files to the first, as absolute paths, and one without files only asks
    // for the window; with no Tessary running, nothing is handed over.
    void aSecondStartHandsOverItsFiles()
    {
        QVERIFY(!SingleInstance::handOver({u"a.txt"_s}));
        QList<QStringList> received;
        SingleInstance first([&](const QStringList& paths) { received.append(paths); });
        // A connection of its own, as the first Tessary's process would have.
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"first-tessary"_s);
        QVERIFY(first.serve(bus));
        SingleInstance second([](const QStringList&) {});
        QVERIFY(!second.serve(QDBusConnection::sessionBus())); // the name is taken

        std::atomic<bool> handed = false;
        QThread* caller = QThread::create([&] {
            handed = SingleInstance::handOver({u"a b.txt"_s, u"/tmp/c.txt"_s});
        });
        caller->start();
        QTRY_VERIFY(caller->isFinished()); // the first answers from its event loop
        delete caller;
        QVERIFY(handed);
        QCOMPARE(received,
                 (QList<QStringList>{{QDir::current().absoluteFilePath(u"a b.txt"_s), u"/tmp/c.txt"_s}}));
        caller = QThread::create([&] { handed = SingleInstance::handOver({}); });
        caller->start();
        QTRY_VERIFY(caller->isFinished());
        delete caller;
        QCOMPARE(received.size(), 2);
        QVERIFY(received.last().isEmpty());
        bus.unregisterObject(SingleInstance::path);
        QVERIFY(bus.unregisterService(SingleInstance::service));
        QDBusConnection::disconnectFromBus(u"first-tessary"_s);
    }
};

QTEST_MAIN(tst_DesktopIntegration)
#include "tst_DesktopIntegration.moc"
