// The road of a user through both windows, with the main window's part played by the test:
// a user dictionary made with the wizard, three words with formatted descriptions added
// with the editor, found by their letter, one edited and one deleted.
#include "WordToolsFixture.h"
#include "engine/DictManager.h"
#include "engine/Dictionary.h"
#include "tools/windows/NewDictionary.h"
#include "tools/windows/NewWord.h"
#include "tools/windows/NewWordRichEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>

using namespace WordToolsTest;

namespace {

class NewDictionaryWordsTest : public TProgramFolder {
protected:
    NewDictionaryWordsTest() { KeysAsTexts(strings, {"WizNext", "WizCreate", "NFCaption"}); }

    // The wizard, and the main window opening what it made.
    void CreateDictionary()
    {
        TNewDictionaryContext context;
        context.LangStrings = &strings;
        context.DictManager = &catalogue;
        context.AppDir = QString::fromStdString(dir.string());
        context.DataDir = QString::fromStdString(Data());
        context.OpenNewDictionary = [this](const std::string& code, const QString& file) {
            const DescNames listed = catalogue.GetDictionaries(code, true);
            ASSERT_EQ(listed.size(), 1u);
            const TDictionaryRecord& record = catalogue.Records[static_cast<std::size_t>(listed[0].Id)];
            EXPECT_EQ(record.DictionaryFile.Str(), file.toStdString());
            dictionary = ::CreateDictionary(DictKindFromInt(record.Kind), Data(file.toStdString()));
        };
        TfNewDictioanry wizard(context);
        wizard.show();
        QApplication::setActiveWindow(&wizard);
        QTest::mouseClick(wizard.bNext, Qt::LeftButton);
        Choose(wizard.cbFrom, 0);
        Choose(wizard.cbTo, 1);
        QTest::keyClicks(wizard.eName, "My English");
        QTest::keyClicks(wizard.ePublisher, "Me");
        QTest::keyClicks(wizard.eDictName, "MyEnglish");
        QTest::mouseClick(wizard.bNext, Qt::LeftButton);
        QTest::mouseClick(wizard.bNext, Qt::LeftButton);
        EXPECT_FALSE(wizard.isVisible());
    }

    TWordEditorContext EditorContext()
    {
        TWordEditorContext context;
        context.LangStrings = &strings;
        context.Dictionary = dictionary.get();
        context.ShowAddedWord = [this](const QString& word) { added.push_back(word); };
        return context;
    }

    // The editor as the add command shows it; the word's description is typed with the
    // first word of it in bold.
    void AddWord(const QString& word, const QString& description)
    {
        TfNewWord editor(EditorContext());
        editor.show();
        QApplication::setActiveWindow(&editor);
        QTest::keyClicks(editor.eNewWord, word);
        editor.reNewDescription->setFocus();
        QTest::keyClick(editor.reNewDescription, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClicks(editor.reNewDescription, description.section(' ', 0, 0));
        QTest::keyClick(editor.reNewDescription, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClicks(editor.reNewDescription, " " + description.section(' ', 1));
        QTest::mouseClick(editor.tbAddWord, Qt::LeftButton);
        EXPECT_FALSE(editor.isVisible());
    }

    std::u16string Words(char16_t letter)
    {
        std::u16string words;
        dictionary->GetLetterWords(letter, false, words, false);
        return words;
    }

    TWideStringList strings;
    TDictManager catalogue{Data("DICTIONARYS.DNT")};
    std::unique_ptr<TBaseDictionary> dictionary;
    std::vector<QString> added;
};

TEST_F(NewDictionaryWordsTest, ADictionaryFromTheWizardTakesWordsThatCanBeEditedAndDeleted)
{
    CreateDictionary();
    ASSERT_TRUE(dictionary && dictionary->Opened());
    Words(u'C');  // the main window shows the words of "C"
    AddWord("cherry", "small red fruit");
    AddWord("apple", "round fruit");
    AddWord("cabbage", "leafy vegetable");
    EXPECT_EQ(added, (std::vector<QString>{"cherry", "cabbage"}));  // the words of the letter shown

    // Found by typing: the letter's list, sorted, and each article with its bold word.
    EXPECT_EQ(Words(u'C'), u"cabbage\r\ncherry\r\n");
    EXPECT_EQ(Words(u'A'), u"apple\r\n");
    Words(u'C');
    std::string article;
    dictionary->GetArticle(1, true, article, false, false);
    TfNewWord editor(EditorContext());
    editor.PrepareEdit(1, "cherry", article);
    QTextCursor c(editor.reNewDescription->document());
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(editor.reNewDescription->toPlainText(), "small red fruit");

    // Edited in the editor.
    editor.show();
    editor.reNewDescription->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor.reNewDescription, " (sweet)");
    QTest::mouseClick(editor.tbSave, Qt::LeftButton);
    EXPECT_FALSE(editor.isVisible());
    Words(u'C');
    dictionary->GetArticle(1, true, article, false, false);
    EXPECT_NE(article.find("(sweet)"), std::string::npos);

    // Deleted as the main window's delete command does.
    Words(u'C');
    ASSERT_EQ(dictionary->DeleteWord(0), WordResult::Done);
    EXPECT_EQ(Words(u'C'), u"cherry\r\n");
    dictionary->GetArticle(0, true, article, false, false);
    EXPECT_NE(article.find("(sweet)"), std::string::npos);
}

}  // namespace
