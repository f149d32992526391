// Search and word list: typing, Enter and the history, user words of a maker's dictionary,
// advanced search and the letter panel, driven through the real widgets.
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "components/MBox.h"
#include "components/MURL.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

class MainWindowSearch : public ::testing::Test {
protected:
    void Open(bool everyKey)
    {
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->Settings.EveryKey = everyKey;
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->cbFind->setFocus();
    }
    void Type(const QString& text, bool enter)
    {
        window->cbFind->lineEdit()->selectAll();
        QTest::keyClicks(window->cbFind, text);
        if (enter)
            QTest::keyClick(window->cbFind, Qt::Key_Return);
    }
    QString Article() const { return window->reDescription->toPlainText(); }
    void ClickRow(int row)
    {
        const QRect r = window->lbWords->visualRect(window->WordsModel->index(row));
        QTest::mouseClick(window->lbWords->viewport(), Qt::LeftButton, {}, r.center());
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace

TEST_F(MainWindowSearch, EnterLoadsTheLetterBlockSelectsTheWordAndShowsItsArticle)
{
    Open(false);
    Type("house", true);
    EXPECT_EQ(window->SelectedWord(), "house");
    EXPECT_TRUE(Article().contains("Haus"));
    EXPECT_EQ(window->StatusPanel(0), "house");
    EXPECT_EQ(window->SoundWordIndex, 1);  // second word of its block
    EXPECT_EQ(window->WordsModel->Word(0), "hat");
}

// Each block is read where the one before it lay: a smaller block after a larger one lists its
// own words only, and the prefix search ignores letter case.
TEST_F(MainWindowSearch, EachLetterBlockListsExactlyItsOwnWords)
{
    Open(false);
    Type("HOUSEH", true);
    EXPECT_EQ(window->SelectedWord(), "household");
    ASSERT_EQ(window->WordCount(), 5);
    Type("mouse", true);
    ASSERT_EQ(window->WordCount(), 1);
    EXPECT_EQ(window->WordsModel->Word(0), "mouse");
    EXPECT_TRUE(Article().contains("Maus"));
    Type("Arm", true);
    ASSERT_EQ(window->WordCount(), 2);
    EXPECT_EQ(window->SelectedWord(), "arm");
    Type("hut", true);
    ASSERT_EQ(window->WordCount(), 5);
    EXPECT_EQ(window->WordsModel->Word(4), "hut");
    EXPECT_EQ(window->SelectedIndex(), 4);
    EXPECT_TRUE(Article().contains("H\u00FCtte"));
}

TEST_F(MainWindowSearch, SameWordAgainShowsItsArticleAlsoAfterThePaneWasChanged)
{
    Open(true);
    Type("hous", false);
    ASSERT_TRUE(Article().contains("Haus"));
    window->reDescription->setPlainText("something else");
    Type("house", false);
    EXPECT_TRUE(Article().contains("Haus"));
    // The same place in another letter block is another word.
    Type("hat", false);
    ASSERT_TRUE(Article().contains("Hut"));
    Type("a", false);
    EXPECT_TRUE(Article().contains("Apfel"));
}

TEST_F(MainWindowSearch, EveryKeySelectsByPrefixAndShortensAnUnknownEnding)
{
    Open(true);
    Type("househ", false);
    EXPECT_EQ(window->SelectedWord(), "household");
    EXPECT_TRUE(Article().contains("Haushalt"));
    QTest::keyClick(window->cbFind, Qt::Key_Backspace);
    Type("housex", false);  // no word begins so: the longest known beginning counts
    EXPECT_EQ(window->SelectedWord(), "house");
    Type("q", false);  // nothing at all
    EXPECT_EQ(window->SelectedIndex(), -1);
    Type("zebra", true);
    EXPECT_EQ(window->SelectedIndex(), -1);
}

TEST_F(MainWindowSearch, EnterKeepsFiftyHistoryEntriesWithoutRepeats)
{
    Open(false);
    for (int i = 0; i < 55; ++i)
        Type(QStringLiteral("hat%1").arg(i), true);
    ASSERT_EQ(window->cbFind->count(), 50);
    EXPECT_EQ(window->cbFind->itemText(0), "hat5");
    EXPECT_EQ(window->cbFind->itemText(49), "hat54");
    Type("hat30", true);
    EXPECT_EQ(window->cbFind->count(), 50);
    EXPECT_EQ(window->cbFind->findText("hat30"), 25);
    // The history is kept per dictionary and comes back with it.
    window->close();
    window.reset();
    Open(false);
    EXPECT_EQ(window->cbFind->count(), 50);
    EXPECT_EQ(window->cbFind->currentText(), "");
}

TEST_F(MainWindowSearch, HistoryPickFromTheListSearchesItButLeavingTheBoxDoesNot)
{
    Open(false);
    Type("house", true);
    Type("apple", true);
    ASSERT_EQ(window->cbFind->count(), 2);
    window->cbFind->showPopup();
    QAbstractItemView* view = window->cbFind->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    QSignalSpy picked(window->cbFind, &QComboBox::activated);
    // A click within a double-click time of the list opening counts as the opening click.
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    const QRect r = view->visualRect(view->model()->index(0, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return picked.count() == 1 && !view->isVisible(); }, 60000));
    QTest::qWait(20);
    EXPECT_EQ(window->cbFind->currentText(), "house");
    EXPECT_EQ(window->SelectedWord(), "house");
    EXPECT_TRUE(Article().contains("Haus"));
    // Typing an entry's text and leaving the box is no pick.
    Type("apple", false);
    window->lbWords->setFocus();
    QTest::qWait(20);
    EXPECT_EQ(window->SelectedWord(), "house");
}

TEST_F(MainWindowSearch, UserWordsAppearAtTheirSortedPlacesAndOpenTheirOwnArticle)
{
    {
        TTavorDictionary maker(folder.DataFile("ENGGER_T"));
        ASSERT_EQ(maker.AddWord(u"houseboat", "{\\rtf1 user boat\\par}"), 0);
        ASSERT_EQ(maker.AddWord(u"hay", "{\\rtf1 user hay\\par}"), 0);
        ASSERT_EQ(maker.AddWord(u"hzz", "{\\rtf1 user last\\par}"), 0);
    }
    Open(false);
    Type("house", true);
    QStringList words;
    for (int i = 0; i < window->WordCount(); ++i)
        words << window->WordsModel->Word(i);
    EXPECT_EQ(words, QStringList({"hat", "hay", "house", "houseboat", "household", "houses", "hut", "hzz"}));
    for (int i = 0; i < window->WordCount(); ++i)
        EXPECT_EQ(window->WordsModel->IsMarked(i), words[i] == "hay" || words[i] == "houseboat" || words[i] == "hzz")
            << i;
    // Maker's words around the user words still open their own articles.
    ClickRow(3);
    EXPECT_TRUE(Article().contains("user boat"));
    EXPECT_EQ(window->SoundWordIndex, -1);
    EXPECT_TRUE(window->miEditWord->isEnabled());
    ClickRow(4);
    EXPECT_TRUE(Article().contains("Haushalt"));
    EXPECT_FALSE(window->miEditWord->isEnabled());
    ClickRow(6);
    EXPECT_TRUE(Article().contains("tte"));  // hut: "Hütte", the word after three user words
    ClickRow(7);
    EXPECT_TRUE(Article().contains("user last"));
}

TEST_F(MainWindowSearch, AdvancedSearchListsEveryWordThatHoldsTheTextAndOneCharacterKeepsTheResults)
{
    Open(false);
    window->miAdvancedSearch->trigger();
    EXPECT_EQ(window->WordCount(), 0);
    EXPECT_TRUE(window->miAdvancedSearch->isChecked());
    Type("ous", false);
    QTest::mouseClick(window->bFund, Qt::LeftButton, {}, QPoint(4, window->bFund->height() / 2));
    QStringList words;
    for (int i = 0; i < window->WordCount(); ++i)
        words << window->WordsModel->Word(i);
    EXPECT_EQ(words, QStringList({"house", "household", "houses", "mouse"}));
    ClickRow(3);
    EXPECT_TRUE(Article().contains("Maus"));
    EXPECT_EQ(window->SoundBlock, 2);
    EXPECT_EQ(window->SoundWordIndex, 0);
    // One character searches nothing and keeps the shown results readable.
    Type("o", false);
    QTest::mouseClick(window->bFund, Qt::LeftButton, {}, QPoint(4, window->bFund->height() / 2));
    EXPECT_EQ(window->WordCount(), 4);
    ClickRow(1);
    EXPECT_TRUE(Article().contains("Haushalt"));
    // Back to word search.
    window->miWordSearch->trigger();
    EXPECT_EQ(window->SearchMode, 0);
}

TEST_F(MainWindowSearch, ArrowKeysInTheListShowEachWordsArticle)
{
    Open(false);
    Type("house", true);
    window->lbWords->setFocus();
    QTest::keyClick(window->lbWords, Qt::Key_Down);
    EXPECT_EQ(window->SelectedWord(), "household");
    EXPECT_TRUE(Article().contains("Haushalt"));
    QTest::keyClick(window->lbWords, Qt::Key_Up);
    QTest::keyClick(window->lbWords, Qt::Key_Up);
    EXPECT_EQ(window->SelectedWord(), "hat");
    EXPECT_TRUE(Article().contains("Hut"));
    EXPECT_EQ(window->SoundWordIndex, 0);
}

TEST_F(MainWindowSearch, LetterLinkOpensItsBlock)
{
    Open(false);
    TMURL* m = nullptr;
    for (TMURL* l : window->mbAlphabet->findChildren<TMURL*>())
        if (l->text() == "M")
            m = l;
    ASSERT_NE(m, nullptr);
    QTest::mouseClick(m, Qt::LeftButton);
    EXPECT_EQ(window->SelectedWord(), "mouse");
    EXPECT_TRUE(Article().contains("Maus"));
    EXPECT_EQ(window->cbFind->currentText(), "M");
}
