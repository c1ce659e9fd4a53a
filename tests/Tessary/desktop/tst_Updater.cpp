#include "desktop/Updater.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray appcast(const QStringList& items)
{
    return (u"<?xml version=\"1.0\"?><rss "
            u"xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
            u"<channel><title>Tessary</title>"_s +
            items.join(QString()) + u"</channel></rss>"_s)
        .toUtf8();
}

QString item(const QString& version, const QString& link)
{
    return u"<item><enclosure url=\"%1\" sparkle:version=\"%2\"/></item>"_s.arg(link, version);
}

} // namespace

class tst_Updater : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newestRelease_data()
    {
        QTest::addColumn<QByteArray>("feed");
        QTest::addColumn<QString>("version");
        QTest::newRow("newest of several")
            << appcast({item(u"0.9"_s, u"a"_s), item(u"1.10"_s, u"b"_s), item(u"1.2"_s, u"c"_s)})
            << u"1.10"_s;
        QTest::newRow("short version wins")
            << appcast(
                   {u"<item><enclosure url=\"x\" sparkle:version=\"42\" sparkle:shortVersionString=\"2.1\"/></item>"_s})
            << u"2.1"_s;
        QTest::newRow("version as an element")
            << appcast({u"<item><sparkle:version>3.0</sparkle:version><enclosure url=\"x\"/></item>"_s})
            << u"3.0"_s;
        QTest::newRow("no item") << appcast({}) << QString();
        QTest::newRow("not XML") << QByteArray("<<<") << QString();
    }
    void newestRelease()
    {
        QFETCH(QByteArray, feed);
        QFETCH(QString, version);
        const auto newest = Updater::newestRelease(feed);
        QCOMPARE(newest ? newest->version.toString() : QString(), version);
    }

    void withoutAFeedNoCheckIsPossible()
    {
        const Updater updater({}, QVersionNumber(1, 0));
        QVERIFY(!updater.canCheckForUpdates());
    }

    void checksAFeed_data()
    {
        QTest::addColumn<QString>("published");
        QTest::addColumn<bool>("available");
        QTest::newRow("newer") << u"0.2.0"_s << true;
        QTest::newRow("same") << u"0.1.0"_s << false;
    }
    void checksAFeed()
    {
        QFETCH(QString, published);
        QTemporaryDir folder;
        QFile feed(folder.filePath(u"appcast.xml"_s));
        QVERIFY(feed.open(QIODevice::WriteOnly));
        feed.write(appcast({item(published, u"https://tessary.org/download"_s)}));
        feed.close();

        Updater updater(QUrl::fromLocalFile(feed.fileName()), QVersionNumber(0, 1, 0));
        QVERIFY(updater.canCheckForUpdates());
        QSignalSpy found(&updater, &Updater::updateAvailable), upToDate(&updater, &Updater::upToDate);
        updater.checkForUpdates();
        QVERIFY(!updater.canCheckForUpdates()); // while it checks
        QTRY_COMPARE(found.size() + upToDate.size(), 1);
        QFETCH(bool, available);
        QCOMPARE(found.size(), available ? 1 : 0);
        QVERIFY(updater.canCheckForUpdates());
    }

    void aMissingFeedFails()
    {
        Updater updater(QUrl::fromLocalFile(u"/nonexistent/appcast.xml"_s), QVersionNumber(0, 1));
        QSignalSpy failed(&updater, &Updater::checkFailed);
        updater.checkForUpdates();
        QTRY_COMPARE(failed.size(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_Updater)
#include "tst_Updater.moc"
