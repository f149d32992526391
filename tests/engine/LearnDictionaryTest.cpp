#include "engine/CompressedText.h"
#include "engine/LearnDictionary.h"

#include "CatalogTestFiles.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace CatalogTest;

namespace {

std::string ArticleOf(int n, std::size_t size = 40)
{
    std::string text = "{\\rtf1 article " + std::to_string(n) + " ";
    while (text.size() < size)
        text += static_cast<char>('a' + (text.size() * 7 + n) % 26);
    return text + "}";
}

class LearnDictionaryTest : public ::testing::Test {
protected:
    LearnDictionaryTest()
        : store(scratch.Path().string())
    {
        store.SetLanguagePair("ENGGER");
    }

    std::string TempList() const { return scratch / "TempList.tmp"; }

    // A new list with words w0..w(n-1), articles ArticleOf(i), word indexes 100 + i.
    void Fill(int n)
    {
        store.NewList();
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(store.AddWord(100 + i, u"w" + std::u16string(1, char16_t(u'0' + i)), ArticleOf(i)));
    }

    // Every word still has its own article and index, in list order.
    void ExpectWords(const std::vector<int>& numbers)
    {
        ASSERT_EQ(store.Words.Count(), static_cast<int>(numbers.size()));
        ASSERT_EQ(store.Items.size(), numbers.size());
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            EXPECT_EQ(store.Words.Get(static_cast<int>(i)), u"w" + std::u16string(1, char16_t(u'0' + numbers[i])));
            EXPECT_EQ(store.GetArticle(static_cast<int>(i)), ArticleOf(numbers[i])) << i;
            EXPECT_EQ(store.GetWordIndex(static_cast<int>(i)), 100 + numbers[i]);
        }
    }

    bool NoRewriteFileLeft() const { return !fs::exists(scratch / "ins.tmp"); }

    TScratchFolder scratch;
    TLearnDictionary store;
};

// Runs Operation in a child whose files may not grow past Limit bytes: 0 when it succeeded,
// 1 when it failed.
int RunWithFileSizeLimit(rlim_t limit, const std::function<bool()>& operation)
{
    return TestFiles::RunUnderFileSizeLimit(limit, [&] { return operation() ? 0 : 1; });
}

}  // namespace

TEST_F(LearnDictionaryTest, NewListIsAnEmptyModifiedFile)
{
    EXPECT_TRUE(store.Closed);
    EXPECT_TRUE(store.IsEmpty());
    store.SetLanguagePair("EN");
    store.NewList();
    EXPECT_FALSE(store.Closed);
    EXPECT_TRUE(store.Modified);
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_FALSE(store.HasWordIndex(0));
    EXPECT_EQ(store.ListFileName, TempList());
    EXPECT_EQ(ReadBytes(TempList()), std::string("EN\0\0\0\0", 6) + std::string(32, '\0'));
    EXPECT_EQ(store.LanguagePair, "EN");
}

TEST_F(LearnDictionaryTest, FirstWordMakesTheWholeLayout)
{
    store.NewList();
    ASSERT_TRUE(store.AddWord(42, u"Haus", ArticleOf(1)));
    EXPECT_TRUE(store.Modified);  // a rewrite keeps the modification state
    EXPECT_FALSE(store.IsEmpty());

    const std::string bytes = ReadBytes(TempList());
    const std::string article = CompressText(ArticleOf(1));
    const long long wordBytes = 2 * 6;  // "Haus" CR LF
    EXPECT_EQ(bytes.substr(0, 6), "ENGGER");
    EXPECT_EQ(GetInt(bytes, 6, 8), 38);
    EXPECT_EQ(GetInt(bytes, 14, 8), wordBytes);
    EXPECT_EQ(GetInt(bytes, 22, 8), 38 + wordBytes);
    EXPECT_EQ(GetInt(bytes, 30, 8), 38 + wordBytes + static_cast<long long>(article.size()));
    EXPECT_EQ(bytes.substr(38, wordBytes), std::string("H\0a\0u\0s\0\r\0\n\0", 12));
    EXPECT_EQ(bytes.substr(38 + wordBytes, article.size()), article);
    const std::size_t item = 38 + wordBytes + article.size();
    ASSERT_EQ(bytes.size(), item + 24);
    EXPECT_EQ(GetInt(bytes, item, 4), 42);
    EXPECT_EQ(GetInt(bytes, item + 4, 4), 0);
    EXPECT_EQ(GetInt(bytes, item + 8, 8), 38 + wordBytes);
    EXPECT_EQ(GetInt(bytes, item + 16, 4), static_cast<long long>(article.size()));
    EXPECT_EQ(GetInt(bytes, item + 20, 4), 0);

    EXPECT_EQ(store.GetWordListText(), u"Haus\r\n");
    EXPECT_TRUE(store.HasWordIndex(42));
    EXPECT_FALSE(store.HasWordIndex(43));
    EXPECT_TRUE(NoRewriteFileLeft());
}

