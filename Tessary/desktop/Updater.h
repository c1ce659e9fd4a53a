#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>
#include <QVersionNumber>

// Looks for a newer Tessary in an appcast feed (RSS items with a version and a download link). Without a
// feed, no check is possible.
class Updater : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)

public:
    Updater(QUrl feed, QVersionNumber running, QObject* parent = nullptr);

    bool canCheckForUpdates() const { return hasFeed() && !checking; }
    // Without one, updates come from the package manager, and the command is not offered.
    bool hasFeed() const { return !feed.isEmpty(); }
    void checkForUpdates();

    // The newest item of an appcast: its version and link; nothing when the feed holds no item.
    struct Release {
        QVersionNumber version;
        QUrl link;
    };
    static std::optional<Release> newestRelease(const QByteArray& appcast);

Q_SIGNALS:
    void canCheckForUpdatesChanged();
    void updateAvailable(const QString& version, const QUrl& link);
    void upToDate();
    void checkFailed(const QString& reason);

private:
    void setChecking(bool value);

    QUrl feed;
    QVersionNumber running;
    QNetworkAccessManager network;
    bool checking = false;
};
