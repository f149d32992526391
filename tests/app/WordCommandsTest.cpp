// Word commands of the main window on the user's words of a maker's dictionary: delete, edit
// and export act on the word shown and never on another; clipboard translation and the
// window's keys.
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordCommands.h"
#include "app/mainwindow/WordListModel.h"
#include "platform/qt/Balloon.h"
#include "engine/DictManager.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/engine/DictionaryTestFiles.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QDir>
#include <QFileInfo>
#include <QAbstractButton>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

std::string Rtf(const std::string& text)
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0 " + text + "\\par}";
}

class MainWindowWordCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousOpener = WordCommands::SetWordEditorOpener(
            [this](TfLexDictionary&, const WordCommands::TWordEditRequest& r) { requests.push_back(r); });
    }
    void TearDown() override { WordCommands::SetWordEditorOpener(previousOpener); }
    void Open()
    {
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    // Adds user words to the open maker's dictionary and shows their letter.
    void AddUserWords(const std::vector<std::pair<std::u16string, std::string>>& words)
    {
        for (const auto& [word, text] : words)
            ASSERT_EQ(window->Dictionary->AddWord(word, Rtf(text)), 0);
    }
    void Look(const QString& word)
    {
        window->cbFind->setFocus();
        window->cbFind->lineEdit()->selectAll();
        QTest::keyClicks(window->cbFind, word);
        QTest::keyClick(window->cbFind, Qt::Key_Return);
    }
    QStringList Words() const
    {
        QStringList w;
        for (int i = 0; i < window->WordCount(); ++i)
            w << window->WordsModel->Word(i);
        return w;
    }
    std::u16string UserWordsOf(char16_t letter)
    {
        std::u16string text;
        window->Dictionary->GetLetterWords(letter, false, text, true);
        return text;
    }
    // Runs Command; true when it opened a modal window (which is closed at once).
    template <typename F> bool OpensModal(F command)
    {
        bool opened = false;
        TestSupport::AnswerNextModal(
            [&](QWidget* modal) {
                opened = true;
                modal->close();
            },
            300);
        command();
        QTest::qWait(350);
        return opened;
    }
    void Copy(const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        QCoreApplication::processEvents();
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
    std::vector<WordCommands::TWordEditRequest> requests;
    WordCommands::TWordEditorOpener previousOpener;
};

}  // namespace

TEST_F(MainWindowWordCommands, DeletingTheFirstWordOfABlockClearsTheArticle)
{
    Open();
    AddUserWords({{u"aardvark", "aardvark - Erdferkel"}, {u"axe", "axe - Axt"}});
    Look("aardvark");
    ASSERT_EQ(window->SelectedIndex(), 0);
    ASSERT_TRUE(window->reDescription->toPlainText().contains("Erdferkel"));
    TestSupport::ClickInNextModal("bYes");
    window->miDeleteWord->trigger();
    EXPECT_EQ(Words(), QStringList({"apple", "arm", "axe"}));
    EXPECT_TRUE(window->reDescription->toPlainText().isEmpty());
    EXPECT_EQ(window->SelectedIndex(), -1);
    EXPECT_EQ(UserWordsOf(u'A').find(u"aardvark"), std::u16string::npos);

    // A later word: the one before it is shown.
    Look("axe");
    ASSERT_EQ(window->SelectedIndex(), 2);
    TestSupport::ClickInNextModal("bYes");
    window->miDeleteWord->trigger();
    EXPECT_EQ(Words(), QStringList({"apple", "arm"}));
    EXPECT_EQ(window->SelectedWord(), "arm");
    EXPECT_TRUE(window->reDescription->toPlainText().contains("Arm"));
}

