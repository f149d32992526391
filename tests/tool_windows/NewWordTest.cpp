// The word editor driven by keys and clicks on a real user dictionary: formatting survives
// add and reopen; refused and failed saves keep the window open with what was typed.
#include "tools/windows/NewWord.h"

#include "WordToolsFixture.h"
#include "engine/Dictionary.h"
#include "engine/LearnDictionary.h"
#include "engine/NewUserDictionary.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tests/support/FileSizeLimit.h"
#include "tools/windows/NewWordRichEdit.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

using namespace WordToolsTest;

namespace {

class NewWordTest : public TProgramFolder {
protected:
    NewWordTest()
    {
        KeysAsTexts(strings,
                    {"NFCaption", "NFCaptionEdit", "NFWord", "MsgWordExist", "MsgWrongWord", "MsgWordWriteError",
                     "MsgWordNotSaved", "MsgWordOpenFailed", "MsgWordLineBreak", "NFColourRed"});
        NewDictionary::WriteNewFile(Data("Mine.UDD"),
                                    NewDictionary::BuildFile(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "01.01#0#1#", u""));
        dictionary = std::make_unique<TUserDictionary>(Data("Mine"));
        std::u16string words;
        dictionary->GetLetterWords(u'A', false, words, false);  // the main window shows "A"
        Create();
    }

    void Create()
    {
        TWordEditorContext context;
        context.LangStrings = &strings;
        context.Dictionary = dictionary.get();
        context.LearnDictionary = learn.get();
        context.ShowAddedWord = [this](const QString& w) { shown.push_back("added " + w.toStdString()); };
        context.ShowEditedArticle = [this]() { shown.push_back("article"); };
        context.ShowEditedListArticle = [this]() { shown.push_back("list article"); };
        editor = std::make_unique<TfNewWord>(context);
    }

    void Show()
    {
        editor->show();
        QApplication::setActiveWindow(editor.get());
    }

    // Clicks a tool button that answers with a message; returns the message's text.
    QString ClickWithMessage(QToolButton* button)
    {
        TestSupport::ClickInNextModal("bOk");
        QTest::mouseClick(button, Qt::LeftButton);
        return TestSupport::LastModalText();
    }

    void TypeArticle(const QString& text)
    {
        editor->reNewDescription->setFocus();
        QTest::keyClicks(editor->reNewDescription, text);
    }

    std::u16string Words(char16_t letter)
    {
        std::u16string words;
        dictionary->GetLetterWords(letter, false, words, false);
        return words;
    }

    std::string Article(char16_t letter, int index)
    {
        Words(letter);
        std::string article;
        dictionary->GetArticle(index, true, article, false, false);
        return article;
    }

    TWideStringList strings;
    std::unique_ptr<TUserDictionary> dictionary;
    std::unique_ptr<TLearnDictionary> learn;
    std::unique_ptr<TfNewWord> editor;
    std::vector<std::string> shown;
};

TEST_F(NewWordTest, AWordWithBoldAndColourComesBackWithItsFormatting)
{
    Show();
    EXPECT_EQ(editor->windowTitle(), "NFCaption");
    EXPECT_EQ(editor->lNewWord->text(), "NFWord");
    QTest::keyClicks(editor->eNewWord, "apple");
    TypeArticle("a red fruit");
    QTest::keyClick(editor->reNewDescription, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor->reNewDescription, Qt::Key_B, Qt::ControlModifier);
    Choose(editor->ColorBox1, 9);  // red
    EXPECT_EQ(editor->ColorBox1->currentText(), "NFColourRed");
    QTest::mouseClick(editor->tbAddWord, Qt::LeftButton);

    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(shown, std::vector<std::string>{"added apple"});
    EXPECT_EQ(Words(u'A'), u"apple\r\n");
    const std::string article = Article(u'A', 0);

    // Opened again for editing, the text is bold and red.
    Create();
    editor->PrepareEdit(0, "apple", article);
    Show();
    EXPECT_EQ(editor->windowTitle(), "NFCaptionEdit");
    EXPECT_FALSE(editor->tbAddWord->isVisible());
    EXPECT_TRUE(editor->tbSave->isVisible());
    EXPECT_FALSE(editor->eNewWord->isEnabled());
    EXPECT_EQ(editor->reNewDescription->toPlainText(), "a red fruit");
    QTextCursor c(editor->reNewDescription->document());
    c.setPosition(3);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(c.charFormat().foreground().color(), QColor(Qt::red));
    editor->reNewDescription->setTextCursor(c);
    EXPECT_EQ(editor->ColorBox1->currentIndex(), 9);
    EXPECT_TRUE(editor->RichEditBold1->isChecked());
}

TEST_F(NewWordTest, AnExistingWordOrAForeignLetterKeepsTheWindowOpen)
{
    ASSERT_EQ(dictionary->AddWord(u"apple", "{\\rtf1 x}"), WordResult::Done);
    Show();
    QTest::keyClicks(editor->eNewWord, "apple");
    TypeArticle("kept");
    EXPECT_EQ(ClickWithMessage(editor->tbAddWord), "MsgWordExist");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->eNewWord->text(), "apple");
    EXPECT_EQ(editor->reNewDescription->toPlainText(), "kept");

