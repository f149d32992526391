// The learning list in the main window: words added once, lists saved under a name and opened
// again, lists of another language pair refused, entries deleted, the learning window started,
// and method 6's periodic word wrapping round the list.
#include "app/mainwindow/LexDictionary.h"
#include "engine/LearnDictionary.h"
#include "platform/qt/Balloon.h"
#include "tests/app/ListCommandsTestFolder.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tools/windows/Learning.h"

#include <QAction>
#include <QApplication>
#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

// Interface strings of the main window and the list's messages, each text its key.
void WriteMessages(const QString& fileName)
{
    QString text;
    for (const char* key : {"Title", "MessageCaption", "OK", "Cancel", "HelpFile", "MsgSaveList", "MsgIncorectList",
                            "MsgLoadList", "MsgListNotSaved", "LLHangMan", "LLMethod6", "LLBStart"})
        text += QString::fromLatin1(key) + "=" + QString::fromLatin1(key) + "\r\n";
    const QByteArray block(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray bytes(4 + 56, '\0');
    auto put = [&bytes](int at, std::int64_t value, int width) {
        for (int i = 0; i < width; ++i)
            bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(4 + 42, 100, 2);
    put(4 + 48, 4 + 56, 4);
    put(4 + 52, block.size(), 4);
    QFile f(fileName);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes + block);
}

// Types Path into an open file dialog and accepts it; the next modal window then gets a
// click on Answer.
void AcceptFile(QWidget* dialog, const QString& path, const QString& answer)
{
    TestSupport::ClickInNextModal(answer);
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    auto* box = dialog->findChild<QDialogButtonBox*>();
    QTest::mouseClick(box->button(QDialogButtonBox::Open), Qt::LeftButton);
}

class LearningListTest : public ::testing::Test {
protected:
    LearningListTest()
    {
        WriteMessages(folder.Path() + "LangItf.lng");
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void Find(const QString& word)
    {
        window->cbFind->setFocus();
        window->cbFind->lineEdit()->selectAll();
        QTest::keyClicks(window->cbFind, word);
        QTest::keyClick(window->cbFind, Qt::Key_Return);
        ASSERT_EQ(window->SelectedWord(), word);
    }

    void Add(const QString& word)
    {
        Find(word);
        QTest::mouseClick(window->bAddToList, Qt::LeftButton);
    }

    QStringList ListWords() const { return ListCommandsTest::LearningListWords(*window); }

    // A list file of its own in the learning folder.
    QString WriteList(const std::string& pair, const std::vector<std::pair<std::u16string, std::string>>& words,
                      const QString& name)
    {
        TLearnDictionary store((folder.Path() + "Learning").toStdString());
        store.SetLanguagePair(pair);
        store.NewList();
        std::int32_t index = 0;
        for (const auto& [word, article] : words)
            EXPECT_TRUE(store.AddWord(index++, word, article));
        const QString path = folder.Path() + "Learning/" + name;
        EXPECT_TRUE(store.SaveToFile(path.toStdString()));
        return path;
    }

    void OpenList(const QString& path)
    {
        TestSupport::AnswerNextFileDialog(path);
        window->miOpenList->trigger();
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

TEST_F(LearningListTest, AWordIsAddedOnceWithItsArticle)
{
    EXPECT_TRUE(window->pList->isHidden());
    Add("house");
    EXPECT_FALSE(window->pList->isHidden());
    EXPECT_EQ(window->StatusPanel(1), "NewList.lst");
    EXPECT_EQ(ListWords(), QStringList({"house"}));
    Add("house");  // again: nothing
    Add("apple");
    EXPECT_EQ(ListWords(), QStringList({"house", "apple"}));
    ASSERT_EQ(window->LearnDictionary->Items.size(), 2u);
    EXPECT_TRUE(window->LearnDictionary->Modified);
    EXPECT_EQ(window->LearnDictionary->GetWordIndex(1), 0);  // apple: the first word of the dictionary
    EXPECT_NE(window->LearnDictionary->GetArticle(0).find("Haus"), std::string::npos);

    // A click on an entry shows its article and makes it the word to pronounce.
    QTest::mouseClick(window->lbList->viewport(), Qt::LeftButton, {},
                      window->lbList->visualItemRect(window->lbList->item(0)).center());
    EXPECT_TRUE(window->reDescription->toPlainText().contains("Haus"));
    EXPECT_EQ(window->SoundWordIndex, 1);
}

TEST_F(LearningListTest, AWordThatCannotBeWrittenIsReportedAndTheListStaysAsItWas)
{
    Add("house");
    const std::string list = window->LearnDictionary->ListFileName;
    const QByteArray before = [&] {
        QFile f(QString::fromStdString(list));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    // A folder where the rewrite's temporary file should go: the write fails as on a full disk.
    ASSERT_TRUE(QDir().mkpath(folder.Path() + "Learning/ins.tmp"));
    TestSupport::ClickInNextModal("bOk");
    Add("apple");
    EXPECT_TRUE(TestSupport::LastModalText().contains(QString::fromStdString(list)));
    EXPECT_EQ(ListWords(), QStringList({"house"}));
    ASSERT_EQ(window->LearnDictionary->Items.size(), 1u);
    QFile f(QString::fromStdString(list));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(LearningListTest, SavedUnderANameAndOpenedAgain)
{
    Add("hat");
    Add("mouse");
    const QString path = folder.Path() + "Learning/Clothes.lst";
    TestSupport::AnswerNextFileDialog(path);
    window->miSaveAs->trigger();
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(window->StatusPanel(1), "Clothes.lst");
    EXPECT_FALSE(window->LearnDictionary->Modified);

    window->aCloseList->trigger();  // saved: no question
    EXPECT_TRUE(window->pList->isHidden());
    EXPECT_TRUE(window->LearnDictionary->Closed);
    EXPECT_EQ(window->StatusPanel(1), "");

    OpenList(path);
    EXPECT_EQ(ListWords(), QStringList({"hat", "mouse"}));
    EXPECT_EQ(window->StatusPanel(1), "Clothes.lst");
    EXPECT_FALSE(window->pList->isHidden());
    EXPECT_NE(window->LearnDictionary->GetArticle(1).find("Maus"), std::string::npos);
    // Its own file holds every change: Save keeps it there without asking for a name.
    Add("arm");
    window->miSaveList->trigger();
    EXPECT_FALSE(window->LearnDictionary->Modified);
    TLearnDictionary check((folder.Path() + "Learning").toStdString());
    check.LoadFromFile(path.toStdString());
    EXPECT_EQ(check.Words.Count(), 3);
}

TEST_F(LearningListTest, AListOfAnotherLanguagePairIsRefusedAndTheOpenListStays)
{
    Add("hat");
    const QString german = WriteList("GERENG", {{u"Haus", "Haus"}}, "Deutsch.lst");
    // Save the changed list? No. Then the file, then the message about it.
    TestSupport::AnswerNextModal([german](QWidget* question) {
        EXPECT_TRUE(TestSupport::LastModalText().contains("MsgSaveList"));
        TestSupport::AnswerNextModal([german](QWidget* dialog) { AcceptFile(dialog, german, "bOk"); });
        QTest::mouseClick(question->findChild<QAbstractButton*>("bNo"), Qt::LeftButton);
    });
    window->miOpenList->trigger();
    EXPECT_TRUE(TestSupport::LastModalText().contains("MsgIncorectList"));
    EXPECT_EQ(ListWords(), QStringList({"hat"}));
    EXPECT_EQ(window->LearnDictionary->LanguagePair, "ENGGER");
    EXPECT_TRUE(window->miSaveAs->isEnabled());
}

TEST_F(LearningListTest, ADamagedListFileGivesAMessageAndTheOpenListStays)
{
    Add("hat");
    const QString saved = folder.Path() + "Learning/Hats.lst";
    TestSupport::AnswerNextFileDialog(saved);
    window->miSaveAs->trigger();
    const QString path = folder.Path() + "Learning/Broken.lst";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("ENGGER") + QByteArray(10, '\x7f'));  // shorter than its header
    f.close();
    TestSupport::AnswerNextModal([path](QWidget* dialog) { AcceptFile(dialog, path, "bOk"); });
    window->miOpenList->trigger();
    EXPECT_FALSE(TestSupport::LastModalText().isEmpty());
    EXPECT_EQ(ListWords(), QStringList({"hat"}));
    EXPECT_EQ(window->StatusPanel(1), "Hats.lst");
    EXPECT_FALSE(window->LearnDictionary->Closed);
    EXPECT_EQ(window->LearnDictionary->Words.Count(), 1);
}

TEST_F(LearningListTest, DeleteRemovesTheSelectedEntry)
{
    Add("hat");
    Add("house");
    window->lbList->setFocus();
    window->lbList->setCurrentRow(0);
    QTest::keyClick(window->lbList, Qt::Key_Delete);
    EXPECT_EQ(ListWords(), QStringList({"house"}));
    EXPECT_EQ(window->LearnDictionary->Words.Count(), 1);
    EXPECT_EQ(window->LearnDictionary->GetWordIndex(0), 3);
}

TEST_F(LearningListTest, ClosingAChangedListAsksToSaveIt)
{
    Add("hat");
    const QString path = folder.Path() + "Learning/Kept.lst";
    TestSupport::AnswerNextModal([path](QWidget* question) {
        TestSupport::AnswerNextFileDialog(path);
        QTest::mouseClick(question->findChild<QAbstractButton*>("bYes"), Qt::LeftButton);
    });
    window->aCloseList->trigger();
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(window->pList->isHidden());
    EXPECT_TRUE(window->LearnDictionary->Closed);
}

TEST_F(LearningListTest, MethodsNeedAListButHangmanDoesNot)
{
    TestSupport::ClickInNextModal("bOk");
    window->Method[0]->trigger();
    EXPECT_TRUE(TestSupport::LastModalText().contains("MsgLoadList"));

    bool sawGame = false;
    TestSupport::AnswerNextModal([&](QWidget* w) {
        auto* learning = qobject_cast<TfLearning*>(w);
        sawGame =
            learning != nullptr && learning->pcMethods->currentWidget() == learning->tsHangman && window->LearningOpen;
        w->close();
    });
    window->miHang->trigger();
    EXPECT_TRUE(sawGame);
    EXPECT_FALSE(window->LearningOpen);
}

TEST_F(LearningListTest, MethodSixStartsFromTheLearningWindowAndWrapsRoundTheList)
{
    const QString path = WriteList("ENGGER",
                                   {{u"apple", std::string(255, 'a')},
                                    {u"arm", std::string(256, 'b')},
                                    {u"hat", "{\\rtf1 hat \\endash  Hut\\par}"}},
                                   "Long.lst");
    OpenList(path);
    ASSERT_EQ(window->lbList->count(), 3);
    TestSupport::AnswerNextModal([](QWidget* w) {
        auto* learning = qobject_cast<TfLearning*>(w);
        if (learning != nullptr)
            QTest::mouseClick(learning->bStartM6, Qt::LeftButton);
    });
    window->Method[5]->trigger();
    EXPECT_TRUE(window->TimerM6->isActive());
    EXPECT_EQ(window->TimerM6->interval(), 3 * 60000);

    auto balloon = [] {
        QWidget* b = Balloon::CurrentBalloon();
        // The balloon shows the text in lines of its width.
        return b
            ? QStringList({b->findChild<QLabel*>("lWord")->text(), b->findChild<QLabel*>("lText")->text().remove('\n')})
            : QStringList();
    };
    window->TimerM6Timer();
    EXPECT_EQ(balloon(), QStringList({"apple", QString(255, 'a')}));  // 255 characters: whole
    EXPECT_EQ(window->lbList->currentRow(), 0);
    window->TimerM6Timer();
    EXPECT_EQ(balloon(), QStringList({"arm", QString(252, 'b') + "..."}));  // 256: cut
    window->TimerM6Timer();
    EXPECT_EQ(balloon().value(1), QString::fromUtf8("hat \u2013 Hut"));
    window->TimerM6Timer();  // after the last: the first again
    EXPECT_EQ(balloon().value(0), "apple");
    EXPECT_EQ(window->lbList->currentRow(), 0);
    EXPECT_EQ(window->Method6Position, 1);

    // A closed list stops the periodic word.
    window->LearnDictionary->Modified = false;
    window->aCloseList->trigger();
    window->TimerM6Timer();
    EXPECT_FALSE(window->TimerM6->isActive());
}

}  // namespace

TEST_F(LearningListTest, TheEntryTheKeyboardSelectsShowsItsArticleAndIsTheWordToPronounce)
{
    Add("house");
    Add("apple");
    Add("hat");
    Add("mouse");
    window->reDescription->clear();
    window->lbList->setFocus();
    const auto shows = [&](const char* article, std::int32_t soundIndex) {
        EXPECT_TRUE(window->reDescription->toPlainText().contains(article))
            << window->reDescription->toPlainText().toStdString();
        EXPECT_EQ(window->SoundWordIndex, soundIndex);
    };
    QTest::mouseClick(window->lbList->viewport(), Qt::LeftButton, {},
                      window->lbList->visualItemRect(window->lbList->item(0)).center());
    shows("Haus", 1);
    QTest::keyClick(window->lbList, Qt::Key_Down);
    shows("Apfel", 0);
    QTest::keyClick(window->lbList, Qt::Key_End);
    shows("Maus", 0);
    QTest::keyClick(window->lbList, Qt::Key_Home);
    shows("Haus", 1);
    QTest::keyClick(window->lbList, Qt::Key_PageDown);
    shows("Maus", 0);
    QTest::keyClicks(window->lbList, "h");
    shows("Haus", 1);
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    QTest::keyClicks(window->lbList, "h");  // the next word of the letter
    shows("Hut", 0);
    // Delete still takes the selected entry out.
    QTest::keyClick(window->lbList, Qt::Key_Delete);
    EXPECT_EQ(ListWords(), QStringList({"house", "apple", "mouse"}));
}
