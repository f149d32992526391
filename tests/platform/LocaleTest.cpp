#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace Platform;

TEST(Locale, LcidFromPosixNames)
{
    EXPECT_EQ(LCIDFromLocaleName("en_US.UTF-8"), 0x0409u);
    EXPECT_EQ(LCIDFromLocaleName("de_DE.UTF-8"), 0x0407u);
    EXPECT_EQ(LCIDFromLocaleName("ru_RU"), 0x0419u);
    EXPECT_EQ(LCIDFromLocaleName("tr_TR.UTF-8@euro"), 0x041Fu);
    EXPECT_EQ(LCIDFromLocaleName("C"), 0x0409u);
    EXPECT_EQ(LCIDFromLocaleName("POSIX"), 0x0409u);
    EXPECT_EQ(LCIDFromLocaleName(""), 0x0409u);
    EXPECT_EQ(LCIDFromLocaleName("xx_YY"), 0x0409u);
}

TEST(Locale, CodePagesFollowTheLanguage)
{
    EXPECT_EQ(CodePageOfLCID(0x0419), 1251);
    EXPECT_EQ(CodePageOfLCID(0x041F), 1254);
    EXPECT_EQ(CodePageOfLCID(0x0408), 1253);
    EXPECT_EQ(CodePageOfLCID(0x0415), 1250);
    EXPECT_EQ(CodePageOfLCID(0x0407), 1252);
    setenv("LEXORA_CODEPAGE", "1251", 1);
    EXPECT_EQ(SystemCodePage(), 1251);
    setenv("LEXORA_CODEPAGE", "junk", 1);
    EXPECT_NE(SystemCodePage(), 0);
    unsetenv("LEXORA_CODEPAGE");
}

TEST(Locale, CompareIgnoresCaseButNotAccents)
{
    EXPECT_EQ(CompareTextIgnoreCase(u"Haus", u"HAUS", 0x0407), 0);
    EXPECT_LT(CompareTextIgnoreCase(u"apfel", u"Birne", 0x0407), 0);
    EXPECT_GT(CompareTextIgnoreCase(u"Zug", u"apfel", 0x0407), 0);
    EXPECT_NE(CompareTextIgnoreCase(u"resume", u"r\u00E9sum\u00E9", 0x0409), 0);
    EXPECT_EQ(CompareTextIgnoreCase(u"\u0434\u043E\u043C", u"\u0414\u041E\u041C", 0x0419), 0);
    EXPECT_EQ(CompareTextIgnoreCase(u"", u"", 0x0409), 0);
    EXPECT_LT(CompareTextIgnoreCase(u"", u"a", 0x0409), 0);
}

TEST(Locale, CompareIsThreadSafe)
{
    std::vector<std::thread> threads;
    std::vector<int> bad(8, 0);
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([t, &bad] {
            for (int i = 0; i < 2000; ++i)
                if (CompareTextIgnoreCase(u"Stra\u00DFe", u"STRASSE", 0x0407 + (t % 2) * 0x12) > 0
                    && CompareTextIgnoreCase(u"a", u"B", 0x0407) >= 0)
                    ++bad[t];
        });
    for (auto& th : threads)
        th.join();
    for (int b : bad)
        EXPECT_EQ(b, 0);
}

TEST(Locale, CodePageConversionsRoundTrip)
{
    EXPECT_EQ(WideToAnsi(u"F\u00DCNF", 1252), "F\xDCNF");
    EXPECT_EQ(AnsiToWide("F\xDCNF", 1252), u"F\u00DCNF");
    EXPECT_EQ(WideToAnsi(u"\u0420\u0443\u0431\u043B\u044C", 1251), "\xD0\xF3\xE1\xEB\xFC");
    EXPECT_EQ(AnsiToWide("\xD0\xF3\xE1\xEB\xFC", 1251), u"\u0420\u0443\u0431\u043B\u044C");
    EXPECT_EQ(WideToAnsi(u"\u0130K\u0130", 1254), "\xDDK\xDD");
    EXPECT_EQ(AnsiToWide("\x80", 1252), u"\u20AC");
    bool lossy = false;
    EXPECT_EQ(WideToAnsi(u"a\u0416b\U0001F600c", 1252, &lossy), "a?b?c");
    EXPECT_TRUE(lossy);
    EXPECT_EQ(WideToAnsi(u"", 1252), "");
    EXPECT_THROW(AnsiToWide("x", 437), ECodePageError);
}

TEST(Locale, Utf8Conversions)
{
    EXPECT_EQ(Utf8ToWide("F\xC3\x9CNF"), u"F\u00DCNF");
    EXPECT_EQ(WideToUtf8(u"\u0416\U0001F600"), "\xD0\x96\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToWide("\xFF"), u"\uFFFD");
}

TEST(Locale, HyphensAndApostrophesCountOnlyBetweenOtherwiseEqualWords)
{
    // Sorted as a word list: "co-op" sorts with "coop", "it's" with "its".
    std::vector<std::u16string> words = {u"coa", u"co-op", u"coop", u"cooperate", u"it's", u"its", u"itself", u"ita"};
    std::sort(words.begin(), words.end(),
              [](const auto& a, const auto& b) { return CompareTextIgnoreCase(a, b, 0x0409) < 0; });
    const std::vector<std::u16string> expected = {u"coa", u"co-op", u"coop", u"cooperate",
                                                  u"ita", u"it's",  u"its",  u"itself"};
    EXPECT_EQ(words, expected);
    EXPECT_NE(CompareTextIgnoreCase(u"co-op", u"coop", 0x0409), 0);
    EXPECT_EQ(CompareTextIgnoreCase(u"CO-OP", u"co-op", 0x0409), 0);
    EXPECT_EQ(CompareTextIgnoreCase(u"co-op", u"coop", 0x0409), -CompareTextIgnoreCase(u"coop", u"co-op", 0x0409));
}
