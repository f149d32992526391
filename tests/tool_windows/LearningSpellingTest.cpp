// Timed spelling (method 3) and the word from its article (method 4): the word on show and
// hidden by the timer, answers checked with their pictures and sounds, the exam score, the
// article's head taken away, random order with a seed.
#include "tests/tool_windows/LearningTestFolder.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTextEdit>

using namespace LearningTest;

namespace {

std::vector<TSection> Words()
{
    return {
        {u'A', {{u"apple", Rtf("{\\b apple} \\endash  Apfel")}, {u"arm", Rtf("{\\b arm} \\endash  Arm")}}},
        {u'B', {{u"ball", Rtf("{\\b ball} \\endash  Ball")}}},
        {u'D', {{u"dog", Rtf("{\\b dog} \\endash  Hund")}}},
        {u'E', {{u"egg", Rtf("1. Ei")}, {u"elm", Rtf("Ulme, die")}}},
        {u'F', {{u"fox", Rtf("{\\b fox} {\\i n} \\endash  Fuchs")}}},
    };
}

class LearningSpellingTest : public ::testing::Test {
protected:
    LearningSpellingTest()
    {
        folder.AddToList(0, u"apple");
        folder.AddToList(2, u"ball");
        folder.AddToList(3, u"dog2");
    }

    void Answer(TfLearning& w, QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->clear();
        TypeText(&w, text);
        PressKey(&w, Qt::Key_Return);
    }

    TLearningFolder folder{Words(), u"a,b,13,d,13,"};
};

TEST_F(LearningSpellingTest, TheWordShowsUntilTheTimerHidesItAndNothingIsCheckedMeanwhile)
{
    auto w = folder.Open();
    w->SelectMethod(3);
    for (QPushButton* b : {w->bRepeatM3, w->bCheckM3, w->bShowM3, w->bIncM3, w->bDecM3})
        EXPECT_FALSE(b->isEnabled());
    w->tbSpeedM3->setValue(0);
    QTest::mouseClick(w->bStartM3, Qt::LeftButton);
    EXPECT_EQ(w->bStartM3->text(), "LLBStop");
    EXPECT_EQ(w->eTestWordM3->text(), "apple");
    EXPECT_EQ(w->GaugeM3->value(), 1);
    EXPECT_TRUE(w->Timer->isActive());
    EXPECT_EQ(w->Timer->interval(), 1500);

    // While the word is on show Start, Check, Show, Repeat and Enter do nothing.
    w->eTestWordM3->setFocus();
    PressKey(w.get(), Qt::Key_Return);
    for (QPushButton* b : {w->bStartM3, w->bCheckM3, w->bRepeatM3})
        QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(w->bStartM3->text(), "LLBStop");
    EXPECT_FALSE(w->ImageM3->isVisible());
    EXPECT_TRUE(folder.Sounds.empty());

    ASSERT_TRUE(QTest::qWaitFor([&] { return w->eTestWordM3->text().isEmpty(); }, 60000));
    EXPECT_FALSE(w->Timer->isActive());
    EXPECT_TRUE(w->eTestWordM3->hasFocus());
}

TEST_F(LearningSpellingTest, AnswersAreCheckedExactlyWithPictureAndSound)
{
    auto w = folder.Open();
    w->SelectMethod(3);
    w->tbSpeedM3->setValue(0);
    QTest::mouseClick(w->bStartM3, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->Timer->isActive(); }, 60000));

    Answer(*w, w->eTestWordM3, "Apple");  // case counts
    EXPECT_EQ(ShownPicture(w->ImageM3), "No.jpg");
    EXPECT_TRUE(w->ImageM3->isVisible());
    EXPECT_TRUE(w->eTestWordM3->text().isEmpty());
    Answer(*w, w->eTestWordM3, "");  // an empty answer is wrong too
    Answer(*w, w->eTestWordM3, "apple");
    EXPECT_EQ(ShownPicture(w->ImageM3), "Yes.jpg");
    EXPECT_EQ(folder.Sounds, (std::vector<QString>{"No.wav", "No.wav", "Yes.wav"}));
    EXPECT_EQ(w->CurrentIndex, 0);  // the drill does not move on by itself

    QTest::mouseClick(w->bShowM3, Qt::LeftButton);
    EXPECT_EQ(w->eTestWordM3->text(), "apple");
    // Next shows the next word (without its homonym digit) and hides the picture.
    QTest::mouseClick(w->bIncM3, Qt::LeftButton);
    QTest::mouseClick(w->bIncM3, Qt::LeftButton);
    EXPECT_FALSE(w->ImageM3->isVisible());
    EXPECT_EQ(w->eTestWordM3->text(), "dog");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->Timer->isActive(); }, 60000));
    QTest::mouseClick(w->bRepeatM3, Qt::LeftButton);  // the same word again
    EXPECT_EQ(w->eTestWordM3->text(), "dog");
    EXPECT_EQ(w->GaugeM3->value(), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->Timer->isActive(); }, 60000));
    Answer(*w, w->eTestWordM3, "dog");
    EXPECT_EQ(ShownPicture(w->ImageM3), "Yes.jpg");

    QTest::mouseClick(w->bStartM3, Qt::LeftButton);  // stop
    EXPECT_EQ(w->bStartM3->text(), "LLBStart");
    EXPECT_FALSE(w->bCheckM3->isEnabled());
    EXPECT_EQ(w->WordIndex, -1);
}

