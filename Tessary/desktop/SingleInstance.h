#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <functional>

// One Tessary per desktop session. The first start owns "org.tessary.Tessary" on the session bus and
// answers the freedesktop Application interface; a later start hands its files to it and ends, and so
// does a file manager's "Open With" or a D-Bus activation.
class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    static inline const QString service = QStringLiteral("org.tessary.Tessary");
    static inline const QString path = QStringLiteral("/org/tessary/Tessary");

    // `open` receives the files of later starts (none when one only asks for the window).
    explicit SingleInstance(std::function<void(const QStringList&)> open, QObject* parent = nullptr);

    // Takes the name on `bus`; false when another Tessary has it, or there is no bus.
    bool serve(QDBusConnection bus = QDBusConnection::sessionBus());
    // Whether a running Tessary took `paths` and showed its window: then this start should end.
    static bool handOver(const QStringList& paths, QDBusConnection bus = QDBusConnection::sessionBus());

public Q_SLOTS:
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);
    Q_SCRIPTABLE void Open(const QStringList& uris, const QVariantMap& platformData);
    Q_SCRIPTABLE void ActivateAction(const QString& action, const QVariantList& parameter,
                                     const QVariantMap& platformData);

private:
    std::function<void(const QStringList&)> open;
};
