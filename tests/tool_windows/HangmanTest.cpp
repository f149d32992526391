// Hangman: a word from the dictionary or the list, its first and last letters given, the
// gallows pictures in order, a won and a lost game, typed guesses in either case, and the
// main window's dictionary left at its letter.
#include "tests/tool_windows/LearningTestFolder.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTextEdit>

using namespace LearningTest;

namespace {

const std::u16string kKeyboard = u"a,b,13,c,13,d,13,e,13,f,13,g,13,h,13,i,13,k,13,l,13,o,13,r,13,s,13,x,13,y,13,z,13,";

TMURL* Key(const TfLearning& w, const QString& letter)
{
    for (TMURL* k : w.Keys)
        if (k->text() == letter)
            return k;
    return nullptr;
}

class HangmanTest : public ::testing::Test {
protected:
    // Starts the game on a dictionary holding one word, so the pick is that word.
    std::unique_ptr<TfLearning> Game(TLearningFolder& folder)
    {
        auto w = folder.Open();
        w->SelectMethod(7);
        QTest::mouseClick(w->rbDictWords, Qt::LeftButton, {}, QPoint(8, 11));
        QTest::mouseClick(w->alNextWord, Qt::LeftButton);
        return w;
    }

    void Guess(TfLearning& w, const QString& letter)
    {
        TMURL* k = Key(w, letter);
        ASSERT_NE(k, nullptr);
        QTest::mouseClick(k, Qt::LeftButton);
    }

    TLearningFolder hello{{{u'H', {{u"hello", Rtf("{\\b hello} \\endash  hallo")}}}}, kKeyboard};
};

TEST_F(HangmanTest, ANewGameShowsTheWinPictureAndNoWord)
{
    auto w = hello.Open();
    w->SelectMethod(7);
    EXPECT_EQ(w->pcMethods->currentWidget(), w->tsHangman);
    EXPECT_EQ(w->lMethod->text(), "LLHangMan");
    EXPECT_EQ(ShownPicture(w->HangImage), "Hang_Win.jpg");
    EXPECT_EQ(w->HiddenCount, -1);
    EXPECT_FALSE(w->GameRunning);
    EXPECT_TRUE(w->lGameWord->text().isEmpty());
    QTest::mouseClick(Key(*w, "l"), Qt::LeftButton);  // no word: a key guesses nothing
    EXPECT_TRUE(Key(*w, "l")->isEnabled());
}

TEST_F(HangmanTest, AWonGame)
{
    auto w = Game(hello);
    EXPECT_EQ(w->GameWord, "hello");
    EXPECT_EQ(w->lGameWord->text(), " h  _  _  _  o ");
    EXPECT_EQ(w->HiddenCount, 3);
    EXPECT_EQ(ShownPicture(w->HangImage), "Hang_1.jpg");
    EXPECT_FALSE(Key(*w, "h")->isEnabled());
    EXPECT_FALSE(Key(*w, "o")->isEnabled());
    EXPECT_TRUE(w->GameRunning);

    Guess(*w, "l");
    EXPECT_EQ(w->lGameWord->text(), " h  _  l  l  o ");
    EXPECT_EQ(w->HiddenCount, 1);
    Guess(*w, "x");
    EXPECT_EQ(ShownPicture(w->HangImage), "Hang_2.jpg");
    EXPECT_FALSE(Key(*w, "x")->isEnabled());
    Guess(*w, "e");
    EXPECT_EQ(w->lWins->text(), "1");
    EXPECT_EQ(w->lLoses->text(), "0");
    EXPECT_EQ(ShownPicture(w->HangImage), "Hang_Win.jpg");
    EXPECT_EQ(w->lGameWord->text(), " h  e  l  l  o ");
    EXPECT_EQ(w->reDescriptionHM->toPlainText(), QString::fromUtf8("hello \u2013 hallo"));
    EXPECT_FALSE(w->GameRunning);
    EXPECT_EQ(w->HiddenCount, -1);

    // The next word enables every key again.
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);
    EXPECT_TRUE(Key(*w, "x")->isEnabled());
    EXPECT_TRUE(w->reDescriptionHM->toPlainText().isEmpty());
}

