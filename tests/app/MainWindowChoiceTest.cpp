// Dictionary and direction choice: the choosers by mouse and keyboard, reversal by command
// and by a word of the other language.
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

class MainWindowChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void Type(const QString& text)
    {
        window->cbFind->setFocus();
        window->cbFind->lineEdit()->selectAll();
        QTest::keyClicks(window->cbFind, text);
        QTest::keyClick(window->cbFind, Qt::Key_Return);
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace

TEST_F(MainWindowChoice, ReverseCommandSwapsTheDirection)
{
    EXPECT_EQ(window->CurrentDictionaryFile, "ENGGER_T");
    window->aReverse->trigger();
    EXPECT_EQ(window->CurrentDictionaryFile, "GERENG_T");
    EXPECT_EQ(window->cbFrom->currentText(), "German");
    EXPECT_EQ(window->WordsModel->Word(0), "Apfel");
    EXPECT_EQ(window->SelectedWord(), "Apfel");
    EXPECT_TRUE(window->reDescription->toPlainText().contains("apple"));
    window->aReverse->trigger();
    EXPECT_EQ(window->CurrentDictionaryFile, "ENGGER_T");
}

TEST_F(MainWindowChoice, AWordOfTheOtherLanguageReversesByItself)
{
    Type(QString::fromUtf8("Ärger"));
    EXPECT_EQ(window->CurrentDictionaryFile, "GERENG_T");
    EXPECT_EQ(window->SelectedWord(), QString::fromUtf8("Ärger"));
    EXPECT_TRUE(window->reDescription->toPlainText().contains("anger"));
    EXPECT_EQ(window->cbFind->currentText(), QString::fromUtf8("Ärger"));
    // German has no letters of the other side listed: an English word stays in German.
    Type("house");
    EXPECT_EQ(window->CurrentDictionaryFile, "GERENG_T");
}

TEST_F(MainWindowChoice, DirectionChosenByKeyboardAwayAndBackFollowsEveryMove)
{
    window->cbFrom->setFocus();
    QTest::keyClick(window->cbFrom, Qt::Key_Down);
    EXPECT_EQ(window->cbFrom->currentIndex(), 1);
    EXPECT_EQ(window->CurrentDictionaryFile, "GERENG_T");
    QTest::keyClick(window->cbFrom, Qt::Key_Up);
    EXPECT_EQ(window->cbFrom->currentIndex(), 0);
    EXPECT_EQ(window->CurrentDictionaryFile, "ENGGER_T");
    EXPECT_EQ(window->WordsModel->Word(0), "apple");
}

TEST_F(MainWindowChoice, SameKindChangeReusesTheObjectAndOpensTheOtherFile)
{
    TBaseDictionary* before = window->Dictionary.get();
    window->cbFrom->setFocus();
    QTest::keyClick(window->cbFrom, Qt::Key_Down);
    EXPECT_EQ(window->Dictionary.get(), before);
    EXPECT_NE(window->GetDictionaryPath().indexOf("GERENG_T.TDD"), -1);
}

TEST_F(MainWindowChoice, PostedReverseMessageSwapsTheDirection)
{
    QCoreApplication::postEvent(window.get(), new QEvent(LexEvents::ReverseDirection));
    QCoreApplication::processEvents();
    EXPECT_EQ(window->CurrentDictionaryFile, "GERENG_T");
}
