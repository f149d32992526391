// Sweeps over many numbers: every speller answers without failing, its text is clean 8-bit
// text of its code page, and no two numbers read the same (a dropped or doubled word shows up
// as two numbers with one text).
#include "tools/NumberWords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::uint8_t kLanguages[] = {nlEnglish, nlGerman, nlSpanish, nlFrench, nlItalian, nlRussian, nlTurkish};

// Integer digits each speller takes: English 12, Turkish and Russian 15, the others 32-bit
// (Spanish 9).
int DigitLimit(std::uint8_t language)
{
    switch (language) {
    case nlEnglish:
        return 12;
    case nlTurkish:
    case nlRussian:
        return 15;
    case nlSpanish:
        return 9;
    default:
        return 10;
    }
}

bool InRange(std::uint8_t language, double value)
{
    if (language == nlGerman || language == nlFrench || language == nlItalian)
        return value <= 2147483647.0;
    return value < std::pow(10.0, DigitLimit(language));
}

std::string Spell(std::uint8_t language, double value)
{
    std::string result;
    NumberToWords(language, 0, "", result, value);
    return result;
}

// Spells every value, requires a non-empty text for each (zero aside where it is empty),
// distinct texts for distinct values and a clean round trip through UTF-16.
void CheckSpelling(std::uint8_t language, const std::vector<double>& values)
{
    std::unordered_map<std::string, double> seen;
    seen.reserve(values.size());
    std::string all;
    for (double value : values) {
        std::string words;
        ASSERT_NO_THROW(words = Spell(language, value)) << int(language) << " " << value;
        ASSERT_EQ(words.find('\0'), std::string::npos) << int(language) << " " << value;
        const bool emptyZero = language == nlEnglish || language == nlGerman || language == nlTurkish;
        if (value != 0 || !emptyZero) {
            ASSERT_FALSE(words.empty()) << int(language) << " " << value;
        }
        auto [it, inserted] = seen.emplace(words, value);
        ASSERT_TRUE(inserted) << int(language) << ": " << value << " and " << it->second << " both read \"" << words
                              << "\"";
        all += words;
        all += '\n';
    }
    // One conversion of everything: a single-byte code page gives one UTF-16 unit per byte,
    // and no byte may be one the code page leaves undefined.
    const std::u16string wide = NumberWordsToWide(language, all);
    ASSERT_EQ(wide.size(), all.size());
    EXPECT_EQ(wide.find(u'\uFFFD'), std::u16string::npos) << int(language);
}

// Every number of up to Digits digits drawn from Alphabet.
std::vector<double> DigitPatterns(int digits, std::string_view alphabet)
{
    std::vector<double> values{0};
    for (int i = 0; i < digits; ++i) {
        std::vector<double> next;
        next.reserve(values.size() * alphabet.size());
        for (double v : values)
            for (char c : alphabet)
                next.push_back(v * 10 + (c - '0'));
        values.swap(next);
    }
    return values;  // every value appears once, leading zeros being the shorter numbers
}

}  // namespace

class NumberWordsSweep : public ::testing::TestWithParam<std::uint8_t> {};

std::string LanguageName(const ::testing::TestParamInfo<std::uint8_t>& info)
{
    static const char* const names[] = {"English", "German", "Spanish", "French", "Italian", "Russian", "Turkish"};
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Languages, NumberWordsSweep, ::testing::ValuesIn(kLanguages), LanguageName);

TEST_P(NumberWordsSweep, ZeroToHundredThousand)
{
    std::vector<double> values;
    for (int n = 0; n <= 100000; ++n)
        values.push_back(n);
    CheckSpelling(GetParam(), values);
}

TEST_P(NumberWordsSweep, DigitPatternsUpToTheLimit)
{
    // Ones and zeros (and twos and nines) in every position find words dropped around "one".
    const std::uint8_t language = GetParam();
    std::vector<double> values = DigitPatterns(DigitLimit(language), "01");
    if (DigitLimit(language) <= 10) {
        const std::vector<double> more = DigitPatterns(DigitLimit(language), "029");
        values.insert(values.end(), more.begin(), more.end());
    }
    std::erase_if(values, [&](double v) { return !InRange(language, v); });
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    CheckSpelling(language, values);
}

TEST_P(NumberWordsSweep, PowersOfTenUpToTheLimit)
{
    const std::uint8_t language = GetParam();
    std::vector<double> values;
    for (int k = 0; k <= DigitLimit(language); ++k) {
        const double power = std::pow(10.0, k);
        if (InRange(language, power))
            values.push_back(power);
        if (k > 0 && InRange(language, power - 1))
            values.push_back(power - 1);
    }
    CheckSpelling(language, values);
}

TEST(NumberWordsLimits, OnePastEachLimit)
{
    EXPECT_EQ(Spell(nlEnglish, 1e12), "");
    EXPECT_EQ(Spell(nlTurkish, 1e15), "");
    EXPECT_EQ(Spell(nlRussian, 1e15), "");
    EXPECT_EQ(Spell(nlGerman, 2147483648.0), "");
    EXPECT_EQ(Spell(nlFrench, 2147483648.0), "");
    EXPECT_EQ(Spell(nlItalian, 2147483648.0), "");
    EXPECT_THROW(Spell(nlSpanish, 1e9), EConvertError);
    EXPECT_FALSE(Spell(nlGerman, 2147483647.0).empty());
    EXPECT_FALSE(Spell(nlFrench, 2147483647.0).empty());
    EXPECT_FALSE(Spell(nlItalian, 2147483647.0).empty());
}