TEST_F(HangmanTest, ALostGameShowsEveryStageThenTheWholeWord)
{
    auto w = Game(hello);
    QStringList pictures;
    for (const char* miss : {"a", "b", "c", "d", "f", "g"}) {
        Guess(*w, miss);
        pictures << ShownPicture(w->HangImage);
    }
    EXPECT_EQ(pictures,
              QStringList({"Hang_2.jpg", "Hang_3.jpg", "Hang_4.jpg", "Hang_5.jpg", "Hang_6.jpg", "Hang_7.jpg"}));
    EXPECT_EQ(w->lLoses->text(), "1");
    EXPECT_EQ(w->lWins->text(), "0");
    EXPECT_EQ(w->lGameWord->text(), "h e  l  l o");
    EXPECT_FALSE(w->GameRunning);
    EXPECT_FALSE(w->reDescriptionHM->toPlainText().isEmpty());
    Guess(*w, "l");  // the game is over
    EXPECT_EQ(w->lGameWord->text(), "h e  l  l o");

    // A new game resets the score.
    QTest::mouseClick(w->alNewGame, Qt::LeftButton);
    EXPECT_EQ(w->lLoses->text(), "0");
    EXPECT_EQ(ShownPicture(w->HangImage), "Hang_Win.jpg");
}

TEST_F(HangmanTest, TypedGuessesInEitherCase)
{
    auto w = Game(hello);
    TypeText(w.get(), "L");  // upper case: found, shown as typed
    EXPECT_EQ(w->lGameWord->text(), " h  _  L  L  o ");
    EXPECT_FALSE(Key(*w, "l")->isEnabled());
    TypeText(w.get(), "l");  // the other case is another typed character, found again
    EXPECT_EQ(w->MissStage, 1);
    TypeText(w.get(), "x");
    EXPECT_EQ(ShownPicture(w->HangImage), "Hang_2.jpg");
    TypeText(w.get(), "x");  // the same character twice: nothing
    EXPECT_EQ(w->MissStage, 2);
    TypeText(w.get(), "X");  // the other case of a missed letter costs another miss
    EXPECT_EQ(ShownPicture(w->HangImage), "Hang_3.jpg");

    // A modifier alone is no guess; a character that is not a key is refused.
    PressKey(w.get(), Qt::Key_Shift);
    PressKey(w.get(), Qt::Key_Control);
    EXPECT_TRUE(hello.Messages.empty());
    TypeText(w.get(), "1");
    PressKey(w.get(), Qt::Key_Return);
    EXPECT_EQ(hello.Messages, (std::vector<QString>{"MsgCorectKeys", "MsgCorectKeys"}));
    EXPECT_EQ(w->MissStage, 3);

    TypeText(w.get(), "E");
    EXPECT_EQ(w->lWins->text(), "1");
    // After the game typing does nothing, not even the message.
    TypeText(w.get(), "q");
    EXPECT_EQ(hello.Messages.size(), 2u);
}

TEST_F(HangmanTest, GivingUpAndANewWordMidGame)
{
    hello.ListOpen = false;
    auto w = hello.Open();
    w->SelectMethod(7);
    QTest::mouseClick(w->alLoss, Qt::LeftButton);  // no word: nothing
    EXPECT_EQ(w->lLoses->text(), "0");
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);
    Guess(*w, "x");
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);  // neither won nor lost
    EXPECT_EQ(w->lLoses->text(), "0");
    EXPECT_EQ(w->lWins->text(), "0");
    EXPECT_EQ(ShownPicture(w->HangImage), "Hang_1.jpg");
    EXPECT_EQ(w->MissStage, 1);
    QTest::mouseClick(w->alLoss, Qt::LeftButton);
    EXPECT_EQ(ShownPicture(w->HangImage), "Hang_7.jpg");
    EXPECT_EQ(w->lLoses->text(), "1");
    EXPECT_EQ(w->lGameWord->text(), "h e  l  l o");
}

TEST_F(HangmanTest, ListWordsPlayTrimmedWithoutTheirDigitAndShowTheListsArticle)
{
    TLearningFolder folder{{{u'A', {{u"apple", Rtf("apple")}}}}, kKeyboard};
    std::string article = Rtf("{\\b ice-cold} eiskalt");
    ASSERT_TRUE(folder.List->AddWord(0, u"  ice-cold3 ", article));
    folder.lbList.addItem("  ice-cold3 ");
    auto w = folder.Open();
    w->SelectMethod(7);
    EXPECT_TRUE(w->rbListWords->isChecked());
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);
    EXPECT_EQ(w->GameWord, "ice-cold");
    // Hyphens show from the start and are never hidden.
    EXPECT_EQ(w->lGameWord->text(), " i  _  _ - _  _  _  d ");
    EXPECT_EQ(w->HiddenCount, 5);
    for (const char* g : {"c", "e", "o", "l"})
        Guess(*w, g);
    EXPECT_EQ(w->lWins->text(), "1");
    EXPECT_EQ(w->reDescriptionHM->toPlainText(), "ice-cold eiskalt");
}

TEST_F(HangmanTest, WithoutAListOnlyDictionaryWordsCanBeChosen)
{
    hello.ListOpen = false;
    auto w = hello.Open();
    w->SelectMethod(7);
    EXPECT_TRUE(w->rbDictWords->isChecked());
    EXPECT_FALSE(w->rbListWords->isEnabled());
}

