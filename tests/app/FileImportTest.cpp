// Import of learning lists, user-word files and user dictionaries: where each goes, what is
// refused, and that nothing the user has is replaced without a yes.
#include "app/FileImport.h"
#include "engine/LearnDictionary.h"
#include "tests/engine/DictionaryTestFiles.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>

using namespace FileImport;
using DictionaryTest::ReadFile;
using DictionaryTest::WriteFile;

namespace {

namespace fs = std::filesystem;

// A learning list of one word, saved under Name in Folder.
std::string MakeList(const fs::path& folder, const std::string& name, const std::string& pair,
                     const std::u16string& word)
{
    fs::create_directories(folder);
    TLearnDictionary store(folder.string());
    store.SetLanguagePair(pair);
    store.NewList();
    EXPECT_TRUE(store.AddWord(3, word, "{\\rtf1 " + std::string(word.begin(), word.end()) + "}"));
    EXPECT_TRUE(store.SaveToFile((folder / name).string()));
    store.Close();
    fs::remove(folder / "TempList.tmp");
    return ReadFile(folder / name);
}

std::string UserDictionaryBytes()
{
    return DictionaryTest::NewUserDictionary(u"ABC", DictionaryTest::WizardInfo(), u"A,B,C,\r\n");
}

std::string UserWordsBytes(char fill)
{
    return std::string(1224, fill) + "words";
}

class FileImportTest : public DictionaryTest::TScratch {
protected:
    void SetUp() override
    {
        TScratch::SetUp();
        fs::create_directories(dir / "outside");
        request.LearningFolder = dir / "Learning";
        request.DataFolder = dir / "Data";
        request.CatalogueNames = {"ENGGER_T", "MyWords"};
        request.ConfirmReplace = [this](const fs::path& existing) {
            asked.push_back(existing.filename().string());
            return answer;
        };
    }
    TImportOutcome Import(const std::string& name)
    {
        request.Source = dir / "outside" / name;
        return ImportFile(request);
    }

    TImportRequest request;
    std::vector<std::string> asked;
    bool answer = true;
};

}  // namespace

TEST_F(FileImportTest, EachKindGoesWhereItIsRead)
{
    const std::string list = MakeList(dir / "outside", "Verbs & Nouns.lst", "ENGGER", u"house");
    WriteFile(dir / "outside" / "engger_t.tde", UserWordsBytes('w'));
    WriteFile(dir / "outside" / "mywords.udd", UserDictionaryBytes());

    TImportOutcome o = Import("Verbs & Nouns.lst");
    EXPECT_EQ(o.Result, TImportResult::Imported);
    EXPECT_EQ(o.Kind, TImportKind::LearningList);
    EXPECT_EQ(o.Target, dir / "Learning" / "Verbs & Nouns.lst");
    EXPECT_EQ(ReadFile(o.Target), list);
    EXPECT_FALSE(fs::exists(dir / "Data" / "Verbs & Nouns.lst"));

    // User words and user dictionaries take the catalogue's spelling and the upper-case
    // extension the dictionaries look for.
    o = Import("engger_t.tde");
    EXPECT_EQ(o.Result, TImportResult::Imported);
    EXPECT_EQ(o.Target, dir / "Data" / "ENGGER_T.TDE");
    EXPECT_EQ(ReadFile(o.Target), UserWordsBytes('w'));

    o = Import("mywords.udd");
    EXPECT_EQ(o.Result, TImportResult::Imported);
    EXPECT_EQ(o.Kind, TImportKind::UserDictionary);
    EXPECT_EQ(o.Target, dir / "Data" / "MyWords.UDD");
    EXPECT_EQ(ReadFile(o.Target), UserDictionaryBytes());

    EXPECT_TRUE(asked.empty());
    // Nothing but the imports themselves: no temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "Data"), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "Learning"), fs::directory_iterator()), 1);
}

TEST_F(FileImportTest, AFileOfThatNameIsReplacedOnlyOnYes)
{
    WriteFile(dir / "outside" / "ENGGER_T.TDE", UserWordsBytes('n'));
    fs::create_directories(dir / "Data");
    WriteFile(dir / "Data" / "ENGGER_T.TDE", UserWordsBytes('o'));

    answer = false;
    TImportOutcome o = Import("ENGGER_T.TDE");
    EXPECT_EQ(o.Result, TImportResult::Cancelled);
    EXPECT_EQ(asked, std::vector<std::string>{"ENGGER_T.TDE"});
    EXPECT_EQ(ReadFile(dir / "Data" / "ENGGER_T.TDE"), UserWordsBytes('o'));

    answer = true;
    o = Import("ENGGER_T.TDE");
    EXPECT_EQ(o.Result, TImportResult::Imported);
    EXPECT_TRUE(o.Replaced);
    EXPECT_EQ(ReadFile(dir / "Data" / "ENGGER_T.TDE"), UserWordsBytes('n'));
}

