// The main window over damaged files of its own: an interface-language file that is cut or
// points past its end, a language id that no record holds, an oversized history file and a
// history that cannot be written.
#include "app/BuiltInEnglish.h"
#include "app/InterfaceForm.h"
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "data/langfile/LangFileWriter.h"
#include "engine/LittleEndian.h"
#include "platform/qt/Registry.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

std::string LangPath(const TProgramFolder& folder)
{
    return (folder.Path() + "LangItf.lng").toStdString();
}

std::u16string English(std::u16string_view key)
{
    TWideStringList texts;
    texts.SetTextStr(BuiltInEnglishText());
    return texts.GetValue(key);
}

// Every menu of the menu bar has a title and opens on a click.
void ExpectEveryMenuOpens(TfLexDictionary& w)
{
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QMenuBar* bar = w.menuBar();
    for (QAction* a : bar->actions()) {
        if (a->menu() == nullptr || !a->isVisible())
            continue;
        EXPECT_FALSE(a->text().isEmpty()) << a->menu()->objectName().toStdString();
        const QRect r = bar->actionGeometry(a);
        ASSERT_GT(r.width(), 4) << a->menu()->objectName().toStdString();
        QTest::mouseClick(bar, Qt::LeftButton, {}, r.center());
        EXPECT_TRUE(QTest::qWaitFor([&] { return a->menu()->isVisible(); }, 60000))
            << a->menu()->objectName().toStdString();
        a->menu()->close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !a->menu()->isVisible(); }, 60000));
    }
}

}  // namespace

TEST(MainWindowDamage, ADamagedLanguageFileIsReportedAndTheWindowWorksInEnglish)
{
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    SettingsTest::WriteRealLanguageFile(folder.Path());
    const std::string good = TestFiles::ReadFile(LangPath(folder));
    const std::int32_t firstText = GetInt32(good.data() + 4 + 48);
    const std::int32_t firstLength = GetInt32(good.data() + 4 + 52);
    std::string pastTheEnd = good;
    SetInt32(pastTheEnd.data() + 4 + 52, static_cast<std::int32_t>(good.size()));
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"3 bytes", good.substr(0, 3)},
        {"120 bytes", good.substr(0, 120)},
        {"cut in a text", good.substr(0, static_cast<std::size_t>(firstText + firstLength / 2))},
        {"length past the end", pastTheEnd},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        TestFiles::WriteFile(LangPath(folder), bytes);
        TestSupport::ClickInNextModal("bOk");
        TfLexDictionary w(folder.Path());
        EXPECT_TRUE(TestSupport::LastModalText().contains("damaged"));
        EXPECT_FALSE(w.TerminateRequested);
        EXPECT_EQ(w.miFile->title().toStdU16String(), English(u"File"));
        EXPECT_EQ(w.miHelp->title().toStdU16String(), English(u"Help"));

        // The catalogue and the dictionaries open as with a sound file.
        ASSERT_NE(w.DictManager, nullptr);
        EXPECT_EQ(w.cbFrom->count(), 2);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        QTest::keyClicks(w.cbFind, "house");
        QTest::keyClick(w.cbFind, Qt::Key_Return);
        ASSERT_GE(w.SelectedIndex(), 0);
        EXPECT_EQ(w.WordsModel->Word(w.SelectedIndex()), "house");

        // Settings -> Dictionaries -> Install... with a dictionary already in the catalogue.
        TfInterface form(&w);
        form.show();
        form.pcSettings->setCurrentWidget(form.tsDictionarys);
        TestSupport::AnswerNextFileDialog(folder.Path() + "Data/GERENG_T.TDD");
        TestSupport::ClickInNextModal("bOk");
        QTest::mouseClick(form.bInstall, Qt::LeftButton);
        EXPECT_EQ(TestSupport::LastModalText().toStdU16String(), English(u"MsgDictExist"));
        EXPECT_EQ(w.DictManager->Count(), 2);
    }
}

TEST(MainWindowDamage, ALanguageIdThatNoRecordHoldsTakesTheFirstLanguage)
{
    TProgramFolder folder({EnglishGerman()});
    const std::u16string english(BuiltInEnglishText());
    TestFiles::WriteFile(LangPath(folder),
                         LangFile::WriteLangFile({{"RUS", 102, english + u"Marker=first\r\n"},
                                                  {"ENG", 100, english + u"Marker=second\r\n"}}));
    WriteDefaultSettings();
    TSettings s;
    LoadSettings(s);
    s.UpdEnbl = false;  // no automatic update check: closing the window would ask to stop it
    s.Language = 12345;
    SaveSettings(s, 4);

    auto w = std::make_unique<TfLexDictionary>(folder.Path());
    EXPECT_EQ(w->InterfaceLanguage, 102);
    EXPECT_EQ(w->LangStrings.GetValue(u"Marker"), u"first");
    ExpectEveryMenuOpens(*w);
    w.reset();
    LoadSettings(s);
    EXPECT_EQ(s.Language, 102);  // the language shown is the one stored
}

