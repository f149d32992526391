// The popup balloon: shows a word with its text without taking the focus, replaces the shown
// one, closes on a click, after its time or when asked, and stays small with a long text.
#include "platform/qt/Balloon.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull() || !first->isVisible(); }, 60000));
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.isNull() || !shown->isVisible(); }, 60000));
    Balloon::ShowBaloon("word", "text", 1);
    shown = Balloon::CurrentBalloon();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.isNull() || !shown->isVisible(); }, 60000));
    EXPECT_EQ(Balloon::CurrentBalloon(), nullptr);
}

TEST(Balloon, LongTextStaysBounded)
{
    Balloon::ShowBaloon("word", QString(5000, 'x') + " " + QString("word ").repeated(400), 10);
    QWidget* shown = Balloon::CurrentBalloon();
    ASSERT_NE(shown, nullptr);
    const QRect area = shown->screen()->availableGeometry();
    EXPECT_LE(shown->width(), area.width() / 3);
    EXPECT_LE(shown->height(), area.height());
    EXPECT_TRUE(area.contains(shown->geometry()));
    Balloon::CloseBaloon();
}

namespace {

QString Words(int count)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words << QStringLiteral("word%1").arg(i);
    return words.join(' ');
}

QString ShownText()
{
    return Balloon::CurrentBalloon()->findChild<QLabel*>("lText")->text();
}

}  // namespace

TEST(Balloon, SizesToItsTextUpToAThirdOfTheScreen)
{
    // A short text: as wide as it needs, no wider.
    Balloon::ShowBaloon("house", "Haus", 10);
    QWidget* shown = Balloon::CurrentBalloon();
    const int third = shown->screen()->availableGeometry().width() / 3;
    const int shortWidth = shown->width();
    EXPECT_LT(shortWidth, third / 2);
    EXPECT_EQ(ShownText(), "Haus");

    // A sentence that fits on one line of a third of the screen is not wrapped.
    const QString sentence = "Haus, das; Gebaeude zum Wohnen";
    Balloon::ShowBaloon("house", sentence, 10);
    shown = Balloon::CurrentBalloon();
    EXPECT_GT(shown->width(), shortWidth);
    EXPECT_LE(shown->width(), third);
    EXPECT_EQ(ShownText(), sentence);

    // A long paragraph: a third of the screen, wrapped at words, every word shown whole.
    const QString paragraph = Words(60);
    Balloon::ShowBaloon("house", paragraph, 10);
    shown = Balloon::CurrentBalloon();
    EXPECT_GE(shown->width(), third - 30);
    EXPECT_LE(shown->width(), third);
    const QStringList lines = ShownText().split('\n');
    EXPECT_GT(lines.size(), 3);
    EXPECT_EQ(lines.join(' '), paragraph);
    EXPECT_FALSE(ShownText().contains(QChar(0x2026)));
    Balloon::CloseBaloon();
}

TEST(Balloon, ATextTooLongIsCutWithAnEllipsisAndStaysOnTheScreen)
{
    const QString text = Words(2000);
    Balloon::ShowBaloon("house", text, 10);
    QWidget* shown = Balloon::CurrentBalloon();
    ASSERT_NE(shown, nullptr);
    const QRect area = shown->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(shown->geometry()));
    const QString visible = ShownText();
    ASSERT_TRUE(visible.endsWith(QChar(0x2026))) << visible.right(40).toStdString();
    EXPECT_EQ(visible.count(QChar(0x2026)), 1);
    // Everything before the cut is the text's own beginning, whole lines of whole words.
    QStringList lines = visible.split('\n');
    const QString last = lines.takeLast();
    EXPECT_TRUE(text.startsWith(lines.join(' ') + ' '));
    // The label shows every line in full: nothing is clipped at the bottom.
    QLabel* label = shown->findChild<QLabel*>("lText");
    EXPECT_GE(label->height(), label->sizeHint().height());
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(last));
    Balloon::CloseBaloon();

    // Many short lines: cut after the last that fits, with the ellipsis there.
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many << QStringLiteral("line %1").arg(i);
    Balloon::ShowBaloon("house", many.join("\r\n"), 10);
    shown = Balloon::CurrentBalloon();
    EXPECT_TRUE(area.contains(shown->geometry()));
    EXPECT_TRUE(ShownText().startsWith("line 0\nline 1\nline 2\n"));
    EXPECT_TRUE(ShownText().endsWith(QChar(0x2026)));
    Balloon::CloseBaloon();
}

TEST(Balloon, AWordLongerThanTheBalloonIsBrokenNotClipped)
{
    const QString word(400, 'x');
    Balloon::ShowBaloon("x", word, 10);
    QWidget* shown = Balloon::CurrentBalloon();
    QLabel* label = shown->findChild<QLabel*>("lText");
    EXPECT_EQ(ShownText().split('\n').join(QString()), word);
    for (const QString& line : ShownText().split('\n'))
        EXPECT_LE(label->fontMetrics().horizontalAdvance(line), label->width());
    Balloon::CloseBaloon();
}