TEST_F(LearningSpellingTest, RandomOrderFollowsTheSeedAndStaysInTheList)
{
    auto sequence = [&](std::uint32_t seed) {
        auto w = folder.Open(seed);
        w->SelectMethod(3);
        QTest::mouseClick(w->ckbRandomM3, Qt::LeftButton, {}, QPoint(8, 11));
        QTest::mouseClick(w->bStartM3, Qt::LeftButton);
        QStringList shown;
        for (int i = 0; i < 12; ++i) {
            QTest::mouseClick(w->bIncM3, Qt::LeftButton);
            shown << w->eTestWordM3->text();
            EXPECT_GE(w->CurrentIndex, 0);
            EXPECT_LT(w->CurrentIndex, 3);
        }
        return shown;
    };
    const QStringList first = sequence(11);
    EXPECT_EQ(first, sequence(11));
    EXPECT_GT(QSet<QString>(first.begin(), first.end()).size(), 1);
    for (const QString& s : first)
        EXPECT_TRUE(s == "apple" || s == "ball" || s == "dog") << s.toStdString();
}

TEST_F(LearningSpellingTest, TheArticleLosesItsStyledHeadOnly)
{
    folder.AddToList(6, u"fox");
    folder.AddToList(4, u"egg");
    folder.AddToList(5, u"elm");
    auto w = folder.Open();
    w->SelectMethod(4);
    QTest::mouseClick(w->bStartM4, Qt::LeftButton);
    EXPECT_EQ(w->reDescriptionM4->toPlainText(), QString::fromUtf8(" \u2013 Apfel"));
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(w->bIncM4, Qt::LeftButton);
    // Plain characters after a styled one keep the head going while a styled one is near.
    EXPECT_EQ(w->reDescriptionM4->toPlainText(), QString::fromUtf8(" \u2013 Fuchs"));
    QTest::mouseClick(w->bIncM4, Qt::LeftButton);
    EXPECT_EQ(w->reDescriptionM4->toPlainText(), "1. Ei");  // a sense number ends the head at once
    QTest::mouseClick(w->bIncM4, Qt::LeftButton);
    EXPECT_EQ(w->reDescriptionM4->toPlainText(), "Ulme, die");  // no styled head
}

