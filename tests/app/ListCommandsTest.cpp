// The list menu of the learning-list panel and the list tool bar: only lists of the current
// language pair, captions holding "&", the open list shown disabled, a list that changed
// under the menu, deleting entries, and the File menu's preparation by edition.
#include "tests/app/ListCommandsTestFolder.h"

#include "engine/LearnDictionary.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace ListCommandsTest;

namespace {

class ListCommands : public TListCommandsFixture {
protected:
    void SetUp() override
    {
        MakeList("Verbs & Nouns.lst", "ENGGER", {u"house", u"hat"});
        MakeList("animals.LST", "ENGGER", {u"mouse"});
        MakeList("Deutsch.lst", "GERENG", {u"Haus"});
        WriteBytes(folder.Path() + "Learning/short.lst", "ENG");
        WriteBytes(folder.Path() + "Learning/notes.txt", "ENGGER and more");
        // A pipe is no list: reading it would wait for a writer for ever.
        ::mkfifo(QFile::encodeName(folder.Path() + "Learning/pipe.lst").constData(), 0600);
        TListCommandsFixture::SetUp();
    }
};

}  // namespace

TEST_F(ListCommands, TheMenuOffersOnlyListsOfTheCurrentPair)
{
    EXPECT_EQ(MenuCaptions(), (QStringList{"animals.LST", "Verbs && Nouns.lst"}));
    window->PopupMenuList->hide();
    window->aReverse->trigger();
    ASSERT_EQ(window->CurrentDictionaryFile, "GERENG_T");
    EXPECT_EQ(MenuCaptions(), QStringList{"Deutsch.lst"});
    window->PopupMenuList->hide();
}

TEST_F(ListCommands, ACaptionWithAmpersandOpensItsFile)
{
    ClickMenuItem("Verbs && Nouns.lst");
    EXPECT_TRUE(window->pList->isVisible());
    EXPECT_EQ(ListWords(), (QStringList{"house", "hat"}));
    EXPECT_EQ(window->StatusPanel(1), "Verbs & Nouns.lst");
    EXPECT_TRUE(window->miSaveAs->isEnabled());
    EXPECT_TRUE(window->miCloseList->isEnabled());
    EXPECT_NE(window->LearnDictionary->GetArticle(1).find("hat article"), std::string::npos);
    // The open list stays in the menu, disabled; the others can still be chosen.
    MenuCaptions();
    int disabled = 0;
    for (QAction* a : window->PopupMenuList->actions())
        if (a->isVisible() && !a->isEnabled()) {
            EXPECT_EQ(a->text(), "Verbs && Nouns.lst");
            ++disabled;
        }
    EXPECT_EQ(disabled, 1);
    ClickMenuItem("animals.LST");
    EXPECT_EQ(ListWords(), QStringList{"mouse"});
    EXPECT_EQ(window->StatusPanel(1), "animals.LST");
}

TEST_F(ListCommands, AChangedListAsksToBeSavedBeforeAnotherOpens)
{
    ClickMenuItem("animals.LST");
    window->LearnDictionary->Modified = true;
    TestSupport::ClickInNextModal("bNo");
    ClickMenuItem("Verbs && Nouns.lst");
    EXPECT_TRUE(TestSupport::LastModalText().contains("Save it?"));
    EXPECT_EQ(ListWords(), (QStringList{"house", "hat"}));
    EXPECT_FALSE(window->LearnDictionary->Modified);

    // An unchanged list opens the next one without a question.
    bool asked = false;
    TestSupport::AnswerNextModal(
        [&asked](QWidget* w) {
            asked = true;
            w->close();
        },
        300);
    ClickMenuItem("animals.LST");
    QTest::qWait(400);
    EXPECT_FALSE(asked);
    EXPECT_EQ(ListWords(), QStringList{"mouse"});
}

TEST_F(ListCommands, AListThatChangedPairSinceTheMenuKeepsTheOpenList)
{
    ClickMenuItem("animals.LST");
    MenuCaptions();
    // Another program puts a German list under a name the open menu offers.
    WriteBytes(folder.Path() + "Learning/Verbs & Nouns.lst", ReadBytes(folder.Path() + "Learning/Deutsch.lst"));
    TestSupport::ClickInNextModal("bOk");
    ClickMenuItem("Verbs && Nouns.lst");
    EXPECT_TRUE(TestSupport::LastModalText().contains("another language pair"));
    EXPECT_EQ(ListWords(), QStringList{"mouse"});
    EXPECT_EQ(window->StatusPanel(1), "animals.LST");
    EXPECT_EQ(QString::fromStdString(window->LearnDictionary->ListFileName), folder.Path() + "Learning/animals.LST");
}

TEST_F(ListCommands, ADamagedListIsRefusedWithAMessage)
{
    ClickMenuItem("animals.LST");
    MenuCaptions();
    QByteArray damaged = ReadBytes(folder.Path() + "Learning/Verbs & Nouns.lst");
    damaged[37] = '\x7f';  // the item table far beyond the end
    WriteBytes(folder.Path() + "Learning/Verbs & Nouns.lst", damaged);
    TestSupport::ClickInNextModal("bOk");
    ClickMenuItem("Verbs && Nouns.lst");
    EXPECT_TRUE(TestSupport::LastModalText().contains("damaged"));
    EXPECT_EQ(ListWords(), QStringList{"mouse"});
    EXPECT_FALSE(window->LearnDictionary->Closed);
}

