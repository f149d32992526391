// The new-dictionary wizard driven by clicks and keys: both kinds created, installed and
// opened by the engine; refused fields, existing files and failed writes leave nothing.
#include "tools/windows/NewDictionary.h"

#include "WordToolsFixture.h"
#include "engine/CompressedText.h"
#include "engine/DictManager.h"
#include "engine/Dictionary.h"
#include "engine/DictionaryFormat.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tests/support/FileSizeLimit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>

#include <cstdlib>

using namespace WordToolsTest;

namespace {

class NewDictionaryTest : public TProgramFolder {
protected:
    NewDictionaryTest()
    {
        KeysAsTexts(strings,
                    {"WizCaption",
                     "WizLang",
                     "WizGen",
                     "WizLangText",
                     "WizGenText",
                     "WizNext",
                     "WizCreate",
                     "WizExit",
                     "WizPrev",
                     "WizCancel",
                     "MsgFillAllFields",
                     "MsgFileExist",
                     "MsgWizHashChar",
                     "MsgWizFileNameChars",
                     "MsgWizTooManyLetters",
                     "MsgWizWriteFailed",
                     "MsgWizInstallFailed",
                     "MsgWizCodePage",
                     "MsgDictExist",
                     "MsgWizNoLanguages"});
        Open(Data("DICTIONARYS.DNT"));
    }

    void Open(const std::string& catalogueFile)
    {
        catalogue = std::make_unique<TDictManager>(catalogueFile);
        TNewDictionaryContext context;
        context.LangStrings = &strings;
        context.DictManager = catalogue.get();
        context.AppDir = QString::fromStdString(dir.string());
        context.DataDir = QString::fromStdString(Data());
        context.OpenNewDictionary = [this](const std::string& code, const QString& file) {
            opened.push_back(code + ":" + file.toStdString());
        };
        wizard = std::make_unique<TfNewDictioanry>(context);
        wizard->show();
        QApplication::setActiveWindow(wizard.get());
    }

    void Next() { QTest::mouseClick(wizard->bNext, Qt::LeftButton); }

    // Next that shows a message; returns its text.
    QString NextWithMessage()
    {
        TestSupport::ClickInNextModal("bOk");
        Next();
        return TestSupport::LastModalText();
    }

    void FillLanguagePage(const QString& name, const QString& file, int from = 0, int to = 1)
    {
        Next();
        Choose(wizard->cbFrom, from);
        Choose(wizard->cbTo, to);
        QTest::keyClicks(wizard->eName, name);
        QTest::keyClicks(wizard->ePublisher, "Me");
        QTest::keyClicks(wizard->eDictName, file);
    }

    int Page() const { return wizard->pcWizard->currentIndex(); }

    TWideStringList strings;
    std::unique_ptr<TDictManager> catalogue;
    std::unique_ptr<TfNewDictioanry> wizard;
    std::vector<std::string> opened;
};

TEST_F(NewDictionaryTest, ALanguageDictionaryIsWrittenInstalledAndOpened)
{
    EXPECT_EQ(wizard->windowTitle(), "WizCaption");
    EXPECT_EQ(wizard->cbFrom->count(), 21);
    EXPECT_FALSE(wizard->bPrev->isEnabled());
    FillLanguagePage("English words", "MyWords", 0, 1);
    EXPECT_EQ(wizard->bNext->text(), "WizCreate");
    Next();

    EXPECT_EQ(Page(), 3);
    EXPECT_EQ(wizard->bNext->text(), "WizExit");
    EXPECT_FALSE(wizard->bPrev->isEnabled());
    EXPECT_FALSE(wizard->bCancel->isEnabled());
    EXPECT_EQ(opened, std::vector<std::string>{"ENG:MyWords"});
    EXPECT_EQ(FilesIn(dir / "Data"), 2u);  // the dictionary and the catalogue, nothing else

    // The catalogue lists it for the choosers under its words' language.
    const DescNames listed = catalogue->GetDictionaries("ENG", true);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].Text, "ENGGER");
    EXPECT_EQ(catalogue->Records[0].Kind, 2);
    EXPECT_EQ(catalogue->Records[0].Name.Str(), "English words");
    EXPECT_EQ(catalogue->Records[0].Description.Str(), "Me");

    // The engine opens it: 26 letters in use, the alphabet lines as its description.
    auto d = CreateDictionary(TDictionaryKind::Language, Data("MyWords"));
    ASSERT_TRUE(d->Opened());
    EXPECT_EQ(d->Sections[25].Letter, u'Z');
    EXPECT_EQ(d->Sections[25].Free, 0);
    EXPECT_EQ(d->Sections[26].Letter, u'#');
    std::u16string description;
    d->GetDescription(description);
    EXPECT_EQ(description,
              AlphabetLine(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ") + u"\r\n" + AlphabetLine(u"abcdefghijklmnopqrstuvwxyz")
                  + u"\r\n");
    std::string info;
    d->ReadInfoBlock(info);
    EXPECT_TRUE(info.starts_with("01.01#0#1#"));
    EXPECT_TRUE(info.ends_with("#English words#Me#Ivy_Crate#Language#ENGGER#MyWords#")) << info;
    EXPECT_EQ(d->AddWord(u"hello", "{\\rtf1 Hallo}"), WordResult::Done);

    Next();
    EXPECT_FALSE(wizard->isVisible());
}