TEST_F(LearnDictionaryTest, DeletesKeepEveryOtherArticle)
{
    Fill(5);
    ExpectWords({0, 1, 2, 3, 4});
    ASSERT_TRUE(store.DeleteWord(2));
    ExpectWords({0, 1, 3, 4});
    ASSERT_TRUE(store.DeleteWord(0));
    ExpectWords({1, 3, 4});
    ASSERT_TRUE(store.DeleteWord(2));
    ExpectWords({1, 3});
    EXPECT_FALSE(store.DeleteWord(2));
    EXPECT_FALSE(store.DeleteWord(-1));
    ASSERT_TRUE(store.AddWord(109, u"w9", ArticleOf(9)));
    ExpectWords({1, 3, 9});
}

TEST_F(LearnDictionaryTest, DeletingTheOnlyWordLeavesAnEmptyWordList)
{
    Fill(1);
    ASSERT_TRUE(store.DeleteWord(0));
    const std::string bytes = ReadBytes(TempList());
    ASSERT_EQ(bytes.size(), 38u);
    EXPECT_EQ(GetInt(bytes, 6, 8), 38);
    EXPECT_EQ(GetInt(bytes, 14, 8), 0);
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_TRUE(store.Items.empty());
    EXPECT_EQ(store.GetArticle(0), "");
    ASSERT_TRUE(store.AddWord(7, u"again", ArticleOf(7)));
    EXPECT_EQ(store.GetArticle(0), ArticleOf(7));
}

TEST_F(LearnDictionaryTest, ReplacedArticlesKeepTheOthersReadable)
{
    Fill(4);
    const std::string longer = ArticleOf(50, 3000), shorter = "x";
    ASSERT_TRUE(store.ReplaceArticle(1, longer));
    ASSERT_TRUE(store.ReplaceArticle(3, shorter));
    ASSERT_TRUE(store.ReplaceArticle(0, shorter));
    EXPECT_EQ(store.GetArticle(0), shorter);
    EXPECT_EQ(store.GetArticle(1), longer);
    EXPECT_EQ(store.GetArticle(2), ArticleOf(2));
    EXPECT_EQ(store.GetArticle(3), shorter);
    EXPECT_EQ(store.GetWordIndex(3), 103);
    EXPECT_FALSE(store.ReplaceArticle(4, shorter));
    EXPECT_EQ(store.Words.Count(), 4);
}

TEST_F(LearnDictionaryTest, SavedListsLoadAndChangeInTheirOwnFile)
{
    Fill(3);
    const std::string saved = scratch / "mine.lst";
    ASSERT_TRUE(store.SaveToFile(saved));
    EXPECT_FALSE(store.Modified);
    EXPECT_EQ(store.ListFileName, saved);

    TLearnDictionary other(scratch.Path().string());
    other.LoadFromFile(saved);
    EXPECT_FALSE(other.Closed);
    EXPECT_FALSE(other.Modified);
    EXPECT_EQ(other.LanguagePair, "ENGGER");
    EXPECT_EQ(other.Words.GetTextStr(), u"w0\r\nw1\r\nw2\r\n");
    ASSERT_TRUE(other.DeleteWord(1));
    ASSERT_TRUE(other.ReplaceArticle(1, "new"));
    ASSERT_TRUE(other.AddWord(5, u"w5", ArticleOf(5)));
    EXPECT_FALSE(other.Modified);
    EXPECT_EQ(other.GetArticle(0), ArticleOf(0));
    EXPECT_EQ(other.GetArticle(1), "new");
    EXPECT_EQ(other.GetArticle(2), ArticleOf(5));
    EXPECT_FALSE(fs::exists(scratch / "ins.tmp"));

    // Saving in place keeps the content.
    const std::string before = ReadBytes(saved);
    ASSERT_TRUE(other.SaveToFile(saved));
    EXPECT_EQ(ReadBytes(saved), before);
    EXPECT_EQ(other.GetArticle(2), ArticleOf(5));

    // A missing file changes nothing.
    other.LoadFromFile(scratch / "missing.lst");
    EXPECT_EQ(other.ListFileName, saved);
    EXPECT_FALSE(other.Closed);
}

TEST_F(LearnDictionaryTest, AnEmptyListFileEmptiesTheStore)
{
    Fill(2);
    WriteBytes(scratch / "empty.lst", "ENGRUS" + std::string(32, '\0'));
    store.LoadFromFile(scratch / "empty.lst");
    EXPECT_EQ(store.Words.Count(), 0);
    EXPECT_TRUE(store.Items.empty());
    EXPECT_EQ(store.LanguagePair, "ENGRUS");
    ASSERT_TRUE(store.AddWord(1, u"one", ArticleOf(1)));
    EXPECT_EQ(store.Words.Count(), 1);
    EXPECT_EQ(store.GetArticle(0), ArticleOf(1));
}