TEST_F(ListCommands, DeleteButtonRemovesTheSelectedEntryFromListAndFile)
{
    ClickMenuItem("Verbs && Nouns.lst");
    window->EnableListButtons(true);
    QTest::mouseClick(window->bDelItem, Qt::LeftButton);  // nothing selected: nothing happens
    EXPECT_EQ(ListWords(), (QStringList{"house", "hat"}));
    window->reDescription->setPlainText("house article");
    ClickListRow(0);
    ASSERT_EQ(window->lbList->currentRow(), 0);
    QTest::mouseClick(window->bDelItem, Qt::LeftButton);
    EXPECT_EQ(ListWords(), QStringList{"hat"});
    EXPECT_TRUE(window->reDescription->toPlainText().trimmed().isEmpty());
    TLearnDictionary reread((folder.Path() + "Learning").toStdString());
    reread.LoadFromFile((folder.Path() + "Learning/Verbs & Nouns.lst").toStdString());
    ASSERT_EQ(reread.Words.Count(), 1);
    EXPECT_EQ(reread.Words.Get(0), u"hat");
    EXPECT_NE(reread.GetArticle(0).find("hat article"), std::string::npos);
}

namespace {

// A "Pro" edition beside the "Talking" test dictionary.
class ListCommandsEditions : public TListCommandsFixture {
protected:
    void SetUp() override
    {
        AddMakerDictionary(folder.Path(), "ENGGER_P", "Pro", 1, {u"apple", u"axe"});
        TListCommandsFixture::SetUp();
    }
};

}  // namespace

TEST_F(ListCommandsEditions, FileMenuFollowsTheEdition)
{
    window->EnableListButtons(true);
    window->EnableListCommands(true);
    ChooseDictionary(1);
    ASSERT_EQ(window->CurrentDictionaryFile, "ENGGER_P");
    window->miNewList->setEnabled(true);
    window->miAddToList->setEnabled(true);
    window->miSaveAs->setEnabled(true);
    window->EnableListButtons(true);
    OpenFileMenu();
    EXPECT_FALSE(window->miNewList->isEnabled());
    EXPECT_FALSE(window->miAddToList->isEnabled());
    EXPECT_FALSE(window->miSaveAs->isEnabled());
    for (QToolButton* b : {window->bEditListWord, window->bOpenLists, window->bDelItem, window->sbSaveAs})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    CloseFileMenu();

    // A "Talking" edition only enables a new list; the rest stays as it was.
    ChooseDictionary(0);
    ASSERT_EQ(window->CurrentDictionaryFile, "ENGGER_T");
    OpenFileMenu();
    EXPECT_TRUE(window->miNewList->isEnabled());
    EXPECT_FALSE(window->miSaveAs->isEnabled());
    EXPECT_FALSE(window->bDelItem->isEnabled());
    CloseFileMenu();
}

#if __has_include("tools/windows/NewWord.h")
#include "tools/windows/NewWord.h"
#include "tools/windows/NewWordRichEdit.h"

#include <QLineEdit>
#include <QTextCursor>

TEST_F(ListCommands, EditButtonOpensTheEntryInTheWordEditorAndSavesIntoTheList)
{
    ClickMenuItem("Verbs && Nouns.lst");
    window->EnableListButtons(true);
    bool shown = false;
    TestSupport::AnswerNextModal([&shown](QWidget* w) {
        auto* editor = qobject_cast<TfNewWord*>(w);
        if (editor == nullptr)
            return;
        shown = true;
        EXPECT_EQ(editor->eNewWord->text(), "hat");
        EXPECT_TRUE(editor->eNewWord->isReadOnly());
        EXPECT_TRUE(editor->tbLearn->isVisible());
        EXPECT_FALSE(editor->tbAddWord->isVisible());
        EXPECT_FALSE(editor->tbSave->isVisible());
        EXPECT_TRUE(editor->reNewDescription->toPlainText().contains("hat article"));
        editor->reNewDescription->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor->reNewDescription, " and cap");
        QTest::mouseClick(editor->tbLearn, Qt::LeftButton);
    });
    ClickListRow(1);
    QTest::mouseClick(window->bEditListWord, Qt::LeftButton);
    EXPECT_TRUE(shown);
    EXPECT_NE(window->LearnDictionary->GetArticle(1).find("and cap"), std::string::npos);
    EXPECT_NE(window->LearnDictionary->GetArticle(0).find("house article"), std::string::npos);
}
#endif

TEST_F(ListCommands, EditButtonWithoutASelectedEntryOpensNothing)
{
    ClickMenuItem("animals.LST");
    window->EnableListButtons(true);
    bool shown = false;
    TestSupport::AnswerNextModal(
        [&shown](QWidget* w) {
            shown = true;
            w->close();
        },
        300);
    QTest::mouseClick(window->bEditListWord, Qt::LeftButton);
    QTest::qWait(400);
    EXPECT_FALSE(shown);
}
