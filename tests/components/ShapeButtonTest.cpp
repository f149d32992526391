// The picture button: pictures by state, clicks, auto-repeat and the shape cut from the
// idle picture.
#include "components/ShapeButton.h"
#include "tests/components/ShapeButtonPictures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace ShapeButtonTest;

namespace {

const QColor Ground(0, 255, 0);

QImage Render(TShapeButton& button)
{
    QImage image(button.size(), QImage::Format_RGB32);
    image.fill(Ground);
    button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// Mouse events as the window system sends them while the left button is held or not.
void Send(TShapeButton& button, QEvent::Type type, QPoint pos, Qt::MouseButtons held)
{
    const Qt::MouseButton button_ = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, button.mapToGlobal(pos), button_, held, Qt::NoModifier);
    QApplication::sendEvent(&button, &event);
}

void Move(TShapeButton& b, QPoint pos, bool held = false)
{
    Send(b, QEvent::MouseMove, pos, held ? Qt::LeftButton : Qt::NoButton);
}
void Press(TShapeButton& b, QPoint pos)
{
    Send(b, QEvent::MouseButtonPress, pos, Qt::LeftButton);
}
void Release(TShapeButton& b, QPoint pos)
{
    Send(b, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

const QPoint Centre(6, 6);
const QPoint Outside(40, 40);

}  // namespace

TEST(ShapeButton, PicturesFollowTheState)
{
    QWidget parent;
    TShapeButton button(&parent);
    EXPECT_EQ(button.size(), QSize(15, 15));
    EXPECT_EQ(Render(button).pixelColor(7, 7), Ground);  // no picture: nothing drawn
    EXPECT_EQ(button.size(), QSize(15, 15));

    button.SetPicIdle(Disc(Qt::red));
    EXPECT_EQ(Render(button).pixelColor(Centre), QColor(Qt::red));
    EXPECT_EQ(button.size(), QSize(13, 13));  // takes the picture's size
    Move(button, Centre);
    Press(button, Centre);
    EXPECT_EQ(Render(button).pixelColor(Centre), QColor(Qt::red));  // only idle: idle everywhere
    Release(button, Centre);

    button.SetPicUp(Disc(Qt::yellow));
    button.SetPicDown(Disc(Qt::blue));
    EXPECT_EQ(Render(button).pixelColor(Centre), QColor(Qt::yellow));  // hot
    Press(button, Centre);
    EXPECT_EQ(Render(button).pixelColor(Centre), QColor(Qt::blue));
    Move(button, Outside, true);
    EXPECT_FALSE(button.Hot());
    EXPECT_EQ(Render(button).pixelColor(Centre), QColor(Qt::red));
    Release(button, Outside);

    button.SetEnabled(false);
    EXPECT_TRUE(button.Disabled());
    Move(button, Centre);
    EXPECT_EQ(Render(button).pixelColor(Centre), QColor(Qt::red));  // no disabled picture
    button.SetPicDsbld(Disc(Qt::gray));
    EXPECT_EQ(Render(button).pixelColor(Centre), QColor(Qt::gray));
}

TEST(ShapeButton, ClickOnlyOnReleaseOverAnEnabledButton)
{
    TShapeButton button;
    button.SetPicIdle(Disc(Qt::red));
    int clicks = 0, downs = 0, ups = 0;
    QObject::connect(&button, &TShapeButton::OnClick, [&] { ++clicks; });
    QObject::connect(&button, &TShapeButton::OnMouseDown, [&] { ++downs; });
    QObject::connect(&button, &TShapeButton::OnMouseUp, [&] { ++ups; });

    Press(button, Centre);
    Release(button, Centre);
    EXPECT_EQ(clicks, 1);

    Press(button, Centre);
    Move(button, Outside, true);
    Release(button, Outside);
    EXPECT_EQ(clicks, 1);

    // A quick second press is a press, not a double click: two clicks.
    Press(button, Centre);
    Release(button, Centre);
    QTest::mouseDClick(&button, Qt::LeftButton, {}, Centre);
    EXPECT_EQ(clicks, 2);
    Send(button, QEvent::MouseButtonDblClick, Centre, Qt::LeftButton);
    Release(button, Centre);
    EXPECT_EQ(clicks, 3);

    // Disabled: the mouse is still reported, no click.
    button.SetEnabled(false);
    const int downsBefore = downs, upsBefore = ups;
    Press(button, Centre);
    Release(button, Centre);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(downs, downsBefore + 1);
    EXPECT_EQ(ups, upsBefore + 1);
}

TEST(ShapeButton, AutoRepeatWhileHeldOverTheButton)
{
    TShapeButton button;
    button.SetPicIdle(Disc(Qt::red));
    button.SetAutoRepeat(true);
    int clicks = 0;
    QObject::connect(&button, &TShapeButton::OnClick, [&] { ++clicks; });

    QElapsedTimer held;
    Move(button, Centre);
    Press(button, Centre);
    held.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicks >= 3; }, 60000));
    EXPECT_GE(held.elapsed(), 850);  // 300, 600, 900 ms (timers may fire a little early)
    EXPECT_EQ(clicks, 3);

    // Off the button the repeats stop; back on they go on.
    Move(button, Outside, true);
    QTest::qWait(700);
    EXPECT_EQ(clicks, 3);
    Move(button, Centre, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicks >= 4; }, 60000));
    const int beforeRelease = clicks;
    Release(button, Centre);
    EXPECT_EQ(clicks, beforeRelease + 1);  // and the ordinary click on release
    QTest::qWait(700);
    EXPECT_EQ(clicks, beforeRelease + 1);
}

