#include "platform/qt/DesktopNotifications.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// A service that does not answer within this time is taken as one without markup; the
// window never waits longer than this for it.
constexpr int kCapabilitiesTimeoutMs = 500;

QDBusMessage Call(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

}  // namespace

TDesktopNotifications::TDesktopNotifications(QObject* parent)
    : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                SLOT(NotificationClosed(uint, uint)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this, SLOT(ActionInvoked(uint, QString)));
}

bool TDesktopNotifications::ServiceRuns()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr)
        return false;
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(kService);
    return registered.isValid() && registered.value();
}

bool TDesktopNotifications::BodyMarkup()
{
    if (markup_ < 0) {
        const QDBusMessage reply = QDBusConnection::sessionBus().call(Call(QStringLiteral("GetCapabilities")),
                                                                      QDBus::Block, kCapabilitiesTimeoutMs);
        markup_ = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
            && reply.arguments().first().toStringList().contains(QStringLiteral("body-markup"));
    }
    return markup_ == 1;
}

void TDesktopNotifications::Show(const QString& summary, const QString& body, int timeoutMs)
{
    QDBusMessage call = Call(QStringLiteral("Notify"));
    call << QStringLiteral("Lexora XP") << id_ << QString() << summary << (BodyMarkup() ? body.toHtmlEscaped() : body)
         << QStringList{QStringLiteral("default"), QString()} << QVariantMap() << timeoutMs;
    pending_ = true;
    closeWhenShown_ = false;
    const quint64 sequence = ++sequence_;
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, sequence](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        if (sequence != sequence_) {  // a later one replaced it before its number came
            if (!reply.isError())
                CloseId(reply.value());
            return;
        }
        pending_ = false;
        if (reply.isError()) {
            id_ = 0;
            emit Failed();
            return;
        }
        id_ = reply.value();
        if (closeWhenShown_) {
            closeWhenShown_ = false;
            CloseId(id_);
        }
    });
}

void TDesktopNotifications::Close()
{
    if (pending_)
        closeWhenShown_ = true;
    else if (id_ != 0)
        CloseId(id_);
}

void TDesktopNotifications::CloseId(uint id)
{
    QDBusMessage call = Call(QStringLiteral("CloseNotification"));
    call << id;
    QDBusConnection::sessionBus().asyncCall(call);
}

void TDesktopNotifications::NotificationClosed(uint id, uint reason)
{
    if (id == 0 || id != id_)
        return;
    id_ = 0;
    emit Closed(reason);
}

void TDesktopNotifications::ActionInvoked(uint id, const QString&)
{
    if (id != 0 && id == id_)
        emit Clicked();
}
