#include "desktop/SingleInstance.h"

#include "planning/FileLocations.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QUrl>

using namespace Qt::StringLiterals;

SingleInstance::SingleInstance(std::function<void(const QStringList&)> open, QObject* parent)
    : QObject(parent), open(std::move(open))
{
}

bool SingleInstance::serve(QDBusConnection bus)
{
    return bus.isConnected() && bus.registerObject(path, this, QDBusConnection::ExportScriptableSlots) &&
           bus.registerService(service);
}

bool SingleInstance::handOver(const QStringList& paths, QDBusConnection bus)
{
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(service))
        return false;
    QStringList uris;
    // Absolute: the running Tessary has another working folder.
    for (const QString& file : standardizedUniquePaths(paths))
        uris.append(QUrl::fromLocalFile(file).toString());
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, u"org.freedesktop.Application"_s,
                                                       uris.isEmpty() ? u"Activate"_s : u"Open"_s);
    if (!uris.isEmpty())
        call << uris;
    call << QVariantMap();
    return bus.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
}

void SingleInstance::Activate(const QVariantMap&)
{
    open({});
}

void SingleInstance::Open(const QStringList& uris, const QVariantMap&)
{
    QStringList paths;
    for (const QString& uri : uris)
        if (const QUrl url(uri); url.isLocalFile())
            paths.append(url.toLocalFile());
    open(paths);
}

void SingleInstance::ActivateAction(const QString&, const QVariantList&, const QVariantMap&)
{
    open({});
}