    editor->eNewWord->setText(QString::fromUtf8("\u00e9t\u00e9"));  // É is no letter of this dictionary
    EXPECT_EQ(ClickWithMessage(editor->tbAddWord), "MsgWrongWord");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->reNewDescription->toPlainText(), "kept");
    EXPECT_TRUE(shown.empty());
}

TEST_F(NewWordTest, AFailedWriteSaysSoAndTheNextTrySucceeds)
{
    Show();
    QTest::keyClicks(editor->eNewWord, "  banana ");
    TypeArticle("yellow");
    {
        TestFiles::TFileSizeLimit limit(200);  // stops writes beyond a few bytes
        EXPECT_EQ(ClickWithMessage(editor->tbAddWord), "MsgWordWriteError");
    }
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->reNewDescription->toPlainText(), "yellow");
    EXPECT_EQ(Words(u'B'), u"");
    Words(u'A');  // the main window shows "A" again
    QTest::mouseClick(editor->tbAddWord, Qt::LeftButton);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(Words(u'B'), u"banana\r\n");  // stored without the blanks
    EXPECT_TRUE(shown.empty());             // not the letter the main window shows
}

TEST_F(NewWordTest, EmptyWordsAndWordsWithLineBreaksAreNotAdded)
{
    Show();
    QTest::mouseClick(editor->tbAddWord, Qt::LeftButton);  // no word: nothing happens
    EXPECT_TRUE(editor->isVisible());
    QApplication::clipboard()->setText(QStringLiteral("two\nlines"));
    editor->eNewWord->setFocus();
    QTest::keyClick(editor->eNewWord, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ClickWithMessage(editor->tbAddWord), "MsgWordLineBreak");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->eNewWord->text(), "two\nlines");
    EXPECT_EQ(Words(u'T'), u"");
}

TEST_F(NewWordTest, AFailedEditKeepsTheWindowOpenAndASavedOneShowsTheArticle)
{
    ASSERT_EQ(dictionary->AddWord(u"cat", "{\\rtf1 old}"), WordResult::Done);
    Words(u'C');
    editor->PrepareEdit(0, "cat", Article(u'C', 0));
    Show();
    TypeArticle("new ");
    {
        TestFiles::TFileSizeLimit limit(200);  // stops writes beyond a few bytes
        EXPECT_EQ(ClickWithMessage(editor->tbSave), "MsgWordWriteError");
    }
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->reNewDescription->toPlainText(), "new old");
    QTest::mouseClick(editor->tbSave, Qt::LeftButton);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(shown, std::vector<std::string>{"article"});
    EXPECT_NE(Article(u'C', 0).find("new old"), std::string::npos);
    // The next showing is in add mode again.
    Show();
    EXPECT_TRUE(editor->tbAddWord->isVisible());
    EXPECT_FALSE(editor->tbSave->isVisible());
    EXPECT_TRUE(editor->eNewWord->isEnabled());
    EXPECT_EQ(editor->windowTitle(), "NFCaption");
}

TEST_F(NewWordTest, AListEntryIsSavedInTheListOrTheWindowStays)
{
    learn = std::make_unique<TLearnDictionary>((dir / "Data").string());
    learn->NewList();
    ASSERT_TRUE(learn->AddWord(0, u"apple", "{\\rtf1 old}"));
    Create();
    editor->PrepareListEdit(5, "apple", learn->GetArticle(0));  // no entry 5
    Show();
    EXPECT_TRUE(editor->tbLearn->isVisible());
    EXPECT_FALSE(editor->tbAddWord->isVisible());
    EXPECT_TRUE(editor->eNewWord->isReadOnly());
    EXPECT_EQ(ClickWithMessage(editor->tbLearn), "MsgWordNotSaved");
    EXPECT_TRUE(editor->isVisible());
    editor->EditIndex = 0;
    TypeArticle("new ");
    QTest::mouseClick(editor->tbLearn, Qt::LeftButton);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(shown, std::vector<std::string>{"list article"});
    EXPECT_NE(learn->GetArticle(0).find("new old"), std::string::npos);
}