TEST_F(LearnDictionaryTest, ClosedStoreRefusesRewritesAndReadsEmpty)
{
    Fill(2);
    store.Close();
    EXPECT_TRUE(store.Closed);
    EXPECT_EQ(store.Words.Count(), 2);  // the lines stay for the window
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_TRUE(store.ListFileName.empty());
    const std::string before = ReadBytes(TempList());
    EXPECT_FALSE(store.AddWord(1, u"x", "y"));
    EXPECT_FALSE(store.DeleteWord(0));
    EXPECT_FALSE(store.ReplaceArticle(0, "y"));
    EXPECT_FALSE(store.SaveToFile(scratch / "never.lst"));
    EXPECT_EQ(store.GetArticle(0), "");
    EXPECT_EQ(store.GetWordListText(), u"");
    EXPECT_EQ(store.GetWordIndex(0), -1);
    EXPECT_EQ(ReadBytes(TempList()), before);
    EXPECT_FALSE(fs::exists(scratch / "never.lst"));
    EXPECT_TRUE(NoRewriteFileLeft());

    // A new list in a folder that cannot hold it leaves the store closed.
    TLearnDictionary homeless(scratch / "missing-folder");
    homeless.NewList();
    EXPECT_TRUE(homeless.Closed);
    EXPECT_FALSE(homeless.Modified);
    EXPECT_FALSE(homeless.AddWord(1, u"x", "y"));
}

TEST_F(LearnDictionaryTest, WordsThatWouldBreakTheLineListAreRefused)
{
    Fill(1);
    const std::string before = ReadBytes(TempList());
    EXPECT_FALSE(store.AddWord(1, u"two\r\nlines", "a"));
    EXPECT_FALSE(store.AddWord(1, u"lf\nonly", "a"));
    EXPECT_FALSE(store.AddWord(1, std::u16string(u"nul\0x", 5), "a"));
    EXPECT_EQ(ReadBytes(TempList()), before);
    EXPECT_EQ(store.Words.Count(), 1);
}

TEST_F(LearnDictionaryTest, FailedRewritesKeepTheOldFile)
{
    Fill(3);
    const std::string before = ReadBytes(TempList());
    const rlim_t limit = before.size() / 2;
    EXPECT_EQ(RunWithFileSizeLimit(limit, [&] { return store.AddWord(9, u"w9", ArticleOf(9, 2000)); }), 1);
    EXPECT_EQ(RunWithFileSizeLimit(limit, [&] { return store.DeleteWord(0); }), 1);
    EXPECT_EQ(RunWithFileSizeLimit(limit, [&] { return store.ReplaceArticle(1, ArticleOf(8, 500)); }), 1);
    EXPECT_EQ(RunWithFileSizeLimit(limit, [&] { return store.SaveToFile(scratch / "copy.lst"); }), 1);
    EXPECT_EQ(ReadBytes(TempList()), before);
    EXPECT_TRUE(NoRewriteFileLeft());
    ExpectWords({0, 1, 2});
}

TEST_F(LearnDictionaryTest, DamagedListsFailToLoadAndLeaveTheStoreClosed)
{
    Fill(2);
    const std::string good = ReadBytes(TempList());
    auto expectRefused = [&](std::string bytes, const char* what) {
        WriteBytes(scratch / "bad.lst", bytes);
        TLearnDictionary other(scratch.Path().string());
        EXPECT_THROW(other.LoadFromFile(scratch / "bad.lst"), ELearnListError) << what;
        EXPECT_TRUE(other.Closed) << what;
        EXPECT_EQ(other.GetArticle(0), "") << what;
    };
    expectRefused(good.substr(0, 37), "shorter than the header");
    expectRefused("", "no bytes");
    std::string bad = good;
    PutInt(bad, 6, 10, 8);
    expectRefused(bad, "word list inside the header");
    bad = good;
    PutInt(bad, 14, 1LL << 40, 8);
    expectRefused(bad, "word list past the end");
    bad = good;
    PutInt(bad, 14, -2, 8);
    expectRefused(bad, "negative word list");
    bad = good;
    PutInt(bad, 30, static_cast<long long>(good.size()) + 24, 8);
    expectRefused(bad, "item table past the end");
    bad = good;
    PutInt(bad, 22, 4, 8);
    expectRefused(bad, "article area inside the header");
    const std::size_t items = static_cast<std::size_t>(GetInt(good, 30, 8));
    bad = good;
    PutInt(bad, items + 8, 1LL << 62, 8);
    expectRefused(bad, "article offset far out");
    bad = good;
    PutInt(bad, items + 24 + 16, 0x7fffffff, 4);
    expectRefused(bad, "article length past the end");
    bad = good;
    PutInt(bad, items + 16, -5, 4);
    expectRefused(bad, "negative article length");
    expectRefused(good.substr(0, good.size() - 24), "one item missing");

    // A damaged article alone reads as empty; the rest of the list is usable.
    bad = good;
    bad[static_cast<std::size_t>(GetInt(good, items + 8, 8)) + 2] ^= 0x5a;
    WriteBytes(scratch / "bad.lst", bad);
    TLearnDictionary other(scratch.Path().string());
    other.LoadFromFile(scratch / "bad.lst");
    EXPECT_EQ(other.GetArticle(0), "");
    EXPECT_EQ(other.GetArticle(1), ArticleOf(1));
}