TEST_F(NewDictionaryTest, AGeneralDictionaryIsFiledUnderUGD)
{
    // On its round mark: the button takes clicks on its mark and caption only.
    QTest::mouseClick(wizard->rbGeneral, Qt::LeftButton, {}, QPoint(6, wizard->rbGeneral->height() / 2));
    ASSERT_TRUE(wizard->rbGeneral->isChecked());
    Next();
    EXPECT_EQ(Page(), 2);
    QTest::keyClicks(wizard->eGenName, "Lexikon");
    Choose(wizard->cbGenLang, 1);
    QTest::keyClicks(wizard->eGenPub, "Verlag");
    QTest::keyClicks(wizard->eGenFile, "Lexikon");
    Next();

    EXPECT_EQ(Page(), 3);
    EXPECT_EQ(opened, std::vector<std::string>{"UGD:Lexikon"});
    ASSERT_EQ(catalogue->GetDictionaries("UGD", true).size(), 1u);
    EXPECT_EQ(catalogue->Records[0].Kind, 3);
    EXPECT_EQ(catalogue->Records[0].LanguagePair.Str(), "GERUGD");
    auto d = CreateDictionary(TDictionaryKind::General, Data("Lexikon"));
    ASSERT_TRUE(d->Opened());
    EXPECT_EQ(d->Sections[1].Letter, u'\u00C4');  // German letters, Ä after A
    EXPECT_EQ(d->AddWord(u"\u00C4pfel", "{\\rtf1 x}"), WordResult::Done);
}

TEST_F(NewDictionaryTest, EmptyFieldsAreNamedInOrderAndPrevGoesBack)
{
    Next();
    EXPECT_EQ(NextWithMessage(), "MsgFillAllFields");
    EXPECT_EQ(wizard->focusWidget(), wizard->cbFrom);
    Choose(wizard->cbFrom, 0);
    QTest::keyClicks(wizard->eName, "   ");  // blanks only count as empty
    EXPECT_EQ(NextWithMessage(), "MsgFillAllFields");
    EXPECT_EQ(wizard->focusWidget(), wizard->cbTo);
    EXPECT_EQ(Page(), 1);

    QTest::mouseClick(wizard->bPrev, Qt::LeftButton);
    EXPECT_EQ(Page(), 0);
    EXPECT_FALSE(wizard->bPrev->isEnabled());
    EXPECT_EQ(wizard->bNext->text(), "WizNext");
    Next();  // the form starts empty again
    EXPECT_EQ(wizard->cbFrom->currentIndex(), -1);
    EXPECT_TRUE(wizard->eName->text().isEmpty());
    EXPECT_EQ(FilesIn(dir / "Data"), 1u);  // the catalogue only
}

TEST_F(NewDictionaryTest, AnExistingFileOrCatalogueNameIsNeverReplaced)
{
    WriteFile(Data("Old.UDD"), "keep");
    FillLanguagePage("Name", "Old");
    EXPECT_EQ(NextWithMessage(), "MsgFileExist");
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(ReadFile(Data("Old.UDD")), "keep");
    EXPECT_EQ(catalogue->Count(), 0);

    // A name the catalogue already has, in another letter case, is refused too.
    wizard->eDictName->clear();
    QTest::keyClicks(wizard->eDictName, "First");
    Next();
    ASSERT_EQ(Page(), 3);
    QTest::mouseClick(wizard->bNext, Qt::LeftButton);  // closes
    Open(Data("DICTIONARYS.DNT"));
    FillLanguagePage("Other", "FIRST", 1, 0);
    EXPECT_EQ(NextWithMessage(), "MsgFileExist");
    EXPECT_EQ(catalogue->Count(), 1);
    EXPECT_FALSE(fs::exists(Data("FIRST.UDD")));
}

