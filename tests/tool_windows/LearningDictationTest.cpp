// Dictation (method 5) and the periodic word (method 6): the words pronounced and typed, and
// method 6's timer handed to the main window as the window closes.
#include "tests/tool_windows/LearningTestFolder.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>

using namespace LearningTest;

namespace {

std::vector<TSection> Words()
{
    return {
        {u'A', {{u"apple", Rtf("apple \\endash  Apfel")}}},
        {u'B', {{u"ball", Rtf("ball \\endash  Ball")}, {u"bird", Rtf("bird \\endash  Vogel")}}},
    };
}

class LearningDictationTest : public ::testing::Test {
protected:
    LearningDictationTest()
    {
        folder.AddToList(0, u"apple");
        folder.AddToList(2, u"bird");
    }

    void Answer(TfLearning& w, const QString& text)
    {
        w.eTestWordM5->setFocus();
        w.eTestWordM5->clear();
        TypeText(&w, text);
        PressKey(&w, Qt::Key_Return);
    }

    TLearningFolder folder{Words(), u"a,"};
};

using P = std::pair<std::int32_t, std::int32_t>;

TEST_F(LearningDictationTest, EachWordIsPronouncedAndARightAnswerMovesOn)
{
    auto w = folder.Open();
    w->SelectMethod(5);
    EXPECT_FALSE(w->bCheckM5->isEnabled());
    QTest::mouseClick(w->bStartM5, Qt::LeftButton);
    EXPECT_EQ(w->bStartM5->text(), "LLBStop");
    EXPECT_EQ(w->DictationWord, "apple");
    EXPECT_EQ(folder.Spoken, (std::vector<P>{{0, 0}}));

    Answer(*w, "");  // ignored
    Answer(*w, "appel");
    EXPECT_EQ(ShownPicture(w->ImageM5), "No.jpg");
    EXPECT_EQ(folder.Sounds, (std::vector<QString>{"No.wav"}));
    EXPECT_EQ(folder.Spoken.size(), 1u);
    Answer(*w, "apple");
    EXPECT_EQ(ShownPicture(w->ImageM5), "Yes.jpg");
    EXPECT_EQ(folder.Sounds.size(), 1u);  // a right answer makes no sound
    EXPECT_EQ(w->DictationWord, "bird");
    EXPECT_EQ(w->GaugeM5->value(), 2);
    EXPECT_EQ(folder.Spoken, (std::vector<P>{{0, 0}, {1, 1}}));  // bird: second word of B
    EXPECT_TRUE(w->eTestWordM5->text().isEmpty());

    QTest::mouseClick(w->bShowM5, Qt::LeftButton);
    EXPECT_EQ(w->eTestWordM5->text(), "bird");
    QTest::mouseClick(w->bStartM5, Qt::LeftButton);
    EXPECT_EQ(w->bStartM5->text(), "LLBStart");
    EXPECT_FALSE(w->bShowM5->isEnabled());
}

TEST_F(LearningDictationTest, AWordTheDictionaryDoesNotHoldIsNotPronounced)
{
    TLearningFolder other(Words(), u"a,");
    std::string article = "x";
    ASSERT_TRUE(other.List->AddWord(500, u"ghost", article));
    other.lbList.addItem("ghost");
    auto w = other.Open();
    w->SelectMethod(5);
    QTest::mouseClick(w->bStartM5, Qt::LeftButton);
    EXPECT_EQ(w->DictationWord, "ghost");
    EXPECT_TRUE(other.Spoken.empty());
}

TEST_F(LearningDictationTest, PeriodicWordStartsTheMainWindowsTimerAndCloses)
{
    auto w = folder.Open();
    w->SelectMethod(6);
    EXPECT_EQ(w->pcMethods->currentWidget(), w->tsMethod6);
    EXPECT_EQ(w->bStartM6->text(), "LLBStart");
    EXPECT_EQ(w->UpDown1->value(), 3);
    w->UpDown1->setFocus();
    QTest::keyClick(w->UpDown1, Qt::Key_Up);
    QTest::keyClick(w->UpDown1, Qt::Key_Up);
    QTest::mouseClick(w->ckbSpeakM6, Qt::LeftButton, {}, QPoint(8, 11));
    QTest::mouseClick(w->bStartM6, Qt::LeftButton);
    EXPECT_TRUE(folder.TimerM6.isActive());
    EXPECT_EQ(folder.TimerM6.interval(), 5 * 60000);
    EXPECT_TRUE(folder.SpeakInMethod6);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(folder.SoundWordIndex, -1);
}

TEST_F(LearningDictationTest, ChoosingAnyMethodLaterStopsThePeriodicWord)
{
    folder.TimerM6.start(60000);
    auto w = folder.Open();
    w->SelectMethod(2);
    EXPECT_FALSE(folder.TimerM6.isActive());
    folder.TimerM6.start(60000);
    w->SelectMethod(7);
    EXPECT_FALSE(folder.TimerM6.isActive());
    // The interval stays within 1 to 30 minutes.
    w->SelectMethod(6);
    w->UpDown1->setFocus();
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(w->UpDown1, Qt::Key_Up);
    QTest::mouseClick(w->bStartM6, Qt::LeftButton);
    EXPECT_EQ(folder.TimerM6.interval(), 30 * 60000);
    EXPECT_FALSE(folder.SpeakInMethod6);
}

}  // namespace