TEST_F(LearningSpellingTest, ExamCountsWrongAnswersAndRevealsFirst)
{
    auto w = folder.Open();
    w->SelectMethod(4);
    EXPECT_EQ(w->lResultM4->text(), "0 - 0");
    QTest::mouseClick(w->ckbExamenM4, Qt::LeftButton, {}, QPoint(8, 11));
    QTest::mouseClick(w->bStartM4, Qt::LeftButton);
    EXPECT_EQ(w->bStartM4->text(), "LLBStop");
    EXPECT_TRUE(w->eTestWordM4->hasFocus());

    Answer(*w, w->eTestWordM4, "");  // ignored
    EXPECT_TRUE(folder.Sounds.empty());
    Answer(*w, w->eTestWordM4, "apple");  // right: the next word comes
    EXPECT_EQ(w->lResultM4->text(), "0 - 1");
    EXPECT_EQ(w->CurrentIndex, 1);
    EXPECT_TRUE(w->eTestWordM4->text().isEmpty());
    Answer(*w, w->eTestWordM4, "bal");  // wrong: the word and its whole article
    EXPECT_EQ(w->lResultM4->text(), "1 - 1");
    EXPECT_FALSE(w->bCheckM4->isEnabled());
    EXPECT_EQ(w->eTestWordM4->text(), "ball");
    EXPECT_EQ(w->reDescriptionM4->toPlainText(), QString::fromUtf8("ball \u2013 Ball"));
    PressKey(w.get(), Qt::Key_Return);  // Check stays off until the next word
    EXPECT_EQ(w->lResultM4->text(), "1 - 1");

    QTest::mouseClick(w->bIncM4, Qt::LeftButton);
    Answer(*w, w->eTestWordM4, "dog");  // the entry "dog2" is answered without its digit
    EXPECT_EQ(w->lResultM4->text(), "1 - 2");
    EXPECT_EQ(folder.Sounds, (std::vector<QString>{"Yes.wav", "No.wav", "Yes.wav"}));

    QTest::mouseClick(w->bShowM4, Qt::LeftButton);  // apple again: revealing counts once
    EXPECT_EQ(w->eTestWordM4->text(), "apple");
    EXPECT_EQ(w->lResultM4->text(), "2 - 2");
    EXPECT_FALSE(w->bShowM4->isEnabled());
    EXPECT_FALSE(w->bCheckM4->isEnabled());

    // With Check off the start button starts a new drill from the first word.
    QTest::mouseClick(w->bStartM4, Qt::LeftButton);
    EXPECT_EQ(w->lResultM4->text(), "0 - 0");
    EXPECT_EQ(w->CurrentIndex, 0);
    EXPECT_TRUE(w->bCheckM4->isEnabled());
    QTest::mouseClick(w->bStartM4, Qt::LeftButton);  // stop
    EXPECT_EQ(w->bStartM4->text(), "LLBStart");
    EXPECT_FALSE(w->bIncM4->isEnabled());
}

TEST_F(LearningSpellingTest, WithoutExamAWrongAnswerOnlySoundsAndTheWordStays)
{
    auto w = folder.Open();
    w->SelectMethod(4);
    QTest::mouseClick(w->bStartM4, Qt::LeftButton);
    Answer(*w, w->eTestWordM4, "pear");
    EXPECT_EQ(w->lResultM4->text(), "0 - 0");
    EXPECT_TRUE(w->bCheckM4->isEnabled());
    EXPECT_EQ(w->eTestWordM4->text(), "pear");
    EXPECT_EQ(folder.Sounds, (std::vector<QString>{"No.wav"}));
}

TEST_F(LearningSpellingTest, KeyboardKeysTypeIntoTheAnswerField)
{
    auto w = folder.Open();
    w->SelectMethod(3);
    ASSERT_EQ(w->Keys.size(), 3u);
    QTest::mouseClick(w->Keys[1], Qt::LeftButton);
    QTest::mouseClick(w->Keys[0], Qt::LeftButton);
    EXPECT_EQ(w->eTestWordM3->text(), "ba");
    w->SelectMethod(6);
    QTest::mouseClick(w->Keys[2], Qt::LeftButton);  // nothing to type into
    EXPECT_EQ(w->eTestWordM3->text(), "ba");
}

}  // namespace