TEST_F(HangmanTest, ShortWordsAndNoWords)
{
    TLearningFolder folder{{{u'A', {{u"apple", Rtf("apple")}}}}, kKeyboard};
    std::string article = "a";
    ASSERT_TRUE(folder.List->AddWord(0, u"ox", article));
    folder.lbList.addItem("ox");
    auto w = folder.Open();
    w->SelectMethod(7);
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);
    EXPECT_EQ(w->HiddenCount, 0);  // every letter given, but the game goes on
    EXPECT_TRUE(w->GameRunning);
    Guess(*w, "z");
    EXPECT_EQ(w->MissStage, 2);
    TypeText(w.get(), "o");  // a revealed letter is found: the game is won
    EXPECT_EQ(w->lWins->text(), "1");

    // One letter: shown once when lost.
    folder.lbList.item(0)->setText("a");
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);
    EXPECT_EQ(w->lGameWord->text(), " a ");
    QTest::mouseClick(w->alLoss, Qt::LeftButton);
    EXPECT_EQ(w->lGameWord->text(), "a");

    // A blank entry or an empty list gives no game.
    folder.lbList.item(0)->setText("  ");
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);
    EXPECT_FALSE(w->GameRunning);
    EXPECT_EQ(w->HiddenCount, -1);
    folder.lbList.clear();
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);
    EXPECT_FALSE(w->GameRunning);
}

TEST_F(HangmanTest, DictionaryWordsLeaveTheMainWindowsLetterWhereItWas)
{
    TLearningFolder folder{{{u'A', {{u"apple", Rtf("apple")}, {u"arm", Rtf("arm")}}},
                            {u'B', {{u"ball", Rtf("ball")}, {u"bird", Rtf("bird")}}},
                            {u'C', {{u"cat", Rtf("cat")}}}},
                           kKeyboard};
    folder.ListOpen = false;
    std::u16string words;
    folder.Dict->GetLetterWords(u'B', false, words, false);  // the main window shows B
    const std::int32_t section = folder.Dict->CurrentSection;
    auto w = folder.Open(3);
    w->SelectMethod(7);
    QStringList picked;
    for (int i = 0; i < 10; ++i) {
        QTest::mouseClick(w->alNextWord, Qt::LeftButton);
        picked << w->GameWord;
        // The word's index is its absolute one: the article at the end is the word's.
        std::string article;
        folder.Dict->GetArticle(w->WordIndex, true, article, false, true);
        EXPECT_NE(article.find(w->GameWord.toStdString()), std::string::npos);
    }
    EXPECT_EQ(w->LetterLists.size(), 3u);
    EXPECT_GT(QSet<QString>(picked.begin(), picked.end()).size(), 1);
    EXPECT_EQ(folder.Dict->CurrentSection, section);
    EXPECT_EQ(folder.Dict->CurrentLetter, u'B');
    std::string article;
    folder.Dict->GetArticle(1, true, article, false, false);  // within the shown letter
    EXPECT_NE(article.find("bird"), std::string::npos);
}

TEST_F(HangmanTest, ChoosingAMethodStopsTypedGuesses)
{
    hello.AddToList(0, u"hello");
    auto w = Game(hello);
    w->SelectMethod(1);
    EXPECT_FALSE(w->GameRunning);
    TypeText(w.get(), "7");
    EXPECT_TRUE(hello.Messages.empty());
}

TEST_F(HangmanTest, TheKeyOfAMessageIsNoGuess)
{
    // A message takes the activation from the game while it shows; the window manager gives
    // it back only later.
    TLearningHost host = hello.Host();
    host.ShowMessageBox = [this](const QString& text, int, int) {
        hello.Messages.push_back(text);
        QApplication::setActiveWindow(nullptr);
        return 1;
    };
    TfLearning game(std::move(host));
    game.show();
    QApplication::setActiveWindow(&game);
    game.SelectMethod(7);
    QTest::mouseClick(game.rbDictWords, Qt::LeftButton, {}, QPoint(8, 11));
    QTest::mouseClick(game.alNextWord, Qt::LeftButton);
    game.rbDictWords->setFocus();
    TypeText(&game, "1");
    EXPECT_EQ(hello.Messages.size(), 1u);  // one key, one message

    // Enter held on the message repeats into the game once the message is gone.
    QApplication::setActiveWindow(&game);
    game.rbDictWords->setFocus();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(KeyTarget(&game), &repeat);
    EXPECT_EQ(hello.Messages.size(), 1u);
    EXPECT_EQ(game.MissStage, 1);
    TypeText(&game, "e");
    EXPECT_EQ(game.lGameWord->text(), " h  e  _  _  o ");
}

}  // namespace