TEST_F(MainWindowWordCommands, ADeleteThatCannotBeWrittenIsReportedAndKeepsTheWord)
{
    Open();
    AddUserWords({{u"aardvark", "aardvark - Erdferkel"}});
    const auto& maker = dynamic_cast<const TTavorDictionary&>(*window->Dictionary);
    const QString userWords = QString::fromStdString(maker.UserWordsFileName(false));
    QFile file(userWords);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    // A folder where the rewrite's temporary file should go: the write fails as on a full disk.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(maker.UserWordsFileName(true))));
    Look("aardvark");
    int messages = 0;
    TestSupport::AnswerNextModal([&](QWidget* confirm) {
        TestSupport::AnswerNextModal([&](QWidget* error) {
            ++messages;
            QTest::mouseClick(error->findChild<QAbstractButton*>("bOk"), Qt::LeftButton);
        });
        QTest::mouseClick(confirm->findChild<QAbstractButton*>("bYes"), Qt::LeftButton);
    });
    window->miDeleteWord->trigger();
    EXPECT_EQ(messages, 1);
    EXPECT_TRUE(TestSupport::LastModalText().contains(QFileInfo(userWords).fileName()));
    EXPECT_TRUE(Words().contains("aardvark"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(MainWindowWordCommands, NoKeepsTheWordAndTheMakersWordsAreNeitherEditedNorDeleted)
{
    Open();
    AddUserWords({{u"axe", "axe - Axt"}});
    Look("axe");
    TestSupport::ClickInNextModal("bNo");
    window->miDeleteWord->trigger();
    EXPECT_EQ(Words(), QStringList({"apple", "arm", "axe"}));

    Look("apple");
    EXPECT_FALSE(OpensModal([this] { window->miDeleteWord->trigger(); }));
    window->miEditWord->trigger();
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(Words(), QStringList({"apple", "arm", "axe"}));
}

TEST_F(MainWindowWordCommands, EditOpensTheEditorOnTheUserWordShown)
{
    Open();
    AddUserWords({{u"hobby", "hobby - Steckenpferd"}, {u"horse", "horse - Pferd"}});
    Look("horse");
    ASSERT_EQ(window->SelectedWord(), "horse");
    QTest::mouseClick(window->bEdit, Qt::LeftButton);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].Edit);
    EXPECT_EQ(requests[0].Index, 1);  // the second of the letter's user words
    EXPECT_EQ(requests[0].Word, "horse");
    EXPECT_NE(requests[0].Article.find("Pferd"), std::string::npos);
    EXPECT_EQ(requests[0].Article.find("Steckenpferd"), std::string::npos);

    window->aNewWord->trigger();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_FALSE(requests[1].Edit);
    EXPECT_TRUE(requests[1].Word.isEmpty());
}

TEST_F(MainWindowWordCommands, AdvancedSearchResultsAreNeverEditedNorDeleted)
{
    Open();
    AddUserWords({{u"hobby", "hobby - Steckenpferd"}});
    window->miAdvancedSearch->trigger();
    window->cbFind->setEditText("hous");
    QTest::mouseClick(window->bFund, Qt::LeftButton);
    ASSERT_GT(window->WordCount(), 0);
    for (int row = 0; row < window->WordCount(); ++row) {
        window->SetSelectedIndex(row);
        window->lbWordsClick();
        EXPECT_FALSE(OpensModal([this] { window->miDeleteWord->trigger(); }));
        window->miEditWord->trigger();
    }
    EXPECT_TRUE(requests.empty());
    EXPECT_NE(UserWordsOf(u'H').find(u"hobby"), std::u16string::npos);
}

TEST_F(MainWindowWordCommands, ExportCopiesTheUserWordsFile)
{
    Open();
    AddUserWords({{u"hobby", "hobby - Steckenpferd"}});
    const QString target = folder.Path() + "export.TDE";
    TestSupport::AnswerNextFileDialog(target);
    window->aExport->trigger();
    ASSERT_TRUE(QFile::exists(target));
    QFile own(QString::fromStdString(folder.DataFile("ENGGER_T.TDE")));
    QFile copy(target);
    ASSERT_TRUE(own.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(own.readAll(), copy.readAll());
}

TEST_F(MainWindowWordCommands, ClipboardTextIsTrimmedAndCutBeforeItIsLookedUp)
{
    EXPECT_EQ(WordCommands::CutClipboardText(" \t" + QString(25, 'h') + "\r\n"), QString(25, 'h'));
    EXPECT_EQ(WordCommands::CutClipboardText(QString(26, 'h')), QString(24, 'h'));
    EXPECT_EQ(WordCommands::CutClipboardText(QString(100000, ' ') + "house"), "house");

    Open();
    window->Settings.ClipTranslate = true;
    window->Settings.Delicate = false;
    Copy("  household" + QString(14, 'x') + "\n");  // 25 characters once trimmed
    EXPECT_EQ(window->cbFind->currentText(), "household" + QString(14, 'x'));
    EXPECT_EQ(window->SelectedWord(), "household");
    Copy("houses" + QString(20, 'y'));  // 26: the first 24 are looked up
    EXPECT_EQ(window->cbFind->currentText(), "houses" + QString(18, 'y'));
    EXPECT_EQ(window->SelectedWord(), "houses");
}

// A copy of several lines looks up its first line with text, and no line break, copied or
// typed, reaches the search box or the history file (which reads one entry a line).
TEST_F(MainWindowWordCommands, OnlyTheFirstLineOfACopyIsLookedUpAndKeptInTheHistory)
{
    qputenv("LEXORA_ADMIN", "1");
    Open();
    window->Settings.ClipTranslate = true;
    window->Settings.Delicate = false;
    window->Settings.AddToHistory = true;
    Copy("hat\nhouse\r\nmouse");
    EXPECT_EQ(window->cbFind->currentText(), "hat");
    EXPECT_EQ(window->SelectedWord(), "hat");
    Copy("\r\n  houses \r\narm");
    EXPECT_EQ(window->cbFind->currentText(), "houses");
    Copy(QString("mouse") + QChar(0x2029) + "arm");
    EXPECT_EQ(window->cbFind->currentText(), "mouse");
    Copy("hut\rhat" + QString(30, 'x'));  // the first line is short: looked up whole
    EXPECT_EQ(window->cbFind->currentText(), "hut");
    window->cbFind->setFocus();
    window->cbFind->lineEdit()->setText("arm\napple");  // as a paste into the box
    QTest::keyClick(window->cbFind, Qt::Key_Return);
    EXPECT_EQ(window->SelectedWord(), "arm");

    window->SaveHistory();
    window->LoadHistory(false);
    QStringList history;
    for (int i = 0; i < window->cbFind->count(); ++i)
        history << window->cbFind->itemText(i);
    EXPECT_EQ(history, QStringList({"hat", "houses", "mouse", "hut", "arm"}));
}

TEST_F(MainWindowWordCommands, ClipboardTranslationShowsTheBalloonAndLeavesAdvancedSearch)
{
    Open();
    window->Settings.ClipTranslate = true;
    window->Settings.Delicate = true;
    window->Settings.DelicateTime = 5;
    window->miAdvancedSearch->trigger();
    Copy("house");
    EXPECT_EQ(window->SearchMode, 0);
    EXPECT_EQ(window->SelectedWord(), "house");
    QWidget* balloon = Balloon::CurrentBalloon();
    ASSERT_NE(balloon, nullptr);
    QStringList texts;
    for (QLabel* l : balloon->findChildren<QLabel*>())
        texts << l->text();
    EXPECT_TRUE(texts.contains("house"));
    EXPECT_TRUE(texts.join(' ').contains("Haus"));
    Balloon::CloseBaloon();

    // Switched off from the tray menu: copies are left alone.
    window->miClipTran->trigger();
    EXPECT_FALSE(window->Settings.ClipTranslate);
    Copy("hat");
    EXPECT_EQ(window->cbFind->currentText(), "house");
}

TEST_F(MainWindowWordCommands, CopiesDuringAModalWindowOrShutDownAreIgnored)
{
    Open();
    window->Settings.ClipTranslate = true;
    window->Settings.Delicate = false;
    Copy("house");
    ASSERT_EQ(window->SelectedWord(), "house");
    TestSupport::AnswerNextModal([this](QWidget* modal) {
        Copy("hat");
        modal->close();
    });
    window->ShowMessageBox("busy", 0, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->cbFind->currentText(), "house");
    EXPECT_EQ(window->SelectedWord(), "house");

    ShuttingDown = true;
    Copy("mouse");
    ShuttingDown = false;
    EXPECT_EQ(window->cbFind->currentText(), "house");
}

TEST_F(MainWindowWordCommands, F3SearchesOnce)
{
    Open();
    window->miAdvancedSearch->trigger();
    window->cbFind->setEditText("hous");
    QSignalSpy resets(window->WordsModel, &QAbstractItemModel::modelReset);
    QTest::mouseClick(window->bFund, Qt::LeftButton);
    const int perSearch = resets.count();
    ASSERT_GT(perSearch, 0);
    resets.clear();
    window->cbFind->setFocus();
    QTest::keyClick(window->cbFind->lineEdit(), Qt::Key_F3);
    EXPECT_EQ(resets.count(), perSearch);
}

TEST_F(MainWindowWordCommands, HotKeyReversesAndCtrlAInTheSearchBoxAddsToTheList)
{
    Open();
    window->Settings.HotKey = 0x4000 | 'R';  // Ctrl+R
    ASSERT_EQ(window->CurrentDictionaryFile, "ENGGER_T");
    window->cbFind->setFocus();
    QTest::keyClick(window->cbFind->lineEdit(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(window->CurrentDictionaryFile, "GERENG_T");
    QTest::keyClick(window->cbFind->lineEdit(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(window->CurrentDictionaryFile, "ENGGER_T");

    window->miAddToList->setEnabled(true);
    QSignalSpy added(window->miAddToList, &QAction::triggered);
    window->cbFind->setEditText("house");
    QTest::keyClick(window->cbFind->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(added.count(), 1);
    EXPECT_EQ(window->cbFind->currentText(), "house");
}

TEST(MainWindowUserDictionary, AdvancedSearchNeverDeletesAnotherWordOfTheSection)
{
    // A user dictionary (kind 2) alone in the catalogue, with three H words.
    TProgramFolder folder{{}};
    ASSERT_NO_FATAL_FAILURE(InstallMyWords(folder));
    TfLexDictionary window(folder.Path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_EQ(window.SelectedDictionaryKind(), 2);
    for (const char16_t* w : {u"hat", u"house", u"hut"})
        ASSERT_EQ(window.Dictionary->AddWord(w, Rtf("x")), 0);

    window.miAdvancedSearch->trigger();
    window.cbFind->setEditText("hu");
    QTest::mouseClick(window.bFund, Qt::LeftButton);
    ASSERT_EQ(window.WordCount(), 1);  // "hut", the third word of its section
    window.SetSelectedIndex(0);
    window.lbWordsClick();
    bool asked = false;
    TestSupport::AnswerNextModal(
        [&](QWidget* modal) {
            asked = true;
            if (QWidget* yes = modal->findChild<QWidget*>("bYes"))
                QTest::mouseClick(yes, Qt::LeftButton);
            else
                modal->close();
        },
        300);
    window.miDeleteWord->trigger();
    QTest::qWait(350);
    EXPECT_FALSE(asked);
    std::u16string words;
    window.Dictionary->GetLetterWords(u'H', false, words, false);
    EXPECT_EQ(words, u"hat\r\nhouse\r\nhut\r\n");
}