TEST_F(NewDictionaryTest, HashPathCharactersAndTooManyLettersAreRefused)
{
    FillLanguagePage("A#B", "File");
    EXPECT_EQ(NextWithMessage(), "MsgWizHashChar");
    EXPECT_EQ(wizard->focusWidget(), wizard->eName);
    wizard->eName->setText("Name");
    wizard->eDictName->setText("../File");
    EXPECT_EQ(NextWithMessage(), "MsgWizFileNameChars");
    EXPECT_EQ(wizard->focusWidget(), wizard->eDictName);
    wizard->eDictName->setText("File");
    Choose(wizard->cbFrom, 3);  // 49 letters
    EXPECT_EQ(NextWithMessage(), "MsgWizTooManyLetters");
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(FilesIn(dir / "Data"), 1u);
    EXPECT_EQ(catalogue->Count(), 0);
    EXPECT_TRUE(opened.empty());
}

TEST_F(NewDictionaryTest, ALanguageWithoutAlphabetGivesADictionaryWithoutLetters)
{
    FillLanguagePage("French", "Fr", 2, 0);
    Next();
    ASSERT_EQ(Page(), 3);
    auto d = CreateDictionary(TDictionaryKind::Language, Data("Fr"));
    ASSERT_TRUE(d->Opened());
    EXPECT_EQ(d->Sections[0].Letter, u'#');
    std::u16string description;
    d->GetDescription(description);
    EXPECT_TRUE(description.empty());
}

TEST_F(NewDictionaryTest, AFailedWriteLeavesNoPartialFile)
{
    FillLanguagePage("Name", "Partial");
    // A read-only folder; a file-size limit stops the write half way where the folder's
    // permissions do not hold (as for root).
    fs::permissions(dir / "Data", fs::perms::owner_read | fs::perms::owner_exec);
    const QString text = [&] {
        TestFiles::TFileSizeLimit limit(600);
        return NextWithMessage();
    }();
    fs::permissions(dir / "Data", fs::perms::owner_all, fs::perm_options::add);

    EXPECT_EQ(text, "MsgWizWriteFailed");
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(FilesIn(dir / "Data"), 1u);  // the catalogue only
    EXPECT_TRUE(opened.empty());
}

TEST_F(NewDictionaryTest, AFailedInstallRemovesTheNewFile)
{
    // A catalogue that cannot be opened for writing: a folder stands where it should be.
    fs::create_directory(Data("Catalogue"));
    Open(Data("Catalogue"));
    FillLanguagePage("Name", "Lost");
    EXPECT_EQ(NextWithMessage(), "MsgWizInstallFailed");
    EXPECT_EQ(Page(), 1);
    EXPECT_FALSE(fs::exists(Data("Lost.UDD")));
    EXPECT_TRUE(opened.empty());
}

TEST_F(NewDictionaryTest, TextsTheCodePageCannotHoldAreRefused)
{
    ::setenv("LEXORA_CODEPAGE", "1252", 1);
    FillLanguagePage("x", "Slova");
    wizard->eName->setText(QString::fromUtf8("\u0421\u043b\u043e\u0432\u0430"));  // Cyrillic in 1252
    EXPECT_EQ(NextWithMessage(), "MsgWizCodePage");
    EXPECT_EQ(wizard->focusWidget(), wizard->eName);
    ::setenv("LEXORA_CODEPAGE", "1251", 1);
    Next();
    ::unsetenv("LEXORA_CODEPAGE");
    ASSERT_EQ(Page(), 3);
    EXPECT_EQ(catalogue->Records[0].Name.Str(), "\xD1\xEB\xEE\xE2\xE0");  // the name in windows-1251
}

TEST_F(NewDictionaryTest, WithoutALanguageTableNothingCanBeCreated)
{
    fs::remove(dir / "NISO.dat");
    Open(Data("DICTIONARYS.DNT"));
    EXPECT_EQ(wizard->cbFrom->count(), 0);
    EXPECT_EQ(NextWithMessage(), "MsgWizNoLanguages");
    EXPECT_EQ(Page(), 0);
}

}  // namespace