TEST_F(FileImportTest, ANameDifferingOnlyInCaseIsTheSameFile)
{
    MakeList(dir / "outside", "words.LST", "ENGGER", u"new");
    const std::string old = MakeList(dir / "Learning", "Words.lst", "ENGGER", u"old");

    answer = false;
    EXPECT_EQ(Import("words.LST").Result, TImportResult::Cancelled);
    EXPECT_EQ(asked, std::vector<std::string>{"Words.lst"});
    EXPECT_EQ(ReadFile(dir / "Learning" / "Words.lst"), old);
    EXPECT_FALSE(fs::exists(dir / "Learning" / "words.LST"));

    answer = true;
    const TImportOutcome o = Import("words.LST");
    EXPECT_EQ(o.Target, dir / "Learning" / "Words.lst");
    EXPECT_NE(ReadFile(dir / "Learning" / "Words.lst"), old);
    EXPECT_FALSE(fs::exists(dir / "Learning" / "words.LST"));
}

TEST_F(FileImportTest, DamagedAndForeignFilesAreRefusedAndCopyNothing)
{
    const std::string list = MakeList(dir / "outside", "good.lst", "ENGGER", u"house");
    WriteFile(dir / "outside" / "short.lst", list.substr(0, 37));
    // A header whose item table lies past the end of the file.
    std::string bad = list;
    bad[37] = '\x7f';
    WriteFile(dir / "outside" / "bad.lst", bad);
    WriteFile(dir / "outside" / "short.TDE", std::string(1223, 'w'));
    std::string notUdd = UserDictionaryBytes();
    notUdd[0] = '9';
    WriteFile(dir / "outside" / "nomagic.UDD", notUdd);
    WriteFile(dir / "outside" / "DICTIONARYS.DNT", std::string(540, 'x'));

    EXPECT_EQ(Import("short.lst").Result, TImportResult::Damaged);
    EXPECT_EQ(Import("bad.lst").Result, TImportResult::Damaged);
    EXPECT_EQ(Import("short.TDE").Result, TImportResult::Damaged);
    EXPECT_EQ(Import("nomagic.UDD").Result, TImportResult::Damaged);
    EXPECT_EQ(Import("DICTIONARYS.DNT").Result, TImportResult::UnknownKind);
    EXPECT_EQ(Import("missing.lst").Result, TImportResult::ReadError);
    fs::create_directories(dir / "outside" / "folder.lst");
    EXPECT_EQ(Import("folder.lst").Result, TImportResult::ReadError);
    EXPECT_FALSE(fs::exists(dir / "Data" / "DICTIONARYS.DNT"));
    for (const char* folder : {"Data", "Learning"}) {
        if (fs::exists(dir / folder)) {
            EXPECT_TRUE(fs::is_empty(dir / folder)) << folder;
        }
    }
    EXPECT_TRUE(asked.empty());
}

TEST_F(FileImportTest, TheFileItselfIsNoImport)
{
    fs::create_directories(dir / "Data");
    WriteFile(dir / "Data" / "MyWords.UDD", UserDictionaryBytes());
    request.Source = dir / "Data" / "MyWords.UDD";
    EXPECT_EQ(ImportFile(request).Result, TImportResult::SameFile);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(ReadFile(dir / "Data" / "MyWords.UDD"), UserDictionaryBytes());
}

TEST_F(FileImportTest, AFailedWriteKeepsTheOldFile)
{
    // A file-size limit stops the copy half way, for root too.
    WriteFile(dir / "outside" / "MyWords.UDD", UserDictionaryBytes() + std::string(200000, 'a'));
    fs::create_directories(dir / "Data");
    WriteFile(dir / "Data" / "MyWords.UDD", "old");
    const TImportOutcome o = [&] {
        TestFiles::TFileSizeLimit limit(100000);
        return Import("MyWords.UDD");
    }();
    EXPECT_EQ(o.Result, TImportResult::WriteError);
    EXPECT_EQ(ReadFile(dir / "Data" / "MyWords.UDD"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "Data"), fs::directory_iterator()), 1);
}
