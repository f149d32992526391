// The alphabet keyboard: its keys read from line 2 of the dictionary's description, laid out
// by the spacings the line gives, for the alphabets of the project's language table.
#include "data/sample/LanguageTable.h"
#include "tests/tool_windows/LearningTestFolder.h"
#include "tools/windows/AlphabetKeyboard.h"

#include <QStackedWidget>

using namespace LearningTest;

namespace {

std::vector<TSection> OneWord()
{
    return {{u'A', {{u"apple", Rtf("apple")}}}};
}

QString Letters(const TfLearning& w)
{
    QString s;
    for (const TMURL* k : w.Keys)
        s += k->text();
    return s;
}

int KeyX(const TfLearning& w, const QString& letter)
{
    for (const TMURL* k : w.Keys)
        if (k->text() == letter)
            return k->x();
    return -1;
}

TEST(HangmanKeyboardTest, EnglishKeysInOrderWithNarrowAndWideSteps)
{
    TLearningFolder folder(OneWord(), SampleData::AlphabetLine2(SampleData::LanguageByCode("ENG")));
    auto w = folder.Open();
    EXPECT_EQ(Letters(*w), "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(w->KeyboardLetters, "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(KeyX(*w, "a"), 4);
    EXPECT_EQ(KeyX(*w, "b") - KeyX(*w, "a"), 13);
    EXPECT_EQ(KeyX(*w, "j") - KeyX(*w, "i"), 9);   // after a narrow letter
    EXPECT_EQ(KeyX(*w, "n") - KeyX(*w, "m"), 17);  // after a wide one
    for (const TMURL* k : w->Keys) {
        EXPECT_EQ(k->y(), 2);
        EXPECT_EQ(k->parentWidget(), w->mbChars);
        EXPECT_EQ(k->toolTip(), k->text());
    }
    // Every key stays on the panel.
    EXPECT_LE(w->Keys.back()->geometry().right(), w->mbChars->width());
}

TEST(HangmanKeyboardTest, GermanKeysCarryTheUmlautsAndSharpS)
{
    TLearningFolder folder(OneWord(), SampleData::AlphabetLine2(SampleData::LanguageByCode("GER")));
    auto w = folder.Open();
    EXPECT_EQ(Letters(*w), QString::fromUtf8("aäbcdefghijklmnoöpqrstuüvwxyzß"));
    EXPECT_EQ(KeyX(*w, QString::fromUtf8("ä")) - KeyX(*w, "a"), 13);
    EXPECT_LE(w->Keys.back()->geometry().right(), w->mbChars->width());
}

TEST(HangmanKeyboardTest, RussianKeysFollowTheCyrillicAlphabet)
{
    TLearningFolder folder(OneWord(), SampleData::AlphabetLine2(SampleData::LanguageByCode("RUS")));
    auto w = folder.Open();
    EXPECT_EQ(Letters(*w), QString::fromUtf8("абвгдеёжзийклмнопрстуфхцчшщъыьэюя"));
    EXPECT_EQ(KeyX(*w, QString::fromUtf8("з")) - KeyX(*w, QString::fromUtf8("ж")), 17);
    EXPECT_LE(w->Keys.back()->geometry().right(), w->mbChars->width());
    // The game rebuilds the keys; the old ones go.
    w->SelectMethod(7);
    EXPECT_EQ(w->mbChars->findChildren<TMURL*>().size(), 33);
}

TEST(HangmanKeyboardTest, TheLineIsReadAsItsFormatSays)
{
    // A number before any letter has no key to space; text after the last comma is unused;
    // spacings are 16-bit values.
    const std::vector<TAlphabetEntry> e = ParseAlphabetLine(u"7,a,b,20,c,-3,d,70000,e");
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].Letter, u"a");
    EXPECT_EQ(e[0].Spacing, 0);
    EXPECT_EQ(e[1].Spacing, 20);
    EXPECT_EQ(e[2].Spacing, -3);
    EXPECT_EQ(e[3].Letter, u"d");
    EXPECT_EQ(e[3].Spacing, static_cast<std::int16_t>(70000 & 0xFFFF));
    EXPECT_TRUE(ParseAlphabetLine(u"").empty());
    EXPECT_EQ(ParseAlphabetLine(u"1x,+,").size(), 2u);  // not numbers: letters
}

TEST(HangmanKeyboardTest, ADictionaryWithoutAKeyboardLineGivesNoKeys)
{
    TLearningFolder folder(OneWord(), u"");
    TLearningHost host = folder.Host();
    TUnknownDictionary unknown("nothing");
    host.Dictionary = &unknown;
    TfLearning w(host);
    EXPECT_TRUE(w.Keys.empty());
    host.Dictionary = nullptr;
    TfLearning none(host);
    EXPECT_TRUE(none.Keys.empty());
    none.SelectMethod(7);
    QTest::mouseClick(none.alNextWord, Qt::LeftButton);  // nothing to pick from
    EXPECT_FALSE(none.GameRunning);
    EXPECT_EQ(none.HiddenCount, -1);
}

}  // namespace
