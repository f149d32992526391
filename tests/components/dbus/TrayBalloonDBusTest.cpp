// The balloon as a desktop notification: a notification service that the test registers on
// its own session bus (the test runs under dbus-run-session) receives the balloon, and the
// reasons it reports for a closed notification become the tray icon's balloon events.
#include "components/TrayIcon.h"
#include "platform/qt/Balloon.h"
#include "platform/qt/DesktopNotifications.h"

#include <QDBusConnection>
#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QVariantMap>

#include <gtest/gtest.h>

namespace {

// A notification service as the desktop runs it, recording what it was asked.
class TFakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct TShown {
        uint Replaces;
        QString Summary, Body;
        int Timeout;
    };
    std::vector<TShown> Shown;
    std::vector<uint> CloseCalls;
    uint NextId = 41;

public slots:
    uint Notify(const QString&, uint replaces, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int timeout)
    {
        Shown.push_back({replaces, summary, body, timeout});
        return replaces != 0 ? replaces : ++NextId;
    }
    void CloseNotification(uint id)
    {
        CloseCalls.push_back(id);
        emit NotificationClosed(id, 3);
    }
    QStringList GetCapabilities() { return {QStringLiteral("body"), QStringLiteral("actions")}; }

signals:
    void NotificationClosed(uint id, uint reason);
    void ActionInvoked(uint id, const QString& actionKey);
};

class TrayBalloonNotifications : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus_.isConnected()) << "run under dbus-run-session";
        ASSERT_TRUE(bus_.registerObject("/org/freedesktop/Notifications", &service_,
                                        QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
        ASSERT_TRUE(bus_.registerService("org.freedesktop.Notifications"));
        ASSERT_TRUE(QTest::qWaitFor(
            [] {
                return QDBusConnection::sessionBus()
                    .interface()
                    ->isServiceRegistered("org.freedesktop.Notifications")
                    .value();
            },
            60000));
    }
    void TearDown() override
    {
        bus_.unregisterService("org.freedesktop.Notifications");
        bus_.unregisterObject("/org/freedesktop/Notifications");
    }

    // Shows a balloon and waits until the service has it; returns its number.
    uint Show(const QString& word, const QString& text, int seconds)
    {
        const std::size_t before = service_.Shown.size();
        Balloon::ShowBaloon(word, text, seconds);
        EXPECT_TRUE(QTest::qWaitFor([&] { return service_.Shown.size() > before; }, 60000));
        // The balloon's side has taken the number in once none of its calls waits for an answer.
        EXPECT_TRUE(QTest::qWaitFor(
            [] {
                auto* notifications = qApp->findChild<TDesktopNotifications*>(QString(), Qt::FindDirectChildrenOnly);
                return notifications != nullptr && notifications->findChildren<QDBusPendingCallWatcher*>().isEmpty();
            },
            60000));
        return service_.NextId;
    }

    QDBusConnection bus_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "FakeNotifications");
    TFakeNotifications service_;
    TTrayIcon tray_;
    QSignalSpy hide_{&tray_, &TTrayIcon::OnBalloonHintHide};
    QSignalSpy timeout_{&tray_, &TTrayIcon::OnBalloonHintTimeout};
    QSignalSpy click_{&tray_, &TTrayIcon::OnBalloonHintClick};
};

}  // namespace

TEST_F(TrayBalloonNotifications, TheBalloonGoesToTheServiceAndItsReasonsBecomeEvents)
{
    const uint id = Show("house", "Haus <n> & Heim", 7);
    ASSERT_EQ(service_.Shown.size(), 1u);
    EXPECT_EQ(service_.Shown[0].Summary, "house");
    EXPECT_EQ(service_.Shown[0].Body, "Haus <n> & Heim");  // no markup: the text as it is
    EXPECT_EQ(service_.Shown[0].Timeout, 7000);
    EXPECT_EQ(Balloon::CurrentBalloon(), nullptr);  // no window of our own

    // 1 expired: the time ran out.
    emit service_.NotificationClosed(id, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timeout_.count() == 1; }, 60000));
    EXPECT_EQ(hide_.count(), 0);

    // 2 dismissed by the user: hidden; a click on it is a click.
    const uint second = Show("hat", "Hut", 10);
    emit service_.ActionInvoked(second, "default");
    emit service_.NotificationClosed(second, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return hide_.count() == 1; }, 60000));
    EXPECT_EQ(click_.count(), 1);

    // A new balloon replaces the shown one; 3 closed by a call: CloseBaloon asks the service,
    // which reports it closed.
    const uint third = Show("cat", "Katze", 10);
    Show("dog", "Hund", 10);
    EXPECT_EQ(service_.Shown.back().Replaces, third);
    Balloon::CloseBaloon();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hide_.count() == 2; }, 60000));
    EXPECT_EQ(service_.CloseCalls, std::vector<uint>{third});
    EXPECT_EQ(timeout_.count(), 1);

    // Another application's notification closing is none of ours.
    emit service_.NotificationClosed(7, 1);
    QTest::qWait(100);
    EXPECT_EQ(timeout_.count(), 1);
    Balloon::CloseBaloon();  // nothing shown: nothing asked
    QTest::qWait(100);
    EXPECT_EQ(service_.CloseCalls.size(), 1u);
}

TEST_F(TrayBalloonNotifications, WithoutTheServiceOurOwnBalloonShows)
{
    bus_.unregisterService("org.freedesktop.Notifications");
    ASSERT_TRUE(QTest::qWaitFor(
        [] {
            return !QDBusConnection::sessionBus()
                        .interface()
                        ->isServiceRegistered("org.freedesktop.Notifications")
                        .value();
        },
        60000));
    Balloon::ShowBaloon("house", "Haus", 1);
    ASSERT_NE(Balloon::CurrentBalloon(), nullptr);
    EXPECT_TRUE(service_.Shown.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return timeout_.count() == 1; }, 60000));
    EXPECT_EQ(hide_.count(), 0);
}

#include "TrayBalloonDBusTest.moc"
