// Reading maker's dictionaries made by the writer: letters, articles, CHARS and PRECHARS,
// information block, edition, and damaged files.
#include "DictionaryTestFiles.h"

#include "engine/Dictionary.h"
#include "engine/WideStringList.h"

using namespace DictionaryTest;
using namespace Dictionary;

namespace {

using TavorDictionary = TScratch;

TEST_F(TavorDictionary, RoundTripOfEveryLetterAndArticle)
{
    WriteSmallMaker(Base("EngDeu") + ".TDD");
    TTavorDictionary d(Base("EngDeu"));
    ASSERT_TRUE(d.Opened());
    EXPECT_EQ(d.Family, 0);
    EXPECT_EQ(d.H0, 24);
    EXPECT_EQ(d.OffsetTable.size(), 5u * 4);

    std::u16string words;
    d.GetLetterWords(u'c', false, words, false);
    EXPECT_EQ(SplitLines(words), (std::vector<std::u16string>{u"cat", u"cow"}));
    EXPECT_EQ(d.CurrentSection, 2);
    EXPECT_EQ(d.CurrentLetter, u'C');
    EXPECT_EQ(d.AbsoluteWordIndex(1), 4);

    std::string article;
    d.GetArticle(1, true, article, false, false);
    EXPECT_EQ(article, Rtf("Kuh"));
    d.GetArticle(1, true, article, false, true);  // absolute: ignores the current section
    EXPECT_EQ(article, Rtf("Axt"));
    d.GetArticle(1, false, article, false, true);
    EXPECT_EQ(DecompressText(article), Rtf("Axt"));
    d.GetArticle(5, true, article, false, true);  // past the last word
    EXPECT_EQ(article, "");
    d.GetArticle(-1, true, article, false, true);
    EXPECT_EQ(article, "");

    d.GetLetterWords(u'x', true, words, false);  // First reads section 0 whatever the letter
    EXPECT_EQ(SplitLines(words).size(), 3u);
    EXPECT_EQ(d.CurrentSection, 0);
    const char* expected[] = {"Apfel", "Axt", "azurblau"};
    for (int i = 0; i < 3; ++i) {
        d.GetArticle(i, true, article, false, false);
        EXPECT_EQ(article, Rtf(expected[i]));
    }

    EXPECT_EQ(d.SectionOfWordIndex(0), 0);
    EXPECT_EQ(d.SectionOfWordIndex(3), 2);
    EXPECT_EQ(d.SectionOfWordIndex(5), -1);
    EXPECT_EQ(d.GetDictionaryKind(), 2);

    std::string info;
    d.ReadInfoBlock(info);
    EXPECT_EQ(info, BuildInfoBlock(MakerInfo()));
    EXPECT_EQ(ParseInfoBlock(info).LanguagePair, "ENGDEU");

    EXPECT_EQ(d.AlphabetText, u"\u00C4\u00D6\u00DC");
    EXPECT_TRUE(d.IsAlphabetLetter(u"\u00E4rger"));  // upper-cased first letter
    EXPECT_FALSE(d.IsAlphabetLetter(u"apple"));
    EXPECT_FALSE(d.IsAlphabetLetter(u""));

    d.FindArticle(u"COW", article);
    EXPECT_EQ(article, Rtf("Kuh"));
    d.FindArticle(u"dog", article);
    EXPECT_EQ(article, "");
}

TEST_F(TavorDictionary, MissingAndEmptySections)
{
    WriteSmallMaker(Base("d") + ".TDD");
    TTavorDictionary d(Base("d"));
    std::u16string words = u"stale";
    d.GetLetterWords(u'c', false, words, false);
    ASSERT_EQ(d.CurrentSection, 2);

    d.GetLetterWords(u'q', false, words, false);  // no section carries Q
    EXPECT_EQ(words, u"");
    EXPECT_EQ(d.CurrentSection, 2);

    d.GetLetterWords(u'#', false, words, false);  // only entries 48 and 49 carry "#"
    EXPECT_EQ(words, u"");
    EXPECT_EQ(d.CurrentSection, 2);

    d.GetLetterWords(u'b', false, words, false);  // a section of length 0
    EXPECT_EQ(words, u"");
    EXPECT_EQ(d.CurrentSection, 2);
    EXPECT_EQ(d.CurrentLetter, u'B');
}

// A letter block is read into the memory of the string it is given: a shorter block after a
// longer one ends where its own data ends, and an odd last byte is no part of the text.
TEST_F(TavorDictionary, ABlockReadIntoTheRoomOfALongerOneIsExactlyItself)
{
    WriteSmallMaker(Base("d") + ".TDD");
    std::string bytes = ReadFile(Base("d") + ".TDD");
    const std::size_t lengthAt = 29 + 24 * 2 + 8;  // entry 2 (C): the byte length of its words
    const std::int32_t length = GetInt32(bytes.data() + lengthAt);
    SetInt32(bytes.data() + lengthAt, length - 1);
    WriteFile(Base("odd") + ".TDD", bytes);

    TTavorDictionary d(Base("d"));
    std::u16string words(4096, u'#');
    d.GetLetterWords(u'a', false, words, false);
    EXPECT_EQ(words, u"apple\r\naxe\r\nazure\r\n");
    d.GetLetterWords(u'c', false, words, false);
    EXPECT_EQ(words, u"cat\r\ncow\r\n");

    TTavorDictionary odd(Base("odd"));
    odd.GetLetterWords(u'a', false, words, false);
    odd.GetLetterWords(u'c', false, words, false);
    EXPECT_EQ(words, u"cat\r\ncow\r");
}

TEST_F(TavorDictionary, MissingFileGivesEmptyReads)
{
    TTavorDictionary d(Base("absent"));
    EXPECT_FALSE(d.Opened());
    EXPECT_FALSE(d.Open(Base("absent")));
    std::u16string words = u"x";
    d.GetLetterWords(u'a', false, words, false);
    EXPECT_EQ(words, u"");
    std::string article = "x";
    d.GetArticle(0, true, article, false, true);
    EXPECT_EQ(article, "");
    EXPECT_EQ(d.GetDictionaryKind(), 5);
    std::string info;
    EXPECT_ANY_THROW(d.ReadInfoBlock(info));

    // Open with a missing base name while the current file exists: no file stays open.
    WriteSmallMaker(Base("here") + ".TDD");
    TTavorDictionary here(Base("here"));
    ASSERT_TRUE(here.Opened());
    EXPECT_FALSE(here.Open(Base("gone")));
    EXPECT_EQ(here.FileStream, nullptr);
    here.GetLetterWords(u'a', false, words, false);
    EXPECT_EQ(words, u"");
    EXPECT_TRUE(here.Open(Base("here")));
    here.GetLetterWords(u'a', false, words, false);
    EXPECT_EQ(words, u"apple\r\naxe\r\nazure\r\n");
}

TEST_F(TavorDictionary, EditionRules)
{
    for (auto [text, edition] : std::vector<std::pair<std::u16string, int>>{
             {u"0", 0}, {u"4", 4}, {u"7", 0}, {u"-3", 0}, {u"Pro", 5}, {u"", 5}, {u"99999999999", 5}}) {
        TddWriter::TTddWriter w;
        w.SetEditionText(text);
        w.AddWord(w.AddSection(u'A'), u"a", "x");
        w.Write(Base("e") + ".TDD");
        TTavorDictionary d(Base("e"));
        ASSERT_TRUE(d.Opened());
        EXPECT_EQ(d.GetDictionaryKind(), edition) << std::string(text.begin(), text.end());
    }
}

TEST_F(TavorDictionary, LetterGroupsAndSubstitutions)
{
    TddWriter::TTddWriter w;
    int a = w.AddSection(u'A');
    w.AddWord(a, u"Apfel", "apple");
    w.AddWord(a, u"\u00C4rger", "anger");
    int o = w.AddSection(u'O');
    w.AddWord(o, u"Ofen", "oven");
    int s = w.AddSection(u'S');
    w.AddWord(s, u"See", "lake");
    int rest = w.AddSection(u'#');
    w.AddWord(rest, u"4x4", "four by four");
    TDescriptionData desc;
    desc.LetterLinks = u"A,O,S,";
    desc.CharacterLinks = u"";
    desc.LetterGroups = {u"A\u00C4", u"O\u00D6", u"S"};
    desc.Prechars = {{u"\u00DF", u'S'}, {u"\u0160", u'S'}};
    w.SetDescription(desc);
    w.Write(Base("g") + ".TDD");

    TTavorDictionary d(Base("g"));
    ASSERT_TRUE(d.Opened());
    EXPECT_EQ(d.LetterGroupCount, 2);
    ASSERT_EQ(d.LetterGroups.size(), 3u);
    EXPECT_TRUE(d.HasPrechars);
    EXPECT_EQ(d.AlphabetText, u"");  // line 3 is empty, the name=value lines follow it
    std::u16string words;
    d.GetLetterWords(u'\u00E4', false, words, false);  // ä files under A
    EXPECT_EQ(d.CurrentSection, 0);
    EXPECT_EQ(d.CurrentLetter, u'A');
    d.GetLetterWords(u'\u00F6', false, words, false);
    EXPECT_EQ(SplitLines(words), std::vector<std::u16string>{u"Ofen"});
    d.GetLetterWords(u'\u00DF', false, words, false);  // ß is replaced by S
    EXPECT_EQ(SplitLines(words), std::vector<std::u16string>{u"See"});
    EXPECT_EQ(d.CurrentLetter, u'S');
    d.GetLetterWords(u'\u0160', false, words, false);  // the second substitution counts too
    EXPECT_EQ(d.CurrentSection, 2);
    d.GetLetterWords(u'4', false, words, false);  // no group: the section after the last one
    EXPECT_EQ(SplitLines(words), std::vector<std::u16string>{u"4x4"});
    EXPECT_EQ(d.CurrentLetter, u'#');
}

TEST_F(TavorDictionary, SubstitutionWithoutGroups)
{
    TddWriter::TTddWriter w;
    w.AddWord(w.AddSection(u'E'), u"Ecole", "school");
    w.AddWord(w.AddSection(u'F'), u"fin", "end");
    TDescriptionData desc;
    desc.Prechars = {{u"\u00C9", u'E'}};
    w.SetDescription(desc);
    w.Write(Base("p") + ".TDD");
    TTavorDictionary d(Base("p"));
    ASSERT_TRUE(d.Opened());
    std::u16string words;
    d.GetLetterWords(u'\u00C9', false, words, false);
    EXPECT_EQ(SplitLines(words), std::vector<std::u16string>{u"Ecole"});
    EXPECT_EQ(d.CurrentLetter, u'E');
    d.GetLetterWords(u'f', false, words, false);  // no substitution: the section's letter
    EXPECT_EQ(d.CurrentLetter, u'F');
}

TEST_F(TavorDictionary, BadDescriptionNumbersRefuseTheFile)
{
    for (const char16_t* line : {u"CHARS=x", u"PRECHARS=1.5", u"CHARS=48"}) {
        TddWriter::TTddWriter w;
        w.AddWord(w.AddSection(u'A'), u"a", "x");
        TDescriptionData desc;
        desc.ReverseLetters = std::u16string(u"\r\n") + line;  // line 4
        w.SetDescription(desc);
        w.Write(Base("bad") + ".TDD");
        TTavorDictionary d(Base("bad"));
        EXPECT_FALSE(d.Opened());
        std::u16string words = u"x";
        d.GetLetterWords(u'a', false, words, false);
        EXPECT_EQ(words, u"");
    }
}

TEST_F(TavorDictionary, KindsAndFactory)
{
    EXPECT_EQ(DictKindFromInt(1), TDictionaryKind::TavorGeneral);
    EXPECT_EQ(DictKindFromInt(7), TDictionaryKind::Unknown);
    EXPECT_EQ(DictKindFromInt(-1), TDictionaryKind::Unknown);
    EXPECT_EQ(DictKindFromByte(0x83), TDictionaryKind::General);
    EXPECT_EQ(DictKindFromByte(0x04), TDictionaryKind::Unknown);

    WriteSmallMaker(Base("k") + ".TDD");
    auto general = CreateDictionary(TDictionaryKind::TavorGeneral, Base("k"));
    EXPECT_NE(dynamic_cast<TTavorDictionary*>(general.get()), nullptr);
    EXPECT_TRUE(general->Opened());
    EXPECT_EQ(general->KindOfClass(), 0);
    auto user = CreateDictionary(TDictionaryKind::General, Base("k"));
    EXPECT_EQ(user->KindOfClass(), 2);
    EXPECT_FALSE(user->Opened());  // no k.UDD

    auto unknown = CreateDictionary(TDictionaryKind::Unknown, Base("k"));
    EXPECT_EQ(unknown->KindOfClass(), 0);
    EXPECT_EQ(unknown->AbsoluteWordIndex(3), -1);
    EXPECT_EQ(unknown->AddWord(u"a", "b"), 4);
    EXPECT_EQ(unknown->DeleteWord(0), 4);
    EXPECT_EQ(unknown->EditWord(0, "b"), 4);
    std::u16string words = u"x";
    unknown->GetLetterWords(u'a', true, words, false);
    EXPECT_EQ(words, u"");
}

// Every truncation and many single-byte corruptions of a small file: no crash, no read
// outside the file (the sanitized build checks that), and an opened file reads safely.
TEST_F(TavorDictionary, DamagedFilesNeverCrash)
{
    WriteSmallMaker(Base("src") + ".TDD");
    const std::string good = ReadFile(Base("src") + ".TDD");
    auto exercise = [&](const std::string& bytes) {
        WriteFile(Base("bad") + ".TDD", bytes);
        TTavorDictionary d(Base("bad"));
        std::u16string words;
        std::string article;
        for (char16_t l : {u'a', u'b', u'c', u'z'}) {
            d.GetLetterWords(l, false, words, false);
            for (int i = 0; i < 6; ++i)
                d.GetArticle(i, true, article, false, false);
        }
        for (int i = -1; i < 8; ++i)
            d.GetArticle(i, true, article, false, true);
        d.GetDictionaryKind();
        d.FindArticle(u"cat", article);
        std::string info;
        try {
            d.ReadInfoBlock(info);
        } catch (const std::exception&) {
        }
        return d.Opened();
    };
    for (std::size_t n = 0; n < good.size(); n += (n < 40 || n > 1220 ? 1 : 5))
        exercise(good.substr(0, n));
    // The head and the fields of the entries in use (0..2, 45, 48, 49).
    std::vector<std::size_t> places;
    for (std::size_t at = 0; at < 29; ++at)
        places.push_back(at);
    for (std::size_t entry : {0, 1, 2, 45, 48, 49})
        for (std::size_t field : {0, 4, 7, 8, 11, 12, 15, 16, 19, 20})
            places.push_back(29 + 24 * entry + field);
    for (std::size_t at : places)
        for (unsigned char v : {0x00, 0x7F, 0x80, 0xFF}) {
            std::string bad = good;
            bad[at] = static_cast<char>(v);
            exercise(bad);
        }
    EXPECT_TRUE(exercise(good));
}

TEST_F(TavorDictionary, DescriptionOfTwoLinesHasNoReverseLetters)
{
    TddWriter::TTddWriter w;
    w.AddWord(w.AddSection(u'A'), u"a", "x");
    TDescriptionData desc;
    desc.LetterLinks = u"A,";
    desc.CharacterLinks = u"B,";
    w.SetDescription(desc);
    w.Write(Base("two") + ".TDD");
    TTavorDictionary d(Base("two"));
    std::u16string text;
    d.GetDescription(text);
    EXPECT_EQ(text, u"A,\r\nB,\r\n");
    EXPECT_EQ(d.AlphabetText, u"");
    EXPECT_FALSE(d.IsAlphabetLetter(u"A"));
}

}  // namespace
