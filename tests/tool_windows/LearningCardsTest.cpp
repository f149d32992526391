// The learning window's flash cards and words-only methods, and the rules every method
// shares: the list's words in order, wrapping both ways, the speed bars and the drill timer,
// pronunciation, and what happens without a list.
#include "tests/qtsupport/ModalAnswer.h"
#include "tests/tool_windows/LearningTestFolder.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTextEdit>

using namespace LearningTest;

namespace {

std::vector<TSection> Words()
{
    return {
        {u'A', {{u"apple", Rtf("{\\b apple} \\endash  Apfel")}, {u"arm", Rtf("{\\b arm} \\endash  Arm")}}},
        {u'B', {{u"ball", Rtf("{\\b ball} \\endash  Ball")}, {u"bird", Rtf("{\\b bird} \\endash  Vogel")}}},
        {u'C', {{u"cat", Rtf("{\\b cat} \\endash  Katze")}}},
        {u'D', {{u"dog", Rtf("{\\b dog} \\endash  Hund")}}},
    };
}

class LearningCardsTest : public ::testing::Test {
protected:
    LearningCardsTest()
    {
        folder.AddToList(0, u"apple");
        folder.AddToList(2, u"ball");
        folder.AddToList(5, u"dog2");  // a homonym: shown without its digit
        folder.AddToList(4, u"cat");
    }

    static QStringList Click(QPushButton* button, QLineEdit* shown, int times)
    {
        QStringList words;
        for (int i = 0; i < times; ++i) {
            QTest::mouseClick(button, Qt::LeftButton);
            words << shown->text();
        }
        return words;
    }

