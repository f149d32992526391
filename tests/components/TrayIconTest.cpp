// The tray icon: its tip, the events of clicks on it, cycling through icons, its menu, and
// minimising where no tray exists (the offscreen platform has none).
#include "components/TrayIcon.h"
#include "platform/qt/Balloon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

QIcon Plain(const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QColor ColourOf(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().pixelColor(8, 8);
}

void Click(TTrayIcon& tray, QSystemTrayIcon::ActivationReason reason)
{
    emit tray.ShellIcon().activated(reason);
}

// Every event of the icon, counted.
struct TCounts {
    int clicks = 0, doubles = 0, downs = 0, ups = 0, moves = 0;
    std::vector<Qt::MouseButton> buttons;
};

void Count(TTrayIcon& tray, TCounts& c, bool doubles)
{
    QObject::connect(&tray, &TTrayIcon::OnClick, [&] { ++c.clicks; });
    if (doubles)
        QObject::connect(&tray, &TTrayIcon::OnDblClick, [&] { ++c.doubles; });
    QObject::connect(&tray, &TTrayIcon::OnMouseDown, [&](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) {
        ++c.downs;
        c.buttons.push_back(b);
    });
    QObject::connect(&tray, &TTrayIcon::OnMouseUp, [&] { ++c.ups; });
    QObject::connect(&tray, &TTrayIcon::OnMouseMove, [&] { ++c.moves; });
}

}  // namespace

TEST(TrayIcon, HintIsCutAt127Characters)
{
    TTrayIcon tray;
    const QString longHint = QString(100, QChar(u'\u0416')) + QString(100, QLatin1Char('x'));
    tray.SetHint(longHint);
    EXPECT_EQ(tray.Hint(), longHint);
    EXPECT_EQ(tray.ShellIcon().toolTip(), longHint.left(127));

    // Never half of a character outside the basic plane.
    const QString emoji = QString(126, QLatin1Char('a')) + QStringLiteral("\U0001F600 and more");
    tray.SetHint(emoji);
    EXPECT_EQ(tray.ShellIcon().toolTip(), QString(126, QLatin1Char('a')));

    tray.SetHint(QStringLiteral("TavroSoft - Lexora XP"));
    EXPECT_EQ(tray.ShellIcon().toolTip(), QStringLiteral("TavroSoft - Lexora XP"));
    tray.SetShowHint(false);
    EXPECT_TRUE(tray.ShellIcon().toolTip().isEmpty());
    tray.SetShowHint(true);
    tray.SetHint(QString());
    EXPECT_TRUE(tray.ShellIcon().toolTip().isEmpty());
}

TEST(TrayIcon, ClickWithoutDoubleClickHandlerComesAtOnce)
{
    TTrayIcon tray;
    TCounts c;
    Count(tray, c, false);
    Click(tray, QSystemTrayIcon::Trigger);
    EXPECT_EQ(c.clicks, 1);
    EXPECT_EQ(c.downs, 1);
    EXPECT_EQ(c.ups, 1);
    EXPECT_GE(c.moves, 1);
    Click(tray, QSystemTrayIcon::Context);
    Click(tray, QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(c.clicks, 1);
    EXPECT_EQ(c.buttons, (std::vector{Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}));
}

TEST(TrayIcon, WithADoubleClickHandlerAClickWaitsAndADoubleClickIsNoClick)
{
    TTrayIcon tray;
    TCounts c;
    Count(tray, c, true);
    Click(tray, QSystemTrayIcon::Trigger);
    EXPECT_EQ(c.clicks, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return c.clicks == 1; }, 60000));

    Click(tray, QSystemTrayIcon::Trigger);
    Click(tray, QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(c.doubles, 1);
    QTest::qWait(QApplication::doubleClickInterval() + 200);
    EXPECT_EQ(c.clicks, 1);

    // And a single click after that is a click again.
    Click(tray, QSystemTrayIcon::Trigger);
    ASSERT_TRUE(QTest::qWaitFor([&] { return c.clicks == 2; }, 60000));
}

TEST(TrayIcon, TwoQuickPressesAreOneDoubleClickAlsoWhenTheToolkitReportsNone)
{
    TTrayIcon tray;
    TCounts c;
    Count(tray, c, true);
    // The hand moved between the presses: the toolkit reports two single presses.
    Click(tray, QSystemTrayIcon::Trigger);
    Click(tray, QSystemTrayIcon::Trigger);
    EXPECT_EQ(c.doubles, 1);
    // The toolkit's own report of the same pair counts once.
    Click(tray, QSystemTrayIcon::Trigger);
    Click(tray, QSystemTrayIcon::Trigger);
    Click(tray, QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(c.doubles, 2);
    QTest::qWait(QApplication::doubleClickInterval() + 200);
    EXPECT_EQ(c.clicks, 0);
    // A right press in between parts two left presses.
    Click(tray, QSystemTrayIcon::Trigger);
    Click(tray, QSystemTrayIcon::Context);
    Click(tray, QSystemTrayIcon::Trigger);
    EXPECT_EQ(c.doubles, 2);
}

TEST(TrayIcon, DisabledIconFiresNothing)
{
    TTrayIcon tray;
    TCounts c;
    Count(tray, c, true);
    int enters = 0;
    QObject::connect(&tray, &TTrayIcon::OnMouseEnter, [&] { ++enters; });
    tray.SetWantEnterExitEvents(true);
    tray.SetEnabled(false);
    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context,
                        QSystemTrayIcon::MiddleClick})
        Click(tray, reason);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_EQ(c.clicks + c.doubles + c.downs + c.ups + c.moves + enters, 0);
}