TEST(ShapeButton, CropCutsTheKeyColourAndNormalRestoresTheRectangle)
{
    QWidget parent;
    TShapeButton button(&parent);
    button.SetPicIdle(Disc(Qt::red));
    Render(button);
    button.SetPaintMode(pmCrop);
    EXPECT_TRUE(button.RegionApplied());
    const QImage disc = Disc(Qt::red);
    for (int x = 0; x < 13; ++x)
        for (int y = 0; y < 13; ++y)
            ASSERT_EQ(button.mask().contains(QPoint(x, y)), disc.pixelColor(x, y) != Key) << x << "," << y;
    EXPECT_FALSE(button.mask().contains(QPoint(0, 0)));

    // The cut corner is not the button: no hot state, no click.
    int clicks = 0;
    QObject::connect(&button, &TShapeButton::OnClick, [&] { ++clicks; });
    Move(button, QPoint(0, 0));
    EXPECT_FALSE(button.Hot());
    Press(button, QPoint(0, 0));
    Release(button, QPoint(0, 0));
    EXPECT_EQ(clicks, 0);

    // A new idle picture brings a new shape.
    QImage square(13, 13, QImage::Format_RGB32);
    square.fill(Key);
    QPainter(&square).fillRect(7, 7, 6, 6, Qt::red);
    button.SetPicIdle(square);
    EXPECT_TRUE(button.mask().contains(QPoint(10, 10)));
    EXPECT_FALSE(button.mask().contains(Centre));

    button.SetPaintMode(pmNormal);
    EXPECT_FALSE(button.RegionApplied());
    EXPECT_TRUE(button.mask().isEmpty());
}

TEST(ShapeButton, TransparentModeLeavesTheKeyColourOut)
{
    TShapeButton button;
    button.SetPicIdle(Disc(Qt::red));
    button.SetPaintMode(pmTransparent);
    const QImage image = Render(button);
    EXPECT_EQ(image.pixelColor(0, 0), Ground);
    EXPECT_EQ(image.pixelColor(Centre), QColor(Qt::red));
    button.SetPaintMode(pmNormal);
    EXPECT_EQ(Render(button).pixelColor(0, 0), Key);
}

TEST(ShapeButton, ShapeFollowsPicturesThatComeAfterTheMode)
{
    TShapeButton button;
    button.SetPaintMode(pmCrop);
    EXPECT_FALSE(button.RegionApplied());
    button.SetImageList({Disc(Qt::red), Disc(Qt::yellow)});
    EXPECT_EQ(button.PicUp().pixelColor(Centre), QColor(Qt::yellow));
    EXPECT_TRUE(button.PicDown().isNull());
    ASSERT_TRUE(button.RegionApplied());
    EXPECT_FALSE(button.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(button.mask().contains(Centre));
}