    TLearningFolder folder{Words(), u"a,b,13,"};
};

TEST_F(LearningCardsTest, FlashCardsShowTheWordsInOrderWithTheirArticlesAndWrapBothWays)
{
    auto w = folder.Open();
    w->SelectMethod(1);
    EXPECT_EQ(w->pcMethods->currentWidget(), w->tsMethod1);
    EXPECT_EQ(w->lMethod->text(), "LLMethod1");
    EXPECT_EQ(w->lLanguage->text(), "English -> English-German");
    EXPECT_EQ(w->GaugeM1->maximum(), 4);
    EXPECT_EQ(w->GaugeM1->value(), 0);
    EXPECT_TRUE(w->eWordM1->text().isEmpty());

    EXPECT_EQ(Click(w->bIncM1, w->eWordM1, 5), QStringList({"apple", "ball", "dog", "cat", "apple"}));
    EXPECT_EQ(w->GaugeM1->value(), 1);
    EXPECT_EQ(w->reDescriptionM1->toPlainText(), QString::fromUtf8("apple \u2013 Apfel"));
    EXPECT_EQ(Click(w->bDecM1, w->eWordM1, 2), QStringList({"cat", "dog"}));
    EXPECT_EQ(w->reDescriptionM1->toPlainText(), QString::fromUtf8("dog \u2013 Hund"));
    EXPECT_EQ(w->GaugeM1->value(), 3);
    // Each word becomes the main window's sound position.
    EXPECT_EQ(folder.ListSoundPositions, (std::vector<int>{0, 1, 2, 3, 0, 3, 2}));
    EXPECT_TRUE(folder.Spoken.empty());  // not asked to speak
}

TEST_F(LearningCardsTest, PreviousBeforeAnyWordStaysInTheList)
{
    auto w = folder.Open();
    w->SelectMethod(2);
    EXPECT_EQ(Click(w->bDecM2, w->eWordM2, 1), QStringList({"cat"}));
}

TEST_F(LearningCardsTest, SpeakingAsksForTheWordsSectionAndItsPlaceInIt)
{
    auto w = folder.Open();
    w->SelectMethod(1);
    QTest::mouseClick(w->ckbSpeakM1, Qt::LeftButton, {}, QPoint(8, 11));
    ASSERT_TRUE(w->ckbSpeakM1->isChecked());
    Click(w->bIncM1, w->eWordM1, 3);  // apple (A, 0), ball (B, 0), dog (D, 0)
    const auto section = [&](char16_t letter) {
        for (std::int32_t i = 0; i < 48; ++i)
            if (folder.Dict->Sections[static_cast<std::size_t>(i)].Letter == letter)
                return i;
        return -1;
    };
    using P = std::pair<std::int32_t, std::int32_t>;
    EXPECT_EQ(folder.Spoken, (std::vector<P>{{section(u'A'), 0}, {section(u'B'), 0}, {section(u'D'), 0}}));
    // Closing leaves nothing to pronounce.
    w->close();
    EXPECT_EQ(folder.SoundWordIndex, -1);
}

TEST_F(LearningCardsTest, SpeedBarsSetTheDrillIntervals)
{
    auto w = folder.Open();
    w->SelectMethod(1);
    EXPECT_EQ(w->Timer->interval(), 5 * 500 + 600);
    w->tbSpeedM1->setFocus();
    QTest::keyClick(w->tbSpeedM1, Qt::Key_Home);
    EXPECT_EQ(w->tbSpeedM1->value(), 0);
    EXPECT_EQ(w->Timer->interval(), 600);
    QTest::keyClick(w->tbSpeedM1, Qt::Key_End);
    EXPECT_EQ(w->Timer->interval(), 5600);

    w->SelectMethod(2);  // its choice takes 800 ms as the base, its bar 600 ms
    EXPECT_EQ(w->Timer->interval(), 5 * 500 + 800);
    w->tbSpeedM2->setFocus();
    QTest::keyClick(w->tbSpeedM2, Qt::Key_End);
    EXPECT_EQ(w->Timer->interval(), 10 * 500 + 600);

    w->SelectMethod(3);
    EXPECT_EQ(w->Timer->interval(), 5 * 100 + 1500);
    w->tbSpeedM3->setFocus();
    QTest::keyClick(w->tbSpeedM3, Qt::Key_Home);
    EXPECT_EQ(w->Timer->interval(), 1500);
    QTest::keyClick(w->tbSpeedM3, Qt::Key_End);
    EXPECT_EQ(w->Timer->interval(), 2500);
}

TEST_F(LearningCardsTest, StartRunsTheDrillOnTheTimerAndStopHaltsIt)
{
    auto w = folder.Open();
    w->SelectMethod(1);
    w->tbSpeedM1->setValue(0);  // 600 ms
    QTest::mouseClick(w->bStartM1, Qt::LeftButton);
    EXPECT_TRUE(w->Timer->isActive());
    EXPECT_EQ(w->bStartM1->text(), "LLBStop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->eWordM1->text() == "ball"; }, 60000));
    QTest::mouseClick(w->bStartM1, Qt::LeftButton);
    EXPECT_FALSE(w->Timer->isActive());
    EXPECT_EQ(w->bStartM1->text(), "LLBStart");
    QTest::qWait(700);
    EXPECT_EQ(w->eWordM1->text(), "ball");
}

TEST_F(LearningCardsTest, WordsOnlyShowsTheArticleOnlyWhileThePauseButtonHoldsTheDrill)
{
    auto w = folder.Open();
    w->SelectMethod(2);
    QTest::mouseClick(w->dDescriptionM2, Qt::LeftButton);  // no word yet: nothing
    EXPECT_FALSE(w->Timer->isActive());

    QTest::mouseClick(w->bIncM2, Qt::LeftButton);
    EXPECT_EQ(w->eWordM2->text(), "apple");
    EXPECT_TRUE(w->reDescriptionM2->toPlainText().isEmpty());
    QTest::mouseClick(w->bStartM2, Qt::LeftButton);
    ASSERT_TRUE(w->Timer->isActive());
    QTest::mouseClick(w->dDescriptionM2, Qt::LeftButton);  // pause and show
    EXPECT_FALSE(w->Timer->isActive());
    EXPECT_EQ(w->reDescriptionM2->toPlainText(), QString::fromUtf8("apple \u2013 Apfel"));
    EXPECT_FALSE(w->bStartM2->isEnabled());
    EXPECT_FALSE(w->bIncM2->isEnabled());
    QTest::mouseClick(w->dDescriptionM2, Qt::LeftButton);  // resume
    EXPECT_TRUE(w->Timer->isActive());
    EXPECT_TRUE(w->reDescriptionM2->toPlainText().isEmpty());
    EXPECT_TRUE(w->bDecM2->isEnabled());
}

TEST_F(LearningCardsTest, WithoutAnOpenListAMethodSaysSoAndStaysHome)
{
    folder.ListOpen = false;
    auto w = folder.Open();
    TestSupport::ClickInNextModal("bOk");
    w->SelectMethod(4);
    EXPECT_TRUE(TestSupport::LastModalText().contains("MsgLoadList"));
    EXPECT_EQ(w->pcMethods->currentWidget(), w->tsHome);
}

TEST_F(LearningCardsTest, AnEmptyListMovesNowhere)
{
    TLearningFolder empty(Words(), u"a,");
    auto w = empty.Open();
    for (int method = 1; method <= 5; ++method) {
        w->SelectMethod(method);
        for (QPushButton* b : {w->bIncM1, w->bDecM1, w->bIncM2, w->bDecM2, w->bStartM3, w->bStartM4, w->bStartM5})
            b->click();
        EXPECT_EQ(w->CurrentIndex, -1);
    }
    EXPECT_TRUE(w->eWordM1->text().isEmpty());
    EXPECT_EQ(w->bStartM4->text(), "LLBStart");
    EXPECT_TRUE(empty.Spoken.empty());
}

TEST_F(LearningCardsTest, CaptionsComeFromTheInterfaceStrings)
{
    auto w = folder.Open();
    EXPECT_EQ(w->alMethod6->text(), "LLMethod6");
    EXPECT_EQ(w->bIncM3->text(), "LLBInc");
    EXPECT_EQ(w->ckbExamenM4->text(), "LLChackExamen");
    EXPECT_EQ(w->lFastM2->text(), "LLFast");
    EXPECT_EQ(w->alExit->text(), "LLClose");
    EXPECT_EQ(ShownPicture(w->Image1), "LearnBack.jpg");
    // The panel of 800 x 600 sits in the middle of the window.
    w->resize(1000, 800);
    EXPECT_EQ(w->pLearn->geometry(), QRect(100, 100, 800, 600));
}

TEST_F(LearningCardsTest, ExitClosesTheWindow)
{
    auto w = folder.Open();
    QTest::mouseClick(w->alExit, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
}

}  // namespace
