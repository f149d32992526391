// The picture button under a real pointer: the hot state follows the moves, also while the
// button is held (the pointer is grabbed then), and the cut shape is not the button.
#include "components/ShapeButton.h"
#include "tests/components/ShapeButtonPictures.h"

#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace ShapeButtonTest;

namespace {

void XDo(const QStringList& args)
{
    QProcess::execute(QStringLiteral("xdotool"), args);
}

void PointerTo(const QWidget& widget, QPoint local)
{
    const QPoint global = widget.mapToGlobal(local);
    XDo({"mousemove", QString::number(global.x()), QString::number(global.y())});
}

}  // namespace

TEST(ShapeButtonX11, HotFollowsThePointerWhileHeldAndTheCutCornerIsNotTheButton)
{
    QWidget window;
    window.resize(120, 80);
    TShapeButton button(&window);
    button.move(40, 30);
    button.SetPicIdle(Disc(Qt::red));
    button.SetPicUp(Disc(Qt::yellow));
    button.SetPaintMode(pmCrop);
    int clicks = 0;
    QObject::connect(&button, &TShapeButton::OnClick, [&] { ++clicks; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    PointerTo(button, QPoint(0, 0));  // a cut corner
    QTest::qWait(200);
    EXPECT_FALSE(button.Hot());
    PointerTo(button, QPoint(6, 6));
    EXPECT_TRUE(QTest::qWaitFor([&] { return button.Hot(); }, 60000));

    XDo({"mousedown", "1"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return button.Pressed(); }, 60000));
    PointerTo(button, QPoint(60, 30));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !button.Hot(); }, 60000));
    PointerTo(button, QPoint(7, 6));
    EXPECT_TRUE(QTest::qWaitFor([&] { return button.Hot(); }, 60000));
    XDo({"mouseup", "1"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }, 60000));

    // Pressed and released off the button: no click.
    XDo({"mousedown", "1"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return button.Pressed(); }, 60000));
    PointerTo(button, QPoint(60, 30));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !button.Hot(); }, 60000));
    XDo({"mouseup", "1"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !button.Pressed(); }, 60000));
    EXPECT_EQ(clicks, 1);
}
