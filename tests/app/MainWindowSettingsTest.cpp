// The main window with stored settings: the dictionary it opens, its bounds kept on a
// screen, and what it stores when it closes.
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

void Store(const std::function<void(TSettings&)>& change, int dictType)
{
    WriteDefaultSettings();
    TSettings s;
    LoadSettings(s);
    s.UpdEnbl = false;  // no automatic update check: closing the window would ask to stop it
    change(s);
    SaveSettings(s, dictType);
}

}  // namespace

TEST(MainWindowSettings, StoredDictionaryOfTheStoredKindOpensWithItsChoosers)
{
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    Store(
        [](TSettings& s) {
            s.Dictionary = u"GERENG_T";
            s.From = 1;
            s.To = 0;
        },
        0);
    TfLexDictionary w(folder.Path());
    EXPECT_EQ(w.CurrentDictionaryFile, "GERENG_T");
    EXPECT_EQ(w.cbFrom->currentIndex(), 1);
    EXPECT_EQ(w.WordsModel->Word(0), "Apfel");
}

TEST(MainWindowSettings, StoredDictionaryThatIsGoneOrOfAnotherKindFallsBackToTheFirst)
{
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    Store([](TSettings& s) { s.Dictionary = u"GONE_T"; }, 0);
    {
        TfLexDictionary w(folder.Path());
        EXPECT_EQ(w.CurrentDictionaryFile, "ENGGER_T");
        EXPECT_EQ(w.cbFrom->currentIndex(), 0);
    }
    Store([](TSettings& s) { s.Dictionary = u"GERENG_T"; }, 2);
    TfLexDictionary w(folder.Path());
    EXPECT_EQ(w.CurrentDictionaryFile, "ENGGER_T");
}

TEST(MainWindowSettings, StoredPositionsOfAnotherCataloguePointAtTheOpenDictionary)
{
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    Store(
        [](TSettings& s) {
            s.Dictionary = u"GERENG_T";
            s.From = 0;  // English: not the open dictionary's direction
            s.To = 5;
        },
        0);
    TfLexDictionary w(folder.Path());
    EXPECT_EQ(w.CurrentDictionaryFile, "GERENG_T");
    EXPECT_EQ(w.cbFrom->currentIndex(), 1);
    EXPECT_EQ(w.GetDictionaryFileName(), "GERENG_T");
}

TEST(MainWindowSettings, BoundsOffEveryScreenComeBackOnAScreen)
{
    TProgramFolder folder({EnglishGerman()});
    Store(
        [](TSettings& s) {
            s.Left = -6000;
            s.Top = 9000;
            s.Width = 500;
            s.Height = 400;
        },
        0);
    TfLexDictionary w(folder.Path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(w.geometry()));
}

TEST(MainWindowSettings, ClosingStoresTheNormalBoundsTheDictionaryAndItsKind)
{
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    Store([](TSettings&) {}, 4);
    {
        TfLexDictionary w(folder.Path());
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.move(120, 130);
        w.resize(640, 420);
        QTest::qWait(20);
        w.aReverse->trigger();
        w.close();
    }
    TSettings s;
    LoadSettings(s);
    EXPECT_EQ(s.Dictionary, u"GERENG_T");
    EXPECT_EQ(s.DictType, 0);
    EXPECT_EQ(s.From, 1);
    EXPECT_EQ(s.Width, 640);
    EXPECT_EQ(s.Height, 420);
    EXPECT_FALSE(s.Max);
}
