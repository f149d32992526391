// Import through the File menu: each kind lands where it is read and shows at once; a file
// the user has is replaced only on yes; the open dictionary and the open list are replaced
// whole and shown anew; foreign and damaged files are refused.
#include "tests/app/ListCommandsTestFolder.h"

#include "engine/DictManager.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace ListCommandsTest;

namespace {

class ListCommandsImport : public TListCommandsFixture {
protected:
    void Import(const QString& name, const QString& answer = {})
    {
        AnswerFileDialogThen(outside.path() + "/" + name, [answer] {
            if (!answer.isEmpty())
                TestSupport::ClickInNextModal(answer);
        });
        window->miImport->trigger();
        QTest::qWait(20);
    }
    QString Outside(const QString& name) const { return outside.path() + "/" + name; }
    QString Data(const QString& name) const { return folder.Path() + "Data/" + name; }

    QTemporaryDir outside;
};

}  // namespace

TEST_F(ListCommandsImport, EachKindGoesWhereItIsReadAndShowsAtOnce)
{
    WriteList(Outside("Import & Co.lst"), "ENGGER", {u"arm"});
    Import("Import & Co.lst");
    EXPECT_TRUE(QFile::exists(folder.Path() + "Learning/Import & Co.lst"));
    EXPECT_FALSE(QFile::exists(Data("Import & Co.lst")));
    ClickMenuItem("Import && Co.lst");
    EXPECT_EQ(ListWords(), QStringList{"arm"});

    const QByteArray userWords = UserWordsOf(Data("ENGGER_T.TDD"), {u"ant"});
    WriteBytes(Outside("engger_t.tde"), userWords);
    EXPECT_EQ(Words(), (QStringList{"apple", "arm"}));
    Import("engger_t.tde");
    EXPECT_EQ(ReadBytes(Data("ENGGER_T.TDE")), userWords);
    EXPECT_EQ(Words(), (QStringList{"ant", "apple", "arm"}));

    WriteBytes(Outside("MyWords.UDD"), UserDictionary({u"Alpha"}));
    Import("MyWords.UDD");
    EXPECT_EQ(ReadBytes(Data("MyWords.UDD")), ReadBytes(Outside("MyWords.UDD")));
    // Nothing joins the catalogue; the word list stays as it was.
    EXPECT_EQ(window->DictManager->Count(), 2);
    EXPECT_EQ(Words(), (QStringList{"ant", "apple", "arm"}));
    EXPECT_EQ(DataFiles(),
              (QStringList{"DICTIONARYS.DNT", "ENGGER_T.TDD", "ENGGER_T.TDE", "GERENG_T.TDD", "MyWords.UDD"}));
}

TEST_F(ListCommandsImport, UserWordsAreReplacedOnlyOnYes)
{
    WriteBytes(Data("ENGGER_T.TDE"), UserWordsOf(Data("ENGGER_T.TDD"), {u"ant"}));
    window->aReverse->trigger();
    window->aReverse->trigger();  // the word list read again with the user's words
    ASSERT_EQ(Words(), (QStringList{"ant", "apple", "arm"}));
    const QByteArray old = ReadBytes(Data("ENGGER_T.TDE"));
    WriteBytes(Outside("ENGGER_T.TDE"), UserWordsOf(Data("ENGGER_T.TDD"), {u"axe"}));

    Import("ENGGER_T.TDE", "bNo");
    EXPECT_TRUE(TestSupport::LastModalText().contains("Replace it?"));
    EXPECT_TRUE(TestSupport::LastModalText().contains("ENGGER_T.TDE"));
    EXPECT_EQ(ReadBytes(Data("ENGGER_T.TDE")), old);
    EXPECT_EQ(Words(), (QStringList{"ant", "apple", "arm"}));

    Import("ENGGER_T.TDE", "bYes");
    EXPECT_EQ(ReadBytes(Data("ENGGER_T.TDE")), ReadBytes(Outside("ENGGER_T.TDE")));
    EXPECT_EQ(Words(), (QStringList{"apple", "arm", "axe"}));
}

