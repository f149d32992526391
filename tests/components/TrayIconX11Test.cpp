// The tray icon on a real X server: without a tray minimising leaves the window alone; with
// a tray (trayer) the icon shows there, minimising hides the window into it, and the icon
// comes back when the tray program restarts.
#include "components/TrayIcon.h"
#include "tests/qtsupport/WindowManager.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using TestSupport::TTrayer;
using TestSupport::XDo;

namespace {

const QColor IconColour(200, 30, 40);

QIcon Plain(const QColor& color)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(color);
    return QIcon(pixmap);
}

// The icon is in the tray when the screen shows its colour in the middle of its place.
bool IconOnScreen(TTrayIcon& tray)
{
    const QRect place = tray.ShellIcon().geometry();
    if (!place.isValid() || place.isEmpty())
        return false;
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    return screen.pixelColor(place.center()) == IconColour;
}

}  // namespace

TEST(TrayIconX11, WithoutATrayMinimisingLeavesTheWindowVisible)
{
    if (TTrayIcon::TrayAvailable())
        GTEST_SKIP() << "a notification area runs on this display";
    QWidget owner;
    owner.resize(200, 100);
    TTrayIcon tray(&owner);
    tray.SetIcon(Plain(IconColour));
    tray.SetMinimizeToTray(true);
    int toTray = 0;
    QObject::connect(&tray, &TTrayIcon::OnMinimizeToTray, [&] { ++toTray; });
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    owner.showMinimized();
    QTest::qWait(300);
    EXPECT_TRUE(owner.isVisible());
    EXPECT_EQ(toTray, 0);
    EXPECT_FALSE(tray.IconVisible());
}

TEST(TrayIconX11, WithATrayTheWindowHidesIntoItAndTheIconSurvivesATrayRestart)
{
    auto trayer = std::make_unique<TTrayer>();
    ASSERT_TRUE(QTest::qWaitFor([] { return TTrayIcon::TrayAvailable(); }, 60000));

    QWidget owner;
    owner.resize(200, 100);
    TTrayIcon tray(&owner);
    tray.SetIcon(Plain(IconColour));
    tray.SetHint(QStringLiteral("TavroSoft - Lexora XP"));
    tray.SetMinimizeToTray(true);
    int toTray = 0;
    QObject::connect(&tray, &TTrayIcon::OnMinimizeToTray, [&] { ++toTray; });
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));

    owner.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !owner.isVisible(); }, 60000));
    EXPECT_EQ(toTray, 1);
    EXPECT_TRUE(tray.IconVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return IconOnScreen(tray); }, 60000));
    // The program's own minimising goes into the tray at once, the window never minimised.
    owner.showNormal();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    tray.MinimizeOwner();
    EXPECT_FALSE(owner.isVisible());
    EXPECT_FALSE(owner.isMinimized());
    EXPECT_TRUE(tray.OwnerInTray());
    EXPECT_EQ(toTray, 2);

    // A real click on the icon, and the right button's menu.
    int clicks = 0;
    QObject::connect(&tray, &TTrayIcon::OnClick, [&] { ++clicks; });
    QMenu menu;
    menu.addAction(QStringLiteral("Show"));
    tray.SetPopupMenu(&menu);
    const QPoint centre = tray.ShellIcon().geometry().center();
    XDo({"mousemove", QString::number(centre.x()), QString::number(centre.y()), "click", "1"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }, 60000));
    EXPECT_FALSE(menu.isVisible());
    XDo({"click", "3"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu.isVisible(); }, 60000));
    menu.close();

    // With a double-click handler a real double click is no click.
    int doubles = 0;
    QObject::connect(&tray, &TTrayIcon::OnDblClick, [&] { ++doubles; });
    XDo({"click", "--repeat", "2", "--delay", "60", "1"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return doubles == 1; }, 60000));
    QTest::qWait(QApplication::doubleClickInterval() + 200);
    EXPECT_EQ(clicks, 1);
    // A hand that moves a little between the two presses still double-clicks.
    XDo({"mousemove", QString::number(centre.x() - 4), QString::number(centre.y() - 4), "click", "1", "mousemove",
         QString::number(centre.x() + 4), QString::number(centre.y() + 3), "click", "1"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return doubles == 2; }, 60000));
    QTest::qWait(QApplication::doubleClickInterval() + 200);
    EXPECT_EQ(doubles, 2);
    EXPECT_EQ(clicks, 1);

    // Entering and leaving the icon with the pointer.
    XDo({"mousemove", "0", "0"});
    int enters = 0, exits = 0;
    QObject::connect(&tray, &TTrayIcon::OnMouseEnter, [&] { ++enters; });
    QObject::connect(&tray, &TTrayIcon::OnMouseExit, [&] { ++exits; });
    tray.SetWantEnterExitEvents(true);
    XDo({"mousemove", QString::number(centre.x()), QString::number(centre.y())});
    EXPECT_TRUE(QTest::qWaitFor([&] { return enters == 1; }, 60000));
    EXPECT_EQ(exits, 0);
    XDo({"mousemove", "0", "0"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return exits == 1; }, 60000));
    tray.SetWantEnterExitEvents(false);

    // The tray program restarts: the icon goes back into the new tray.
    trayer.reset();
    ASSERT_TRUE(QTest::qWaitFor([] { return !TTrayIcon::TrayAvailable(); }, 60000));
    trayer = std::make_unique<TTrayer>();
    EXPECT_TRUE(QTest::qWaitFor([&] { return IconOnScreen(tray); }, 60000));

    // Shown again from the tray.
    owner.showNormal();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&owner));
    EXPECT_FALSE(tray.OwnerInTray());
}
