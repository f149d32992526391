// The user's words of a maker's dictionary (".TDE"): adding, deleting, editing, result codes.
#include "DictionaryTestFiles.h"

#include "engine/Dictionary.h"
#include "engine/WideStringList.h"

using namespace DictionaryTest;
using namespace Dictionary;

namespace {

class UserWords : public TScratch {
protected:
    void SetUp() override
    {
        TScratch::SetUp();
        WriteSmallMaker(Base("EngDeu") + ".TDD");
        dict = std::make_unique<TTavorDictionary>(Base("EngDeu"));
        ASSERT_TRUE(dict->Opened());
        tde = Base("EngDeu") + ".TDE";
    }

    std::vector<std::u16string> UserLetter(char16_t l)
    {
        std::u16string words;
        dict->GetLetterWords(l, false, words, true);
        return SplitLines(words);
    }
    std::string UserArticle(char16_t l, int i)
    {
        UserLetter(l);
        std::string a;
        dict->GetArticle(i, true, a, true, false);
        return a;
    }

    std::unique_ptr<TTavorDictionary> dict;
    std::string tde;
};

TEST_F(UserWords, FirstWordCreatesTheFile)
{
    EXPECT_FALSE(fs::exists(tde));
    EXPECT_EQ(dict->AddWord(u"cab", "taxi"), 0);
    const std::string bytes = ReadFile(tde);
    ASSERT_GT(bytes.size(), 1224u);
    const TAreaOffsets head = DecodeAreaOffsets(bytes);
    EXPECT_EQ(head.H0, 1224);
    const TSectionTable table = DecodeSectionTable(std::string_view(bytes).substr(24));
    EXPECT_EQ(table[0], (TSectionEntry{u'C', 1224, 10, 0, 1, 0}));
    EXPECT_EQ(table[1], FreeWordsEntry());
    EXPECT_EQ(head.H2, 1234);
    EXPECT_EQ(bytes.substr(1234, 4), "taxi");
    EXPECT_EQ(head.H1, 1238);
    EXPECT_EQ(bytes.size(), 1238u + 16u);  // one index record
    EXPECT_EQ(GetInt64(bytes.data() + 1238), 1234);
    EXPECT_EQ(GetInt64(bytes.data() + 1246), 4);

    EXPECT_EQ(UserLetter(u'c'), std::vector<std::u16string>{u"cab"});
    EXPECT_EQ(dict->UserSection, 0);
    EXPECT_EQ(UserArticle(u'c', 0), "taxi");
    EXPECT_FALSE(fs::exists(Base("EngDeuTemp.TDE")));
    // The maker's file is never written.
    EXPECT_EQ(dict->AbsoluteWordIndex(0), 0);
}

TEST_F(UserWords, TrimmedWordsAndTheResultCodes)
{
    EXPECT_EQ(dict->AddWord(u"ant  ", "Ameise"), 0);
    EXPECT_EQ(UserLetter(u'a'), std::vector<std::u16string>{u"ant"});
    EXPECT_EQ(dict->AddWord(u"ant", "again"), 9);
    EXPECT_EQ(dict->AddWord(u"ANT\t", "case"), 9);
    EXPECT_EQ(dict->AddWord(u" bee", "lead space"), 10);  // a leading space finds no section
    EXPECT_EQ(dict->AddWord(u"zebra", "Zebra"), 10);
    EXPECT_EQ(dict->AddWord(u"", "empty"), 4);
    EXPECT_EQ(dict->AddWord(u"a\r\nb", "two lines"), 4);
    EXPECT_EQ(UserLetter(u'a'), std::vector<std::u16string>{u"ant"});
    EXPECT_EQ(UserArticle(u'a', 0), "Ameise");
}

TEST_F(UserWords, WordsInSeveralSectionsKeepTheirArticles)
{
    ASSERT_EQ(dict->AddWord(u"cab", "c1"), 0);
    ASSERT_EQ(dict->AddWord(u"ant", "a1"), 0);
    ASSERT_EQ(dict->AddWord(u"cub", "c2"), 0);  // grows the first section: later ones move
    ASSERT_EQ(dict->AddWord(u"bee", "b1"), 0);
    ASSERT_EQ(dict->AddWord(u"arc", "a2"), 0);
    EXPECT_EQ(UserLetter(u'c'), (std::vector<std::u16string>{u"cab", u"cub"}));  // order added
    EXPECT_EQ(UserLetter(u'a'), (std::vector<std::u16string>{u"ant", u"arc"}));
    EXPECT_EQ(dict->UserSection, 1);
    EXPECT_EQ(UserArticle(u'c', 1), "c2");
    EXPECT_EQ(UserArticle(u'a', 1), "a2");
    EXPECT_EQ(UserArticle(u'b', 0), "b1");
    EXPECT_EQ(UserArticle(u'a', 2), "");
}

TEST_F(UserWords, DeleteFreesSectionsAndTheLastWordRemovesTheFile)
{
    ASSERT_EQ(dict->AddWord(u"cab", "c1"), 0);
    ASSERT_EQ(dict->AddWord(u"ant", "a1"), 0);
    ASSERT_EQ(dict->AddWord(u"bee", "b1"), 0);
    UserLetter(u'c');
    EXPECT_EQ(dict->DeleteWord(0), 0);  // the only word of section 0: A and B move up
    const std::string bytes = ReadFile(tde);
    const TSectionTable table = DecodeSectionTable(std::string_view(bytes).substr(24));
    EXPECT_EQ(table[0].Letter, u'A');
    EXPECT_EQ(table[0].FirstWordIndex, 0);
    EXPECT_EQ(table[1].Letter, u'B');
    EXPECT_EQ(table[1].FirstWordIndex, 1);
    EXPECT_EQ(table[2], FreeWordsEntry());
    EXPECT_EQ(UserArticle(u'a', 0), "a1");
    EXPECT_EQ(UserArticle(u'b', 0), "b1");
    EXPECT_TRUE(UserLetter(u'c').empty());

    UserLetter(u'b');
    EXPECT_EQ(dict->DeleteWord(3), 4);  // no such word
    EXPECT_EQ(dict->DeleteWord(0), 0);
    UserLetter(u'a');
    EXPECT_EQ(dict->DeleteWord(0), 0);
    EXPECT_FALSE(fs::exists(tde));
    EXPECT_FALSE(fs::exists(Base("EngDeuTemp.TDE")));
    EXPECT_EQ(dict->DeleteWord(0), 4);  // no user-words file
    EXPECT_EQ(dict->EditWord(0, "x"), 4);
}

TEST_F(UserWords, EditingToLongerAndShorterArticles)
{
    ASSERT_EQ(dict->AddWord(u"cab", "c1"), 0);
    ASSERT_EQ(dict->AddWord(u"cub", "c2"), 0);
    ASSERT_EQ(dict->AddWord(u"ant", "a1"), 0);
    UserLetter(u'c');
    EXPECT_EQ(dict->EditWord(0, std::string(5000, 'L')), 0);
    EXPECT_EQ(UserArticle(u'c', 0), std::string(5000, 'L'));
    EXPECT_EQ(UserArticle(u'c', 1), "c2");
    EXPECT_EQ(UserArticle(u'a', 0), "a1");
    UserLetter(u'c');
    EXPECT_EQ(dict->EditWord(0, ""), 0);
    EXPECT_EQ(dict->EditWord(1, "second"), 0);
    EXPECT_EQ(UserArticle(u'c', 0), "");
    EXPECT_EQ(UserArticle(u'c', 1), "second");
    EXPECT_EQ(UserArticle(u'a', 0), "a1");
    UserLetter(u'c');
    EXPECT_EQ(dict->EditWord(0, "back"), 0);  // an empty article shares its offset: no mix-up
    EXPECT_EQ(UserArticle(u'c', 0), "back");
    EXPECT_EQ(UserArticle(u'c', 1), "second");
    EXPECT_EQ(dict->EditWord(7, "x"), 4);
}

TEST_F(UserWords, AnEmpty1224ByteFileIsValid)
{
    TSectionTable table;
    table.fill(FreeWordsEntry());
    WriteFile(tde, EncodeAreaOffsets({24, 24, 24}) + EncodeSectionTable(table));
    ASSERT_EQ(fs::file_size(tde), 1224u);
    EXPECT_TRUE(UserLetter(u'a').empty());
    EXPECT_EQ(UserArticle(u'a', 0), "");
    EXPECT_EQ(dict->AddWord(u"ant", "a1"), 0);
    EXPECT_EQ(UserArticle(u'a', 0), "a1");
}

TEST_F(UserWords, FortyEightSectionsAreTheLimit)
{
    // A dictionary whose letters are 48 symbols.
    TddWriter::TTddWriter w;
    for (int i = 0; i < 48; ++i)
        w.AddWord(w.AddSection(static_cast<char16_t>(0x4E00 + i)), std::u16string(1, static_cast<char16_t>(0x4E00 + i)),
                  "x");
    w.Write(Base("Big") + ".TDD");
    TTavorDictionary big(Base("Big"));
    ASSERT_TRUE(big.Opened());
    for (int i = 0; i < 48; ++i)
        ASSERT_EQ(big.AddWord(std::u16string(1, static_cast<char16_t>(0x4E00 + i)) + u"x", "y"), 0) << i;
    const std::string before = ReadFile(Base("Big") + ".TDE");
    EXPECT_EQ(big.AddWord(u"\u4E00y", "z"), 0);  // an existing section still takes words
    const std::string after = ReadFile(Base("Big") + ".TDE");
    // A letter of the dictionary (CHARS-free: the first 48 only) without a free section: 1.
    TddWriter::TTddWriter w2;
    for (int i = 0; i < 47; ++i)
        w2.AddWord(w2.AddSection(static_cast<char16_t>(0x4E00 + i)), u"\u4E00", "x");
    TDescriptionData desc;
    desc.LetterGroups.resize(47);
    for (int i = 0; i < 47; ++i)
        desc.LetterGroups[i] = std::u16string(1, static_cast<char16_t>(0x4E00 + i));
    desc.LetterGroups[0] += u"\u4F00";  // a 49th letter filed with the first
    w2.SetDescription(desc);
    w2.Write(Base("Big") + ".TDD");
    TTavorDictionary grouped(Base("Big"));
    ASSERT_TRUE(grouped.Opened());
    EXPECT_EQ(grouped.AddWord(u"\u4F00a", "z"), 1);
    EXPECT_EQ(ReadFile(Base("Big") + ".TDE"), after);
    EXPECT_NE(before, after);
}

TEST_F(UserWords, SaveUserWordsCopiesTheFile)
{
    EXPECT_ANY_THROW(dict->SaveUserWords(Base("export.TDE")));
    EXPECT_FALSE(fs::exists(Base("export.TDE")));
    ASSERT_EQ(dict->AddWord(u"ant", "a1"), 0);
    dict->SaveUserWords(Base("export.TDE"));
    EXPECT_EQ(ReadFile(Base("export.TDE")), ReadFile(tde));
}

TEST_F(UserWords, ADamagedFileIsNotRewritten)
{
    ASSERT_EQ(dict->AddWord(u"ant", "a1"), 0);
    std::string bytes = ReadFile(tde);
    SetInt32(bytes.data() + 24 + 16, 5);  // word count 5 for a list of one word
    WriteFile(tde, bytes);
    UserLetter(u'a');
    EXPECT_EQ(dict->AddWord(u"arc", "a2"), 4);
    EXPECT_EQ(dict->EditWord(0, "x"), 4);
    EXPECT_EQ(dict->DeleteWord(0), 4);
    EXPECT_EQ(ReadFile(tde), bytes);
}

}  // namespace
