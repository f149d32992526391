// Showing articles after Enter: long and short articles in turn are laid out at the width the
// pane shows them at, the list is drawn again after a new letter block, and a damaged block
// length takes no room beyond the file.
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "engine/LittleEndian.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

std::string LongArticle()
{
    std::string rtf = "{\\rtf1{\\fonttbl\\f0 Tahoma;}\\fs20{\\b household} \\endash  Haushalt\\par ";
    for (int i = 0; i < 120; ++i)
        rtf += "{\\i sense " + std::to_string(i)
            + "} a line of the article that is long enough to wrap at the "
              "width of a narrow pane, and then some more words\\par ";
    return rtf + "}";
}

TTestDictionary WithALongArticle()
{
    TTestDictionary d = EnglishGerman();
    for (auto& [letter, words] : d.Sections)
        for (TWord& w : words)
            if (w.Word == u"household")
                w.Article = LongArticle();
    return d;
}

class MainWindowArticle : public ::testing::Test {
protected:
    void Open()
    {
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        window->resize(640, 420);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->cbFind->setFocus();
    }
    void Enter(const QString& text)
    {
        window->cbFind->lineEdit()->selectAll();
        QTest::keyClicks(window->cbFind, text);
        QTest::keyClick(window->cbFind, Qt::Key_Return);
    }
    // The text is laid out for the pane as it stands, scroll bar and all.
    void ExpectLaidOutForThePane(bool scrollBar)
    {
        QTextEdit* pane = window->reDescription;
        QTRY_COMPARE_WITH_TIMEOUT(pane->verticalScrollBar()->isVisible(), scrollBar, 5000);
        EXPECT_EQ(pane->document()->pageSize().width(), pane->viewport()->width());
        EXPECT_LE(pane->document()->documentLayout()->documentSize().width(), pane->viewport()->width());
    }

    TProgramFolder folder{{WithALongArticle(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace

TEST_F(MainWindowArticle, LongAndShortArticlesInTurnAreLaidOutAtTheWidthOfThePane)
{
    Open();
    for (int round = 0; round < 2; ++round) {
        Enter("hat");
        ExpectLaidOutForThePane(false);
        Enter("household");
        EXPECT_TRUE(window->reDescription->toPlainText().contains("sense 119"));
        ExpectLaidOutForThePane(true);
        Enter("household");  // the same again
        ExpectLaidOutForThePane(true);
        Enter("apple");  // another block
        ExpectLaidOutForThePane(false);
        EXPECT_TRUE(window->reDescription->toPlainText().contains("Apfel"));
    }
}

TEST_F(MainWindowArticle, TheListIsDrawnAgainAfterANewBlock)
{
    Open();
    Enter("hut");
    EXPECT_TRUE(window->lbWords->updatesEnabled());
    EXPECT_EQ(window->SelectedWord(), "hut");
    Enter("mouse");
    EXPECT_TRUE(window->lbWords->updatesEnabled());
    EXPECT_EQ(window->WordsModel->Word(0), "mouse");
    const QRect row = window->lbWords->visualRect(window->WordsModel->index(0));
    EXPECT_TRUE(window->lbWords->viewport()->rect().contains(row.center()));
    Enter("zebra");  // nothing found
    EXPECT_TRUE(window->lbWords->updatesEnabled());
    EXPECT_EQ(window->SelectedIndex(), -1);
}

// Room for the largest letter block is set aside while a word is typed, as the file can hold
// it: a section that claims more bytes than the file has gets none.
TEST(MainWindowArticleDamage, RoomIsSetAsideForTheLargestBlockTheFileCanHold)
{
    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    const std::string file = folder.DataFile("ENGGER_T.TDD");
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    const auto entry = [&](int i) { return bytes.data() + 29 + 24 * i; };
    // H (entry 1) claims the rest of the file, M (entry 2) far more than the file.
    const std::int32_t rest = static_cast<std::int32_t>(bytes.size()) - 37 - GetInt32(entry(1) + 4);
    SetInt32(entry(1) + 8, rest);
    SetInt32(entry(2) + 8, 0x7FFF0000);
    ASSERT_TRUE(f.seek(0));
    ASSERT_EQ(f.write(bytes), bytes.size());
    f.close();

    TfLexDictionary window(folder.Path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.cbFind->setFocus();
    // The first key is echoed first; the work it begins waits for a timer, between the keys.
    QTest::keyClick(window.cbFind, 'a');
    QCoreApplication::sendPostedEvents();
    EXPECT_LT(window.WordsModel->TakeSpareText().capacity(), static_cast<std::size_t>(rest / 2));
    QTest::keyClicks(window.cbFind, "pple");
    std::size_t room = 0;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return (room = window.WordsModel->TakeSpareText().capacity()) >= static_cast<std::size_t>(rest / 2); },
        10000));
    EXPECT_LT(room, static_cast<std::size_t>(bytes.size()));
    QTest::keyClick(window.cbFind, Qt::Key_Return);
    EXPECT_EQ(window.SelectedWord(), "apple");
}
