// The list panel's drop-down menu of the lists of the current language pair, and the import
// of files through the File menu.
#include "app/mainwindow/LexDictionary.h"
#include "engine/LearnDictionary.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tools/windows/NewWord.h"
#include "tools/windows/NewWordRichEdit.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

class MainWindowListCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(folder.Path() + "Learning");
        WriteList("mine.lst", "ENGGER", u"apple");
        WriteList("other.lst", "GERENG", u"Apfel");
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void WriteList(const QString& name, const std::string& pair, const std::u16string& word)
    {
        TLearnDictionary store((folder.Path() + "Learning").toStdString());
        store.SetLanguagePair(pair);
        store.NewList();
        ASSERT_TRUE(store.AddWord(0, word, "{\\rtf1 x}"));
        ASSERT_TRUE(store.SaveToFile((folder.Path() + "Learning/" + name).toStdString()));
        store.Close();
        QFile::remove(folder.Path() + "Learning/TempList.tmp");
    }

    QStringList MenuItems()
    {
        window->PopupMenuListPopup();
        QStringList items;
        const QList<QAction*> actions = window->PopupMenuList->actions();
        for (int i = 1; i < actions.size(); ++i)
            items << actions[i]->text() + (actions[i]->isEnabled() ? "" : " (open)");
        return items;
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

TEST_F(MainWindowListCommands, TheMenuOffersTheListsOfThePairAndOpensOne)
{
    EXPECT_EQ(MenuItems(), QStringList{"mine.lst"});
    window->PopupMenuList->actions().at(1)->trigger();
    ASSERT_EQ(window->lbList->count(), 1);
    EXPECT_EQ(window->lbList->item(0)->text(), "apple");
    EXPECT_EQ(window->StatusPanel(1), "mine.lst");
    EXPECT_TRUE(window->miSaveAs->isEnabled());
    EXPECT_EQ(MenuItems(), QStringList{"mine.lst (open)"});  // always rebuilt, never doubled

    window->aReverse->trigger();  // German->English now
    EXPECT_EQ(MenuItems(), QStringList{"other.lst"});
}

TEST_F(MainWindowListCommands, ImportPutsListsWithTheLists)
{
    QDir().mkpath(folder.Path() + "outside");
    QFile::copy(folder.Path() + "Learning/mine.lst", folder.Path() + "outside/copied.lst");
    TestSupport::AnswerNextFileDialog(folder.Path() + "outside/copied.lst");
    window->miImport->trigger();
    EXPECT_TRUE(QFile::exists(folder.Path() + "Learning/copied.lst"));
    EXPECT_EQ(MenuItems(), (QStringList{"copied.lst", "mine.lst"}));
}

TEST_F(MainWindowListCommands, AnEntryIsEditedInTheWordEditorAndDeletedFromTheList)
{
    MenuItems();
    window->PopupMenuList->actions().at(1)->trigger();
    window->lbList->setCurrentRow(0);
    TestSupport::AnswerNextModal([](QWidget* w) {
        auto* editor = qobject_cast<TfNewWord*>(w);
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(editor->tbLearn->isVisible());
        EXPECT_EQ(editor->eNewWord->text(), "apple");
        editor->reNewDescription->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor->reNewDescription, " more");
        QTest::mouseClick(editor->tbLearn, Qt::LeftButton);
    });
    QTest::mouseClick(window->bEditListWord, Qt::LeftButton);
    EXPECT_NE(window->LearnDictionary->GetArticle(0).find("x more"), std::string::npos);

    QTest::mouseClick(window->bDelItem, Qt::LeftButton);
    EXPECT_EQ(window->lbList->count(), 0);
    EXPECT_TRUE(window->LearnDictionary->IsEmpty());
}

}  // namespace
