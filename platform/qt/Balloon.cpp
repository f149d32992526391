#include "platform/qt/Balloon.h"

#include "platform/qt/BalloonWindow.h"
#include "platform/qt/DesktopNotifications.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPointer>

namespace Balloon {

namespace {

QPointer<QWidget>& Current()
{
    static QPointer<QWidget> current;
    return current;
}

QPointer<TDesktopNotifications>& MadeNotifications()
{
    static QPointer<TDesktopNotifications> notifications;
    return notifications;
}

// The notifications of this application; made with the first balloon shown through them.
TDesktopNotifications& Notifications()
{
    QPointer<TDesktopNotifications>& notifications = MadeNotifications();
    if (notifications.isNull()) {
        notifications = new TDesktopNotifications(QCoreApplication::instance());
        QObject::connect(notifications, &TDesktopNotifications::Closed, &Events(), [](uint reason) {
            if (reason == TDesktopNotifications::Expired)
                emit Events().TimedOut();
            else
                emit Events().Hidden();
        });
        QObject::connect(notifications, &TDesktopNotifications::Clicked, &Events(), &TBalloonEvents::Clicked);
    }
    return *notifications;
}

void ShowWindow(const QString& word, const QString& text, int seconds)
{
    auto* balloon = new TBalloonWindow(word, text, seconds, QCursor::pos());
    balloon->show();
    Current() = balloon;
}

}  // namespace

TBalloonEvents& Events()
{
    static QPointer<TBalloonEvents> events;
    if (events.isNull())
        events = new TBalloonEvents(QCoreApplication::instance());
    return *events;
}

void ShowBaloon(const QString& word, const QString& text, int seconds)
{
    // A replaced balloon reports nothing.
    if (QWidget* shown = Current().data()) {
        Current() = nullptr;
        shown->close();
    }
    if (TDesktopNotifications::ServiceRuns()) {
        TDesktopNotifications& n = Notifications();
        // A refusing service: our own window shows it instead.
        QObject::disconnect(&n, &TDesktopNotifications::Failed, nullptr, nullptr);
        QObject::connect(&n, &TDesktopNotifications::Failed, &n,
                         [word, text, seconds] { ShowWindow(word, text, seconds); });
        n.Show(word, text, std::max(1, seconds) * 1000);
        return;
    }
    ShowWindow(word, text, seconds);
}

void CloseBaloon()
{
    if (QWidget* shown = Current().data()) {
        Current() = nullptr;
        shown->close();
        emit Events().Hidden();
    }
    if (TDesktopNotifications* n = MadeNotifications().data(); n != nullptr && n->Shown())
        n->Close();
}

QWidget* CurrentBalloon()
{
    return Current().data();
}

}  // namespace Balloon
