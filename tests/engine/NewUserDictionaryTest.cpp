// New user dictionaries: letters from alphabet lines, the file's layout as the engine opens
// it, and the write that never replaces a file.
#include "engine/NewUserDictionary.h"

#include "DictionaryTestFiles.h"
#include "engine/DictManager.h"
#include "engine/Dictionary.h"
#include "engine/WideStringList.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace DictionaryTest;
using namespace NewDictionary;

namespace {

std::size_t FilesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AlphabetLetters, LettersOfCommaEndedEntriesWithoutSpacings)
{
    EXPECT_EQ(AlphabetLetters(u"A,B,C,"), u"ABC");
    EXPECT_EQ(AlphabetLetters(u"A,B,C"), u"AB");              // text after the last comma is not used
    EXPECT_EQ(AlphabetLetters(u"A,14,B,-2,Ch,C,"), u"ABCC");  // numbers skipped; first code unit
    EXPECT_EQ(AlphabetLetters(u"A,,B,"), u"AB");              // an empty entry gives no letter
    EXPECT_EQ(AlphabetLetters(u""), u"");
}

TEST(FindAlphabetLines, TheTwoLinesAfterTheCodeIgnoringCase)
{
    TWideStringList list;
    list.SetTextStr(u"ENG\r\nA,B,\r\na,b,\r\nger\r\nA,\u00C4,\r\na,\u00E4,\r\nRUS\r\n\u0410,\r\n");
    EXPECT_EQ(FindAlphabetLines(list, u"ger"), (std::vector<std::u16string>{u"A,\u00C4,", u"a,\u00E4,"}));
    EXPECT_EQ(FindAlphabetLines(list, u"GER"), (std::vector<std::u16string>{u"A,\u00C4,", u"a,\u00E4,"}));
    EXPECT_EQ(FindAlphabetLines(list, u"RUS"), (std::vector<std::u16string>{u"\u0410,"}));  // one line left
    EXPECT_TRUE(FindAlphabetLines(list, u"FRE").empty());
    EXPECT_TRUE(FindAlphabetLines(list, u"").empty());
}

class NewUserDictionaryTest : public TScratch {};

TEST_F(NewUserDictionaryTest, TheFileHasTheLayoutOfAnEmptyUserDictionary)
{
    const std::u16string desc = u"A,B,C,\r\na,b,c,\r\n";
    const std::string bytes = BuildFile(u"ABC", WizardInfo(), desc);
    EXPECT_EQ(bytes, NewUserDictionary(u"ABC", WizardInfo(), desc));
    const std::string none = BuildFile(u"", WizardInfo(), u"");
    // Without a description entry 49 ends the file and H1 is the file size.
    const auto table = Dictionary::DecodeSectionTable(std::string_view(none).substr(29));
    EXPECT_EQ(table[49].Length, 0);
    EXPECT_EQ(static_cast<std::size_t>(table[49].Offset), none.size());
    EXPECT_EQ(Dictionary::DecodeAreaOffsets(std::string_view(none).substr(5)).H1,
              static_cast<std::int64_t>(none.size()));
    EXPECT_EQ(table[0].Letter, u'#');
    EXPECT_EQ(table[0].Free, 1);
}

TEST_F(NewUserDictionaryTest, FortyEightLettersFitAndFortyNineAreRefused)
{
    std::u16string letters;
    for (char16_t c = u'\u0400'; letters.size() < 48; ++c)
        letters += c;
    EXPECT_NO_THROW(BuildFile(letters, WizardInfo(), u""));
    letters += u'Z';
    EXPECT_THROW(BuildFile(letters, WizardInfo(), u""), ETooManyLetters);
}

TEST_F(NewUserDictionaryTest, TheWrittenFileOpensInstallsAndTakesWords)
{
    const std::string path = Base("MyWords.UDD");
    WriteNewFile(path, BuildFile(u"ABC", WizardInfo(), u"A,B,C,\r\na,b,c,\r\n"));
    EXPECT_EQ(FilesIn(dir), 1u);  // no temporary file left

    TDictManager catalogue(Base("DICTIONARYS.DNT"));
    ASSERT_EQ(catalogue.InstallDictionary(path), irInstalled);
    EXPECT_EQ(catalogue.Records[0].DictionaryFile.Str(), "MyWords");
    EXPECT_EQ(catalogue.Records[0].Kind, 2);

    TUserDictionary d(Base("MyWords"));
    ASSERT_TRUE(d.Opened());
    EXPECT_EQ(d.AddWord(u"banana", Rtf("yellow")), WordResult::Done);
    EXPECT_EQ(d.AddWord(u"zebra", Rtf("striped")), WordResult::WrongLanguage);
    std::u16string words;
    d.GetLetterWords(u'B', false, words, false);
    EXPECT_EQ(words, u"banana\r\n");
}

TEST_F(NewUserDictionaryTest, AnExistingFileIsNeverReplaced)
{
    const std::string path = Base("Old.UDD");
    WriteFile(path, "keep me");
    EXPECT_THROW(WriteNewFile(path, "new"), EFileExists);
    EXPECT_EQ(ReadFile(path), "keep me");
    fs::create_symlink(Base("nowhere"), Base("Link.UDD"));
    EXPECT_THROW(WriteNewFile(Base("Link.UDD"), "new"), EFileExists);
    EXPECT_FALSE(fs::exists(Base("nowhere")));
    EXPECT_EQ(FilesIn(dir), 2u);
}

TEST_F(NewUserDictionaryTest, AFailedWriteLeavesNothing)
{
    // A file-size limit makes the write stop half way, as a full disk would.
    const std::string path = Base("Big.UDD");
    const int code = TestFiles::RunUnderFileSizeLimit(100, [&] {
        try {
            WriteNewFile(path, std::string(5000, 'x'));
        } catch (const std::system_error&) {
            return 0;
        }
        return 1;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(FilesIn(dir), 0u);
}

TEST_F(NewUserDictionaryTest, AMissingFolderIsAnError)
{
    EXPECT_THROW(WriteNewFile(Base("no/such/folder.UDD"), "x"), std::system_error);
    EXPECT_EQ(FilesIn(dir), 0u);
}

}  // namespace