TEST(MainWindowDamage, AnOversizedHistoryCostsNoMoreThanAFullOne)
{
    TProgramFolder folder({EnglishGerman()});
    // 10 MB of entries, then a file of one 10 MB line.
    std::u16string many = u"\xFEFF";
    for (int i = 0; many.size() < 5'000'000; ++i)
        many += u"word" + QString::number(i).toStdU16String() + u"\r\n";
    std::u16string oneLine = u"\xFEFF" + std::u16string(5'000'000, u'x');
    for (const std::u16string& text : {many, oneLine}) {
        TestFiles::WriteFile((folder.Path() + "History/ENGGER_T.txt").toStdString(), WideToBytes(text));
        QElapsedTimer clock;
        clock.start();
        auto w = std::make_unique<TfLexDictionary>(folder.Path());
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        EXPECT_LE(w->cbFind->count(), kHistoryLimit);
        if (text.size() == many.size()) {
            ASSERT_EQ(w->cbFind->count(), kHistoryLimit);
            EXPECT_EQ(w->cbFind->itemText(0), "word0");
            EXPECT_EQ(w->cbFind->itemText(kHistoryLimit - 1), "word49");
        } else {
            EXPECT_EQ(w->cbFind->count(), 0);  // the only line was cut: nothing of it is kept
        }
        QTest::keyClicks(w->cbFind, "house");
        QTest::keyClick(w->cbFind, Qt::Key_Return);
        EXPECT_EQ(w->WordsModel->Word(w->SelectedIndex()), "house");
        w->close();
        w.reset();
        // A full history file stays at 50 entries after the look-up added one.
        EXPECT_LE(ReadHistoryFile(folder.Path() + "History/ENGGER_T.txt").size(),
                  static_cast<std::size_t>(kHistoryLimit));
    }
}

TEST(MainWindowDamage, AHistoryThatCannotBeWrittenIsReportedOnceAndKeepsItsFile)
{
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    auto w = std::make_unique<TfLexDictionary>(folder.Path());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    // A folder where the history file should be: every rewrite fails at its rename.
    ASSERT_TRUE(QDir().mkpath(folder.Path() + "History/ENGGER_T.txt"));
    int messages = 0;
    const auto search = [&](const char* word) {
        w->cbFind->clearEditText();
        QTest::keyClicks(w->cbFind, word);
        QTest::keyClick(w->cbFind, Qt::Key_Return);
    };
    search("house");
    TestSupport::ClickInNextModal("bOk");
    w->SaveHistory();
    EXPECT_TRUE(TestSupport::LastModalText().contains("ENGGER_T.txt"));
    // The second failure of the session stays quiet: an answer in waiting finds nothing.
    search("hat");
    TestSupport::AnswerNextModal(
        [&](QWidget* modal) {
            ++messages;
            if (auto* ok = modal->findChild<QPushButton*>("bOk"))
                ok->click();
        },
        500);
    w->SaveHistory();
    EXPECT_FALSE(QTest::qWaitFor([&] { return messages > 0; }, 600));
    EXPECT_EQ(w->cbFind->count(), 2);  // the history in memory is whole
    EXPECT_TRUE(QFileInfo(folder.Path() + "History/ENGGER_T.txt").isDir());
    EXPECT_TRUE(QDir(folder.Path() + "History").entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(MainWindowDamage, SettingsAndHistoryThatCannotBeStoredAtTheEndAreReportedOnce)
{
    TProgramFolder folder({EnglishGerman()});
    auto w = std::make_unique<TfLexDictionary>(folder.Path());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    const std::string settings = TRegistry::StoreFile(TRootKey::CurrentUser);
    const std::string history = (folder.Path() + "History/ENGGER_T.txt").toStdString();
    QTest::keyClicks(w->cbFind, "house");
    QTest::keyClick(w->cbFind, Qt::Key_Return);
    w->SaveHistory();
    QTest::keyClicks(w->cbFind, "hat");
    QTest::keyClick(w->cbFind, Qt::Key_Return);
    const std::string settingsBefore = TestFiles::ReadFile(settings);
    const std::string historyBefore = TestFiles::ReadFile(history);
    ASSERT_FALSE(settingsBefore.empty());
    ASSERT_FALSE(historyBefore.empty());
    int messages = 0;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        ++messages;
        if (auto* ok = modal->findChild<QPushButton*>("bOk"))
            ok->click();
    });
    {
        const TestFiles::TFileSizeLimit full(10);  // the disk is full while the window closes
        w->close();
        w.reset();
    }
    EXPECT_EQ(messages, 1);
    EXPECT_TRUE(TestSupport::LastModalText().contains("ENGGER_T.txt"));
    EXPECT_EQ(TestFiles::ReadFile(settings), settingsBefore);
    EXPECT_EQ(TestFiles::ReadFile(history), historyBefore);

    // Alone, the settings are reported too.
    w = std::make_unique<TfLexDictionary>(folder.Path());
    w->Settings.UpdPrxSrv = u"proxy.example";
    TestSupport::ClickInNextModal("bOk");
    {
        const TestFiles::TFileSizeLimit full(10);
        w.reset();
    }
    EXPECT_TRUE(TestSupport::LastModalText().contains("LexoraXP.conf"));
    EXPECT_EQ(TestFiles::ReadFile(settings), settingsBefore);
}
