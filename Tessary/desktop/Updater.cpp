#include "desktop/Updater.h"

#include <QNetworkReply>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

Updater::Updater(QUrl feed, QVersionNumber running, QObject* parent)
    : QObject(parent), feed(std::move(feed)), running(std::move(running))
{
}

void Updater::setChecking(bool value)
{
    if (checking == value)
        return;
    checking = value;
    Q_EMIT canCheckForUpdatesChanged();
}

void Updater::checkForUpdates()
{
    if (!canCheckForUpdates())
        return;
    setChecking(true);
    QNetworkReply* reply = network.get(QNetworkRequest(feed));
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        setChecking(false);
        if (reply->error() != QNetworkReply::NoError) {
            Q_EMIT checkFailed(reply->errorString());
            return;
        }
        const auto newest = newestRelease(reply->readAll());
        if (!newest) {
            //: Why an update check failed
            Q_EMIT checkFailed(tr("The update feed lists no release."));
        } else if (newest->version > running) {
            Q_EMIT updateAvailable(newest->version.toString(), newest->link);
        } else {
            Q_EMIT upToDate();
        }
    });
}

// Sparkle's appcast: each <item> has an <enclosure url="…" sparkle:version="…"
// sparkle:shortVersionString="…"/>, or the versions as elements of their own.
std::optional<Updater::Release> Updater::newestRelease(const QByteArray& appcast)
{
    std::optional<Release> newest;
    QXmlStreamReader xml(appcast);
    QVersionNumber version, shortVersion;
    QUrl link;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"item"_s) {
            const QVersionNumber shown = shortVersion.isNull() ? version : shortVersion;
            if (!shown.isNull() && (!newest || shown > newest->version))
                newest = Release{shown, link};
            version = shortVersion = {};
            link.clear();
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"enclosure"_s) {
            const QXmlStreamAttributes attributes = xml.attributes();
            for (const QXmlStreamAttribute& attribute : attributes) {
                if (attribute.name() == u"shortVersionString"_s)
                    shortVersion = QVersionNumber::fromString(attribute.value());
                else if (attribute.name() == u"version"_s)
                    version = QVersionNumber::fromString(attribute.value());
                else if (attribute.name() == u"url"_s)
                    link = QUrl(attribute.value().toString());
            }
        } else if (xml.name() == u"shortVersionString"_s) {
            shortVersion = QVersionNumber::fromString(xml.readElementText());
        } else if (xml.name() == u"version"_s) {
            version = QVersionNumber::fromString(xml.readElementText());
        }
    }
    return newest;
}