TEST(TrayIcon, IndexIsClampedToTheList)
{
    TTrayIcon tray;
    tray.SetIconIndex(5);
    EXPECT_EQ(tray.IconIndex(), 0);  // no list
    tray.SetIconList({Plain(Qt::red), Plain(Qt::green), Plain(Qt::blue)});
    tray.SetIconIndex(7);
    EXPECT_EQ(tray.IconIndex(), 2);
    EXPECT_EQ(ColourOf(tray.Icon()), QColor(Qt::blue));
    EXPECT_EQ(ColourOf(tray.ShellIcon().icon()), QColor(Qt::blue));
    tray.SetIconIndex(-3);
    EXPECT_EQ(tray.IconIndex(), 0);
    EXPECT_EQ(ColourOf(tray.Icon()), QColor(Qt::red));
}

TEST(TrayIcon, CyclingShowsEachIconInTurn)
{
    TTrayIcon tray;
    tray.SetIconList({Plain(Qt::red), Plain(Qt::green), Plain(Qt::blue)});
    std::vector<int> next;
    std::vector<QColor> shown;
    QObject::connect(&tray, &TTrayIcon::OnCycle, [&](int index) {
        next.push_back(index);
        shown.push_back(ColourOf(tray.ShellIcon().icon()));
    });
    tray.SetCycleInterval(20);
    tray.SetCycleIcons(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return next.size() >= 4; }, 60000));
    tray.SetCycleIcons(false);
    EXPECT_EQ(std::vector(next.begin(), next.begin() + 4), (std::vector{1, 2, 0, 1}));
    EXPECT_EQ(std::vector(shown.begin(), shown.begin() + 4),
              (std::vector<QColor>{Qt::red, Qt::green, Qt::blue, Qt::red}));
    const auto stoppedAt = next.size();
    QTest::qWait(100);
    EXPECT_EQ(next.size(), stoppedAt);
}

TEST(TrayIcon, MenuOpensOnTheRightButtonAndTheDoubleClickRunsItsDefault)
{
    QWidget owner;
    TTrayIcon tray(&owner);
    QMenu menu;
    QAction* show = menu.addAction(QStringLiteral("Show"));
    int shown = 0;
    QObject::connect(show, &QAction::triggered, [&] { ++shown; });
    tray.SetPopupMenu(&menu);

    Click(tray, QSystemTrayIcon::Trigger);
    EXPECT_FALSE(menu.isVisible());
    Click(tray, QSystemTrayIcon::Context);
    EXPECT_TRUE(menu.isVisible());
    menu.close();

    Click(tray, QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(shown, 0);  // no default item
    menu.setDefaultAction(show);
    Click(tray, QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(shown, 1);

    tray.SetLeftPopup(true);
    Click(tray, QSystemTrayIcon::Trigger);
    EXPECT_TRUE(menu.isVisible());
    menu.close();
    Click(tray, QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(shown, 1);  // the left button owns the menu now
}

TEST(TrayIcon, WithoutATrayMinimisingKeepsTheWindow)
{
    ASSERT_FALSE(TTrayIcon::TrayAvailable());
    QWidget owner;
    TTrayIcon tray(&owner);
    tray.SetMinimizeToTray(true);
    int toTray = 0;
    QObject::connect(&tray, &TTrayIcon::OnMinimizeToTray, [&] { ++toTray; });
    owner.show();
    owner.showMinimized();
    QTest::qWait(50);
    EXPECT_TRUE(owner.isVisible());
    EXPECT_EQ(toTray, 0);

    // Nor does a start that asks to stay hidden hide it.
    tray.OnStartup = [] { return false; };
    EXPECT_TRUE(tray.Loaded());
    tray.HideMainForm();
    EXPECT_TRUE(owner.isVisible());

    // The program's minimising minimises it as a window.
    owner.showNormal();
    tray.MinimizeOwner();
    EXPECT_TRUE(owner.isMinimized());
    EXPECT_TRUE(owner.isVisible());
    EXPECT_EQ(toTray, 0);
}

TEST(TrayIcon, OurOwnBalloonReportsItsTimeoutItsClickAndItsClosing)
{
    TTrayIcon tray;
    int hides = 0, timeouts = 0, clicks = 0;
    QObject::connect(&tray, &TTrayIcon::OnBalloonHintHide, [&] { ++hides; });
    QObject::connect(&tray, &TTrayIcon::OnBalloonHintTimeout, [&] { ++timeouts; });
    QObject::connect(&tray, &TTrayIcon::OnBalloonHintClick, [&] { ++clicks; });

    Balloon::ShowBaloon("house", "Haus", 1);
    ASSERT_NE(Balloon::CurrentBalloon(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timeouts == 1; }, 60000));
    EXPECT_EQ(hides, 0);

    Balloon::ShowBaloon("hat", "Hut", 10);
    Balloon::ShowBaloon("cat", "Katze", 10);  // replacing reports nothing
    EXPECT_EQ(hides, 0);
    QTest::mouseClick(Balloon::CurrentBalloon(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(hides, 1);

    Balloon::ShowBaloon("dog", "Hund", 10);
    Balloon::CloseBaloon();
    EXPECT_EQ(hides, 2);
    Balloon::CloseBaloon();  // none shown: nothing more
    EXPECT_EQ(hides, 2);
    EXPECT_EQ(timeouts, 1);
}