TEST_F(NewWordTest, PastedHtmlBecomesPlainTextAndRtfKeepsItsFormatting)
{
    Show();
    editor->reNewDescription->setFocus();
    auto* html = new QMimeData;
    html->setHtml("<b>bold</b> <i>words</i>");
    QApplication::clipboard()->setMimeData(html);
    QTest::keyClick(editor->reNewDescription, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->reNewDescription->toPlainText(), "bold words");
    QTextCursor c(editor->reNewDescription->document());
    c.setPosition(2);
    EXPECT_NE(c.charFormat().fontWeight(), QFont::Bold);

    editor->reNewDescription->clear();
    auto* rtf = new QMimeData;
    rtf->setData(TNewWordRichEdit::RtfFormats().first(), "{\\rtf1\\ansi {\\b strong} plain}");
    rtf->setText("strong plain");
    QApplication::clipboard()->setMimeData(rtf);
    QTest::keyClick(editor->reNewDescription, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->reNewDescription->toPlainText(), "strong plain");
    c = QTextCursor(editor->reNewDescription->document());
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);

    // Copied within the article, the formatting goes along.
    QTest::keyClick(editor->reNewDescription, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor->reNewDescription, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(TNewWordRichEdit::RtfFormats().first()));
}

TEST_F(NewWordTest, TypedSizesApplyWhenWholeNumbersAndEnterReturnsToTheArticle)
{
    Show();
    TypeArticle("text");
    QTest::keyClick(editor->reNewDescription, Qt::Key_A, Qt::ControlModifier);
    editor->cbSize->setFocus();
    editor->cbSize->lineEdit()->selectAll();
    QTest::keyClicks(editor->cbSize->lineEdit(), "14");
    EXPECT_EQ(editor->cbSize->currentText(), "14");  // the second digit stayed in the box
    QTextCursor c(editor->reNewDescription->document());
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontPointSize(), 14);
    editor->cbSize->lineEdit()->selectAll();
    QTest::keyClicks(editor->cbSize->lineEdit(), "x2");
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontPointSize(), 14);
    editor->cbSize->lineEdit()->selectAll();
    QTest::keyClicks(editor->cbSize->lineEdit(), "20");
    QTest::keyClick(editor->cbSize->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(editor->focusWidget(), editor->reNewDescription);
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontPointSize(), 20);
}

TEST_F(NewWordTest, FormattingRestsWhileTheWordFieldHasTheFocus)
{
    Show();
    EXPECT_EQ(editor->focusWidget(), editor->eNewWord);
    EXPECT_FALSE(editor->ToolButton16->isEnabled());
    EXPECT_FALSE(editor->RichEditBold1->isEnabled());
    editor->reNewDescription->setFocus();
    EXPECT_TRUE(editor->ToolButton16->isEnabled());
    EXPECT_TRUE(editor->RichEditBold1->isEnabled());
    EXPECT_FALSE(editor->ToolButton6->isEnabled());  // nothing to undo yet
    QTest::keyClicks(editor->reNewDescription, "x");
    EXPECT_TRUE(editor->ToolButton6->isEnabled());
    QTest::mouseClick(editor->ToolButton6, Qt::LeftButton);
    EXPECT_EQ(editor->reNewDescription->toPlainText(), "");
}

TEST_F(NewWordTest, AFileOpensIntoTheArticleAndAnUnreadableOneKeepsIt)
{
    Show();
    WriteFile(dir / "note.rtf", "{\\rtf1\\ansi {\\i leaning} text}");
    TestSupport::AnswerNextFileDialog(QString::fromStdString((dir / "note.rtf").string()));
    QTest::keyClick(editor->eNewWord, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(editor->reNewDescription->toPlainText(), "leaning text");
    QTextCursor c(editor->reNewDescription->document());
    c.setPosition(2);
    EXPECT_TRUE(c.charFormat().fontItalic());

    TestSupport::ClickInNextModal("bOk");
    editor->FileOpen1Accept(QString::fromStdString((dir / "missing.rtf").string()));
    EXPECT_EQ(TestSupport::LastModalText(), "MsgWordOpenFailed");
    EXPECT_EQ(editor->reNewDescription->toPlainText(), "leaning text");
}

TEST_F(NewWordTest, TheChosenFontGoesToTheSelectionAndTheBoxFollowsTheCursor)
{
    Show();
    TypeArticle("abc");
    ASSERT_GT(editor->cbFonts->count(), 1);
    const int other = editor->cbFonts->currentIndex() == 0 ? 1 : 0;
    QTest::keyClick(editor->reNewDescription, Qt::Key_Left, Qt::ShiftModifier);
    Choose(editor->cbFonts, other);
    EXPECT_EQ(editor->focusWidget(), editor->reNewDescription);  // the article has the focus back
    QTextCursor c(editor->reNewDescription->document());
    c.setPosition(3);
    EXPECT_EQ(c.charFormat().fontFamilies().toStringList().value(0), editor->cbFonts->itemText(other));
    QTest::keyClick(editor->reNewDescription, Qt::Key_Home);
    QTest::keyClick(editor->reNewDescription, Qt::Key_Right);
    EXPECT_NE(editor->cbFonts->currentIndex(), other);
    EXPECT_EQ(editor->cbSize->currentText(), "10");
}

}  // namespace
