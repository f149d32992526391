// Adding a word through the word editor from the main window: on the letter shown the list is
// read again and the word just added is selected with the user's own article, also where the
// maker's dictionary has a word of the same spelling; on another letter nothing moves.
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "engine/DictManager.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/engine/DictionaryTestFiles.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tools/windows/NewWord.h"
#include "tools/windows/NewWordRichEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>

using namespace MainWindowTest;

namespace {

class MainWindowAddWord : public ::testing::Test {
protected:
    void SetUp() override
    {
        admin_ = qgetenv("LEXORA_ADMIN");
        qputenv("LEXORA_ADMIN", "1");
    }
    void TearDown() override { qputenv("LEXORA_ADMIN", admin_); }

    std::unique_ptr<TfLexDictionary> Open(const TProgramFolder& folder)
    {
        auto w = std::make_unique<TfLexDictionary>(folder.Path());
        w->Settings.UpdEnbl = false;
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    static void Look(TfLexDictionary& w, const QString& word)
    {
        w.cbFind->setFocus();
        w.cbFind->lineEdit()->selectAll();
        QTest::keyClicks(w.cbFind, word);
        QTest::keyClick(w.cbFind, Qt::Key_Return);
    }

    // Clicks the window's new-word button and, in the editor, types Word and Article and
    // clicks Add. True when the editor was shown.
    static bool AddWord(TfLexDictionary& w, const QString& word, const QString& article)
    {
        bool shown = false;
        TestSupport::AnswerNextModal([&](QWidget* modal) {
            auto* editor = qobject_cast<TfNewWord*>(modal);
            if (editor == nullptr) {
                modal->close();
                return;
            }
            shown = true;
            QTest::keyClicks(editor->eNewWord, word);
            editor->reNewDescription->setFocus();
            QTest::keyClicks(editor->reNewDescription, article);
            QTest::mouseClick(editor->tbAddWord, Qt::LeftButton);
        });
        QTest::mouseClick(w.bNewWord, Qt::LeftButton);
        return shown;
    }

    static bool SelectedIsUserWord(const TfLexDictionary& w)
    {
        const std::vector<std::int32_t>& users = w.Dictionary->UserWordPositions;
        return std::find(users.begin(), users.end(), w.SelectedIndex()) != users.end();
    }

    QByteArray admin_;
};

}  // namespace

TEST_F(MainWindowAddWord, TheWordJustAddedIsSelectedWithTheUsersArticleOnlyOnTheLetterShown)
{
    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    auto w = Open(folder);
    Look(*w, "apple");
    ASSERT_EQ(w->SelectedWord(), "apple");
    ASSERT_TRUE(w->reDescription->toPlainText().contains("Apfel"));

    // The maker's "apple" stays in the list; the user's one beside it is chosen.
    ASSERT_TRUE(AddWord(*w, "apple", "my own apple"));
    EXPECT_EQ(w->WordCount(), 3);
    EXPECT_EQ(w->SelectedWord(), "apple");
    EXPECT_TRUE(SelectedIsUserWord(*w));
    EXPECT_EQ(w->reDescription->toPlainText().trimmed().toStdString(), "my own apple");

    // A second one of the letter: the newest is chosen, not the earlier user word.
    ASSERT_TRUE(AddWord(*w, "arm", "my own arm"));
    EXPECT_EQ(w->WordCount(), 4);
    EXPECT_EQ(w->SelectedWord(), "arm");
    EXPECT_TRUE(SelectedIsUserWord(*w));
    EXPECT_EQ(w->reDescription->toPlainText().trimmed().toStdString(), "my own arm");

    // Another letter: stored, but the list, the selection and the article stay.
    const int selected = w->SelectedIndex();
    ASSERT_TRUE(AddWord(*w, "mouse", "my own mouse"));
    EXPECT_EQ(w->WordCount(), 4);
    EXPECT_EQ(w->SelectedIndex(), selected);
    EXPECT_EQ(w->reDescription->toPlainText().trimmed().toStdString(), "my own arm");
    std::u16string mWords;
    w->Dictionary->GetLetterWords(u'M', false, mWords, true);
    EXPECT_EQ(mWords, u"mouse\r\n");
    Look(*w, "mouse");
    EXPECT_EQ(w->WordCount(), 2);
}

TEST_F(MainWindowAddWord, AUserDictionaryShowsTheWordJustAdded)
{
    TProgramFolder folder{{}};
    ASSERT_NO_FATAL_FAILURE(InstallMyWords(folder));
    auto w = Open(folder);
    ASSERT_EQ(w->SelectedDictionaryKind(), 2);
    // Into the empty letter the window shows, then before and after the first word.
    for (const char* word : {"house", "hat", "hut", "ho"}) {
        ASSERT_TRUE(AddWord(*w, word, QString("about ") + word));
        EXPECT_EQ(w->SelectedWord(), word);
        EXPECT_EQ(w->reDescription->toPlainText().trimmed().toStdString(), std::string("about ") + word);
    }
    EXPECT_EQ(w->WordCount(), 4);
}