TEST_F(ListCommandsImport, UserWordsShowInTheLetterOnView)
{
    window->cbFind->setFocus();
    QTest::keyClicks(window->cbFind, "hous");
    QTest::keyClick(window->cbFind, Qt::Key_Return);
    ASSERT_EQ(window->SelectedWord(), "house");
    const QStringList before = Words();
    WriteBytes(Outside("ENGGER_T.TDE"), UserWordsOf(Data("ENGGER_T.TDD"), {u"ant", u"hamster"}));
    Import("ENGGER_T.TDE");
    // The letter on view gets its own user word at its place and nothing of another letter.
    QStringList expected = before;
    expected.insert(expected.indexOf("hat"), "hamster");
    EXPECT_EQ(Words(), expected);
    EXPECT_EQ(window->SelectedWord(), "house");
}

TEST_F(ListCommandsImport, TheOpenListIsReplacedOnYesAndShownAnew)
{
    MakeList("Words.lst", "ENGGER", {u"house"});
    ClickMenuItem("Words.lst");
    ASSERT_EQ(ListWords(), QStringList{"house"});
    WriteList(Outside("Words.lst"), "ENGGER", {u"hat", u"hut"});
    Import("Words.lst", "bYes");
    EXPECT_EQ(ListWords(), (QStringList{"hat", "hut"}));
    EXPECT_NE(window->LearnDictionary->GetArticle(1).find("hut article"), std::string::npos);
}

TEST_F(ListCommandsImport, ForeignAndDamagedFilesAreRefused)
{
    WriteBytes(Outside("DICTIONARYS.DNT"), QByteArray(540, 'x'));
    Import("DICTIONARYS.DNT", "bOk");
    EXPECT_TRUE(TestSupport::LastModalText().contains("can be imported"));
    QByteArray damaged = UserDictionary({u"Alpha"});
    damaged[0] = 'X';
    WriteBytes(Outside("Broken.UDD"), damaged);
    Import("Broken.UDD", "bOk");
    EXPECT_TRUE(TestSupport::LastModalText().contains("damaged"));
    EXPECT_EQ(DataFiles(), (QStringList{"DICTIONARYS.DNT", "ENGGER_T.TDD", "GERENG_T.TDD"}));
    EXPECT_NE(ReadBytes(Data("DICTIONARYS.DNT")), QByteArray(540, 'x'));
}

namespace {

// The user dictionary "MyWords" in the catalogue beside the maker's test dictionaries.
class ListCommandsImportOpen : public ListCommandsImport {
protected:
    void SetUp() override
    {
        WriteBytes(Data("MyWords.UDD"), UserDictionary({u"Alpha", u"Beta"}));
        TDictManager manager(Data("DICTIONARYS.DNT").toStdString());
        ASSERT_EQ(manager.InstallDictionary(Data("MyWords.UDD").toStdString()), irInstalled);
        ListCommandsImport::SetUp();
        ChooseDictionary(1);
    }
};

}  // namespace

TEST_F(ListCommandsImportOpen, OverTheOpenDictionary)
{
    ASSERT_EQ(window->CurrentDictionaryFile, "MyWords");
    ASSERT_EQ(Words(), QStringList{"Alpha"});
    const QByteArray old = ReadBytes(Data("MyWords.UDD"));
    WriteBytes(Outside("MyWords.UDD"), UserDictionary({u"Alpha", u"Anchor", u"Beta"}));

    Import("MyWords.UDD", "bNo");
    EXPECT_EQ(ReadBytes(Data("MyWords.UDD")), old);
    EXPECT_EQ(Words(), QStringList{"Alpha"});

    Import("MyWords.UDD", "bYes");
    EXPECT_EQ(ReadBytes(Data("MyWords.UDD")), ReadBytes(Outside("MyWords.UDD")));
    EXPECT_EQ(Words(), (QStringList{"Alpha", "Anchor"}));
    EXPECT_EQ(window->SelectedWord(), "Alpha");
    // The new file is the one read: its second word's article shows.
    QTest::keyClicks(window->cbFind, "Anc");
    QTest::keyClick(window->cbFind, Qt::Key_Return);
    EXPECT_EQ(window->SelectedWord(), "Anchor");
    EXPECT_TRUE(window->reDescription->toPlainText().contains("Anchor article"));
    // Written under a temporary name and renamed: nothing else is left in the folder.
    EXPECT_EQ(DataFiles(), (QStringList{"DICTIONARYS.DNT", "ENGGER_T.TDD", "GERENG_T.TDD", "MyWords.UDD"}));
}
