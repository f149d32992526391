// User dictionaries (".UDD"): a new file from the wizard, sorted adding, deleting, editing,
// result codes, and failures part-way through a rewrite.
#include "DictionaryTestFiles.h"

#include "engine/Dictionary.h"
#include "engine/WideStringList.h"
#include "tests/support/FileSizeLimit.h"

#include <functional>

using namespace DictionaryTest;
using namespace Dictionary;

namespace {

class UserDictionary : public TScratch {
protected:
    void SetUp() override
    {
        TScratch::SetUp();
        path = Base("MyWords") + ".UDD";
        WriteFile(path, NewUserDictionary(u"ABC", WizardInfo(), u"A,B,C,\r\nD,E,\r\n"));
        dict = std::make_unique<TUserDictionary>(Base("MyWords"));
        ASSERT_TRUE(dict->Opened());
    }

    std::vector<std::u16string> Letter(char16_t l)
    {
        std::u16string words;
        dict->GetLetterWords(l, false, words, false);
        return SplitLines(words);
    }
    std::string Article(char16_t l, int i)
    {
        Letter(l);
        std::string a;
        dict->GetArticle(i, true, a, false, false);
        return a;
    }

    std::string path;
    std::unique_ptr<TUserDictionary> dict;
};

TEST_F(UserDictionary, FreshFromTheWizard)
{
    EXPECT_EQ(dict->Family, 2);
    EXPECT_TRUE(dict->OffsetTable.empty());
    for (char16_t l : {u'a', u'b', u'c'}) {
        EXPECT_TRUE(Letter(l).empty());
        EXPECT_EQ(dict->CurrentLetter, UpCaseLetter(l));
    }
    EXPECT_EQ(dict->CurrentSection, 0);
    std::string article = "x";
    dict->GetArticle(0, true, article, false, true);
    EXPECT_EQ(article, "");
    std::string info;
    dict->ReadInfoBlock(info);
    EXPECT_EQ(info, WizardInfo());
    EXPECT_EQ(dict->GetDictionaryKind(), 5);  // entry 45 is an empty letter entry
    EXPECT_EQ(dict->AlphabetText, u"");
    std::u16string description;
    dict->GetDescription(description);
    EXPECT_EQ(description, u"A,B,C,\r\nD,E,\r\n");
    EXPECT_EQ(dict->SectionOfWordIndex(0), -1);
    std::u16string words = u"x";
    dict->GetLetterWords(u'#', false, words, false);  // free entries are no letters
    EXPECT_EQ(words, u"");
}

TEST_F(UserDictionary, AddingKeepsSectionsSortedAndIndexInWordOrder)
{
    EXPECT_EQ(dict->AddWord(u"cherry", "Kirsche"), 0);
    EXPECT_EQ(dict->AddWord(u"apple", "Apfel"), 0);
    EXPECT_EQ(dict->AddWord(u"Avocado ", "Avocado"), 0);
    EXPECT_EQ(dict->AddWord(u"banana", "Banane"), 0);
    EXPECT_EQ(dict->AddWord(u"almond", "Mandel"), 0);
    EXPECT_EQ(Letter(u'a'), (std::vector<std::u16string>{u"almond", u"apple", u"Avocado"}));
    EXPECT_EQ(Article(u'a', 0), "Mandel");
    EXPECT_EQ(Article(u'a', 2), "Avocado");
    EXPECT_EQ(Article(u'b', 0), "Banane");
    EXPECT_EQ(Article(u'c', 0), "Kirsche");
    EXPECT_EQ(dict->CurrentSection, 2);
    EXPECT_EQ(dict->AbsoluteWordIndex(0), 4);
    std::string a;
    dict->GetArticle(3, true, a, false, true);
    EXPECT_EQ(a, "Banane");
    EXPECT_EQ(dict->SectionOfWordIndex(3), 1);

    // The index is in absolute word order and the records point at compressed articles.
    const std::string bytes = ReadFile(path);
    const TAreaOffsets head = DecodeAreaOffsets(std::string_view(bytes).substr(5));
    EXPECT_EQ(head.H0, 1229);
    const auto records = DecodeIndexRecords(std::string_view(bytes).substr(head.H1));
    ASSERT_EQ(records.size(), 5u);
    const char* order[] = {"Mandel", "Apfel", "Avocado", "Banane", "Kirsche"};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(DecompressText(bytes.substr(records[k].Offset, records[k].Length)), order[k]);
    std::string info;
    dict->ReadInfoBlock(info);
    EXPECT_EQ(info, WizardInfo());
    EXPECT_FALSE(fs::exists(path + "TEMP"));
}

TEST_F(UserDictionary, ResultCodes)
{
    ASSERT_EQ(dict->AddWord(u"apple", "Apfel"), 0);
    const std::string before = ReadFile(path);
    EXPECT_EQ(dict->AddWord(u"apple", "again"), 9);
    EXPECT_EQ(dict->AddWord(u"APPLE", "case"), 9);
    EXPECT_EQ(dict->AddWord(u"  apple", "space"), 10);
    EXPECT_EQ(dict->AddWord(u"zebra", "Zebra"), 10);
    EXPECT_EQ(dict->AddWord(u"#tag", "free entry"), 10);
    EXPECT_EQ(dict->AddWord(u"", "empty"), 4);
    Letter(u'a');
    EXPECT_EQ(dict->DeleteWord(1), 4);
    EXPECT_EQ(dict->DeleteWord(-1), 4);
    EXPECT_EQ(dict->EditWord(5, "x"), 4);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(Article(u'a', 0), "Apfel");
}

TEST_F(UserDictionary, DeleteAndEditKeepEveryOtherArticle)
{
    for (auto [w, a] : std::vector<std::pair<std::u16string, std::string>>{
             {u"apple", "A1"}, {u"arc", "A2"}, {u"ash", "A3"}, {u"bee", "B1"}, {u"cow", "C1"}})
        ASSERT_EQ(dict->AddWord(w, a), 0);
    Letter(u'a');
    EXPECT_EQ(dict->EditWord(1, std::string(3000, 'x') + "long"), 0);
    EXPECT_EQ(Article(u'a', 1), std::string(3000, 'x') + "long");
    EXPECT_EQ(Article(u'a', 2), "A3");
    EXPECT_EQ(Article(u'c', 0), "C1");
    Letter(u'a');
    EXPECT_EQ(dict->EditWord(1, ""), 0);
    EXPECT_EQ(Article(u'a', 1), "");
    EXPECT_EQ(Article(u'b', 0), "B1");

    Letter(u'a');
    EXPECT_EQ(dict->DeleteWord(0), 0);
    EXPECT_EQ(Letter(u'a'), (std::vector<std::u16string>{u"arc", u"ash"}));
    EXPECT_EQ(Article(u'a', 1), "A3");
    EXPECT_EQ(Article(u'b', 0), "B1");
    EXPECT_EQ(Article(u'c', 0), "C1");
    Letter(u'b');
    EXPECT_EQ(dict->DeleteWord(0), 0);
    EXPECT_TRUE(Letter(u'b').empty());  // the section stays, empty
    EXPECT_EQ(Article(u'c', 0), "C1");
    std::string out;
    dict->ReadInfoBlock(out);
    EXPECT_EQ(out, WizardInfo());

    dict->SaveUserWords(Base("export.UDD"));
    EXPECT_EQ(ReadFile(Base("export.UDD")), ReadFile(path));
}

TEST_F(UserDictionary, AFailedWriteLeavesTheOldFileAndAConsistentObject)
{
    for (auto [w, a] : std::vector<std::pair<std::u16string, std::string>>{
             {u"apple", std::string(800, 'a')}, {u"bee", std::string(800, 'b')}, {u"cow", "C1"}})
        ASSERT_EQ(dict->AddWord(w, a), 0);
    const std::string before = ReadFile(path);
    const rlim_t limit = 1300;  // past the table, short of the new file
    int code = TestFiles::RunUnderFileSizeLimit(limit, [&] { return dict->AddWord(u"ash", "A2"); });
    EXPECT_TRUE(code == 2 || code == 3) << code;
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_FALSE(fs::exists(path + "TEMP"));
    code = TestFiles::RunUnderFileSizeLimit(limit, [&] {
        Letter(u'b');
        return dict->EditWord(0, std::string(5000, 'z'));
    });
    EXPECT_TRUE(code == 2 || code == 3) << code;
    code = TestFiles::RunUnderFileSizeLimit(limit, [&] {
        Letter(u'a');
        return dict->DeleteWord(0);
    });
    EXPECT_TRUE(code == 2 || code == 3) << code;
    EXPECT_EQ(ReadFile(path), before);

    // In this process: a failed add (the word exists) and the object still reads the file.
    EXPECT_EQ(dict->AddWord(u"cow", "x"), 9);
    EXPECT_EQ(Article(u'b', 0), std::string(800, 'b'));
    EXPECT_EQ(Article(u'c', 0), "C1");
}

TEST_F(UserDictionary, AFailedWriteOfTheUserWordsFile)
{
    WriteSmallMaker(Base("EngDeu") + ".TDD");
    TTavorDictionary maker(Base("EngDeu"));
    ASSERT_EQ(maker.AddWord(u"ant", std::string(2000, 'a')), 0);
    const std::string tde = Base("EngDeu") + ".TDE";
    const std::string before = ReadFile(tde);
    for (auto op : std::vector<std::function<int()>>{[&] { return maker.AddWord(u"bee", "b"); },
                                                     [&] {
                                                         std::u16string w;
                                                         maker.GetLetterWords(u'a', false, w, true);
                                                         return maker.EditWord(0, std::string(4000, 'e'));
                                                     }}) {
        const int code = TestFiles::RunUnderFileSizeLimit(1500, op);
        EXPECT_TRUE(code == 2 || code == 3) << code;
    }
    EXPECT_FALSE(fs::exists(Base("EngDeuTemp.TDE")));
    EXPECT_EQ(ReadFile(tde), before);
}

TEST_F(UserDictionary, DamagedFilesNeverCrash)
{
    for (auto [w, a] : std::vector<std::pair<std::u16string, std::string>>{{u"apple", "A1"}, {u"bee", "B1"}})
        ASSERT_EQ(dict->AddWord(w, a), 0);
    const std::string good = ReadFile(path);
    for (std::size_t n = 0; n <= good.size(); n += (n < 40 || n > 1220 ? 1 : 9)) {
        WriteFile(Base("bad") + ".UDD", good.substr(0, n));
        TUserDictionary d(Base("bad"));
        std::u16string words;
        std::string article;
        for (char16_t l : {u'a', u'b', u'c'}) {
            d.GetLetterWords(l, false, words, false);
            d.GetArticle(0, true, article, false, false);
        }
        d.GetDictionaryKind();
        const AddWordResult r = d.AddWord(u"cat", "C");
        EXPECT_TRUE(r == 0 || r == 4 || r == 10) << n << " " << r;
        if (n < good.size() && r != 0) {
            EXPECT_EQ(ReadFile(Base("bad") + ".UDD"), good.substr(0, n));
        }
    }
}

}  // namespace
