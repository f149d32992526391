// The popup balloon: shows a word with its text without taking the focus, replaces the shown
// one, closes on a click, after its time or when asked, and stays small with a long text.
#include "platform/qt/Balloon.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

TEST(Balloon, ShowsWordAndTextAndANewOneReplacesIt)
{
    Balloon::ShowBaloon("house", "Haus", 10);
    QPointer<QWidget> first = Balloon::CurrentBalloon();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->findChild<QLabel*>("lWord")->text(), "house");
    EXPECT_EQ(first->findChild<QLabel*>("lText")->text(), "Haus");
    Balloon::ShowBaloon("hat", "Hut", 10);
    QTest::qWait(10);
    EXPECT_TRUE(first.isNull() || !first->isVisible());
    ASSERT_NE(Balloon::CurrentBalloon(), nullptr);
    EXPECT_EQ(Balloon::CurrentBalloon()->findChild<QLabel*>("lWord")->text(), "hat");
    Balloon::CloseBaloon();
    EXPECT_EQ(Balloon::CurrentBalloon(), nullptr);
    Balloon::CloseBaloon();  // nothing shown: nothing happens
}

TEST(Balloon, NeverTakesTheFocus)
{
    QLineEdit edit;
    edit.show();
    edit.activateWindow();
    edit.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
    Balloon::ShowBaloon("word", "text", 10);
    QTest::qWait(20);
    EXPECT_EQ(QApplication::focusWidget(), &edit);
    EXPECT_TRUE(Balloon::CurrentBalloon()->testAttribute(Qt::WA_ShowWithoutActivating));
    Balloon::CloseBaloon();
}

TEST(Balloon, ClosesOnAClickAndAfterItsTime)
{
    Balloon::ShowBaloon("word", "text", 10);
    QPointer<QWidget> shown = Balloon::CurrentBalloon();
    QTest::mouseClick(shown.data(), Qt::LeftButton);
    QTest::qWait(10);
    EXPECT_TRUE(shown.isNull() || !shown->isVisible());
    Balloon::ShowBaloon("word", "text", 1);
    shown = Balloon::CurrentBalloon();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.isNull() || !shown->isVisible(); }, 3000));
    EXPECT_EQ(Balloon::CurrentBalloon(), nullptr);
}

TEST(Balloon, LongTextStaysBounded)
{
    Balloon::ShowBaloon("word", QString(5000, 'x') + " " + QString("word ").repeated(400), 10);
    QWidget* shown = Balloon::CurrentBalloon();
    ASSERT_NE(shown, nullptr);
    EXPECT_LE(shown->width(), 360);
    EXPECT_LE(shown->height(), 240);
    Balloon::CloseBaloon();
}
