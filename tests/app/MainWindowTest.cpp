// The main window's creation: a missing language file, an empty catalogue, the fallback to
// the first dictionary and the first showing on the main road.
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "components/MBox.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace MainWindowTest;

TEST(MainWindowCreate, MissingLanguageFileSaysSoAndEnds)
{
    TProgramFolder folder({EnglishGerman()}, false);
    TestSupport::ClickInNextModal("bOk");
    TfLexDictionary w(folder.Path());
    EXPECT_TRUE(w.TerminateRequested);
    EXPECT_TRUE(TestSupport::LastModalText().contains("No system files!"));
    // The window is still whole: closing it later must not fail.
    ASSERT_NE(w.Dictionary, nullptr);
}

TEST(MainWindowCreate, EmptyCatalogueOpensWithAnEmptyListAndAnswersEveryCommand)
{
    TProgramFolder folder({});
    TfLexDictionary w(folder.Path());
    EXPECT_FALSE(w.TerminateRequested);
    ASSERT_NE(w.Dictionary, nullptr);
    ASSERT_NE(w.LearnDictionary, nullptr);
    EXPECT_EQ(w.cbFrom->count(), 0);
    EXPECT_EQ(w.WordCount(), 0);
    w.show();
    QTest::keyClicks(w.cbFind, "house");
    QTest::keyClick(w.cbFind, Qt::Key_Return);
    EXPECT_EQ(w.SelectedIndex(), -1);
    w.aReverse->trigger();  // nothing to reverse
    EXPECT_EQ(w.cbFrom->count(), 0);
}

TEST(MainWindowCreate, MissingSettingsDictionaryFallsBackToTheFirst)
{
    TProgramFolder folder({GermanEnglish(), EnglishGerman()});
    TfLexDictionary w(folder.Path());
    EXPECT_EQ(w.CurrentDictionaryFile, "GERENG_T");
    EXPECT_EQ(w.cbFrom->currentText(), "German");
    EXPECT_EQ(w.cbTo->currentText(), "English - Test");
    EXPECT_NE(dynamic_cast<TTavorDictionary*>(w.Dictionary.get()), nullptr);
    EXPECT_EQ(w.WordsModel->Word(0), "Apfel");
}

TEST(MainWindowCreate, FirstShowingSelectsTheFirstWordAndShowsItsArticle)
{
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    TfLexDictionary w(folder.Path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.SelectedWord(), "apple");
    EXPECT_TRUE(w.reDescription->toPlainText().contains("Apfel"));
    EXPECT_EQ(w.StatusPanel(2), "Talking");
    EXPECT_EQ(w.windowTitle(), "Lexora XP");
    // The letter panel is built from the dictionary's description: A, H, M and a, h, m.
    const QList<QLabel*> links = w.mbAlphabet->findChildren<QLabel*>();
    QStringList captions;
    for (QLabel* l : links)
        captions << l->text();
    EXPECT_TRUE(captions.contains("H"));
    EXPECT_TRUE(captions.contains("m"));
    EXPECT_EQ(w.findChild<QListView*>("lbWords"), w.lbWords);
    EXPECT_NE(w.findChild<QWidget*>("reDescription"), nullptr);
    EXPECT_NE(w.findChild<QWidget*>("bSeyWord"), nullptr);
}

TEST(MainWindowCreate, KindOneDictionaryGetsAnObjectThatReadsIt)
{
    TTestDictionary general = EnglishGerman();
    general.KindKey = "TavorGeneral";
    general.Name = "General";
    TProgramFolder folder({general});
    TfLexDictionary w(folder.Path());
    ASSERT_NE(w.Dictionary, nullptr);
    EXPECT_EQ(w.SelectedDictionaryKind(), 1);
    w.show();
    QTest::keyClicks(w.cbFind, "hou");
    QTest::keyClick(w.cbFind, Qt::Key_Return);
    EXPECT_EQ(w.SelectedWord(), "house");
    // A general dictionary is not reversed.
    w.aReverse->trigger();
    EXPECT_EQ(w.CurrentDictionaryFile, "ENGGER_T");
}

TEST(MainWindowCreate, RestoreMessageOfASecondStartBringsTheWindowBack)
{
    TProgramFolder folder({EnglishGerman()});
    TfLexDictionary w(folder.Path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.showMinimized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.isMinimized());
    QCoreApplication::postEvent(&w, new QEvent(LexEvents::RestoreWindow));
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.isVisible());
    w.hide();  // sitting in the tray
    QCoreApplication::postEvent(&w, new QEvent(LexEvents::RestoreWindow));
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.isVisible());
}

TEST(MainWindowView, LetterPanelSlidesShutAndOpenAndATurnMidwayEndsTheSlide)
{
    TProgramFolder folder({EnglishGerman()});
    TfLexDictionary w(folder.Path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(w.mbAlphabet->isVisible());
    const QRect place = w.mbAlphabet->geometry();

    QTest::mouseClick(w.bKeyboard, Qt::LeftButton);
    EXPECT_FALSE(w.miAlphabet->isChecked());
    EXPECT_TRUE(w.mbAlphabet->isVisible());  // still sliding shut, in its place
    EXPECT_EQ(w.mbAlphabet->geometry(), place);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.mbAlphabet->isVisible(); }, 60000));
    EXPECT_TRUE(w.mbAlphabet->mask().isEmpty());

    QTest::mouseClick(w.bKeyboard, Qt::LeftButton);
    EXPECT_TRUE(w.miAlphabet->isChecked());
    EXPECT_TRUE(w.mbAlphabet->isVisible());
    EXPECT_FALSE(w.mbAlphabet->mask().isEmpty());  // opening from the middle
    // Turned again while opening: the opening ends at once and the panel slides shut.
    w.VKeyboard->trigger();
    EXPECT_FALSE(w.miAlphabet->isChecked());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.mbAlphabet->isVisible(); }, 60000));
    w.VKeyboard->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.mbAlphabet->mask().isEmpty(); }, 60000));
    EXPECT_TRUE(w.mbAlphabet->isVisible());
    EXPECT_TRUE(w.miAlphabet->isChecked());
}
