#include "tools/RussianNumberWords.h"

#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Expected texts are written as UTF-16 and compared as Windows-1251 bytes.
std::string Cp(std::u16string_view text)
{
    return Platform::WideToAnsi(text, 1251);
}

std::string Money(std::uint8_t mode, std::uint8_t rubleKind, double value)
{
    return NumberToRussian(mode, rubleKind, rwFull, value);
}

}  // namespace

TEST(RussianNumberWords, PlainNumbers)
{
    EXPECT_EQ(RussianNumberWords(0), "\xED\xEE\xEB\xFC");  // "ноль"
    EXPECT_EQ(RussianNumberWords(1), Cp(u"один  "));
    EXPECT_EQ(RussianNumberWords(21), Cp(u"двадцать один  "));
    EXPECT_EQ(RussianNumberWords(1000), Cp(u"одна тысяча "));
    EXPECT_EQ(RussianNumberWords(2000), Cp(u"две тысячи "));
    EXPECT_EQ(RussianNumberWords(5000), Cp(u"пять тысяч "));
    EXPECT_EQ(RussianNumberWords(11000), Cp(u"одиннадцать тысяч "));
    EXPECT_EQ(RussianNumberWords(1000000), Cp(u"один миллион "));
    EXPECT_EQ(RussianNumberWords(2001), Cp(u"две тысячи один  "));
    EXPECT_EQ(RussianNumberWords(-21), Cp(u"(двадцать один  )"));
    EXPECT_EQ(RussianNumberWords(7.9), Cp(u"семь  "));  // the fraction only makes kopecks
}

TEST(RussianNumberWords, MoneyForms)
{
    EXPECT_EQ(NumberToRussian(kmWordsFull, rwFull, rwFull, 1.5), Cp(u"один рубль пятьдесят копеек"));
    EXPECT_EQ(NumberToRussian(kmDigitsFull, rwFull, rwFull, 2.05), Cp(u"два рубля 05 копеек"));
    EXPECT_EQ(NumberToRussian(kmWordsShort, rwShort, rwFull, 0.01), Cp(u"ноль руб. одна коп."));
    EXPECT_EQ(NumberToRussian(kmWordsFull, rwFull, rwFull, -1.5), Cp(u"(один рубль пятьдесят копеек)"));
    EXPECT_EQ(Money(kmWordsFull, rwFull, 1), Cp(u"один рубль ноль копеек"));
    EXPECT_EQ(Money(kmNone, rwFull, 1000), Cp(u"одна тысяча рублей"));
    EXPECT_EQ(Money(kmNone, rwShort, 1000), Cp(u"одна тысяча руб."));
    EXPECT_EQ(Money(kmWordsFull, rwFull, 1000.05), Cp(u"одна тысяча рублей пять копеек"));
    EXPECT_EQ(Money(kmNone, rwNone, 0), Cp(u"ноль"));
    EXPECT_EQ(Money(kmNone, rwShort, 0), Cp(u"ноль руб."));
    EXPECT_EQ(Money(kmNone, rwFull, 0), Cp(u"ноль рублей"));
}

TEST(RussianNumberWords, KopeckModesWithEveryRubleKind)
{
    // 21.22: rubles by kind, then the kopecks by mode after the trimmed rubles.
    const std::u16string rubles[] = {u"двадцать один  ", u"двадцать один руб. ", u"двадцать один рубль "};
    const std::u16string kopecks[] = {u"", u" двадцать две коп.", u" двадцать две копейки", u" 22 коп.",
                                      u" 22 копейки"};
    for (std::uint8_t kind = 0; kind <= 2; ++kind) {
        for (std::uint8_t mode = 0; mode <= 4; ++mode) {
            std::u16string expected = rubles[kind];
            if (mode > 0) {
                while (expected.back() == u' ')
                    expected.pop_back();
                expected += kopecks[mode];
            }
            EXPECT_EQ(Money(mode, kind, 21.22), Cp(expected)) << int(mode) << " " << int(kind);
        }
    }
}

TEST(RussianNumberWords, KopeckRounding)
{
    EXPECT_EQ(Money(kmDigitsFull, rwFull, 1.999), Cp(u"два рубля 00 копеек"));  // carried
    EXPECT_EQ(Money(kmDigitsShort, rwNone, 0.125), Cp(u"ноль 12 коп."));        // tie to even
    EXPECT_EQ(Money(kmDigitsShort, rwNone, 0.375), Cp(u"ноль 38 коп."));
    EXPECT_EQ(Money(kmWordsFull, rwFull, 0.11), Cp(u"ноль рублей одиннадцать копеек"));
    EXPECT_EQ(Money(kmWordsFull, rwFull, 0.02), Cp(u"ноль рублей две копейки"));
}

TEST(RussianNumberWords, GenderAndOneFewManyForms)
{
    struct Case {
        int n;
        std::u16string_view thousands;  // feminine, with the thousands word
        std::u16string_view rubles;     // masculine, with the ruble word
    };
    const Case cases[] = {
        {1, u"одна тысяча ", u"один рубль "},
        {2, u"две тысячи ", u"два рубля "},
        {4, u"четыре тысячи ", u"четыре рубля "},
        {5, u"пять тысяч ", u"пять рублей "},
        {11, u"одиннадцать тысяч ", u"одиннадцать рублей "},
        {12, u"двенадцать тысяч ", u"двенадцать рублей "},
        {14, u"четырнадцать тысяч ", u"четырнадцать рублей "},
        {21, u"двадцать одна тысяча ", u"двадцать один рубль "},
        {22, u"двадцать две тысячи ", u"двадцать два рубля "},
        {25, u"двадцать пять тысяч ", u"двадцать пять рублей "},
        {101, u"сто одна тысяча ", u"сто один рубль "},
        {111, u"сто одиннадцать тысяч ", u"сто одиннадцать рублей "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RussianNumberWords(c.n * 1000.0), Cp(c.thousands)) << c.n;
        EXPECT_EQ(Money(kmNone, rwFull, c.n), Cp(c.rubles)) << c.n;
    }
    EXPECT_EQ(Money(kmNone, rwFull, 1001), Cp(u"одна тысяча один рубль "));
    EXPECT_EQ(Money(kmNone, rwFull, 2002), Cp(u"две тысячи два рубля "));
    EXPECT_EQ(Money(kmNone, rwFull, 5005), Cp(u"пять тысяч пять рублей "));
    EXPECT_EQ(RussianNumberWords(2000000), Cp(u"два миллиона "));
    EXPECT_EQ(RussianNumberWords(5000000), Cp(u"пять миллионов "));
    EXPECT_EQ(RussianNumberWords(21000000), Cp(u"двадцать один миллион "));
    EXPECT_EQ(RussianNumberWords(3e9), Cp(u"три миллиарда "));
    EXPECT_EQ(RussianNumberWords(1.2e13), Cp(u"двенадцать триллионов "));
}

TEST(RussianNumberWords, ScaleWordKinds)
{
    EXPECT_EQ(NumberToRussian(kmNone, rwShort, rwShort, 2002000), Cp(u"два млн. две тыс. руб."));
    EXPECT_EQ(NumberToRussian(kmNone, rwNone, 0, 2000000), Cp(u"два  "));
    EXPECT_EQ(NumberToRussian(kmNone, rwNone, 7, 2000000), Cp(u"два  "));
}

TEST(RussianNumberWords, LargeAndInvalidValues)
{
    EXPECT_EQ(RussianNumberWords(999999999999999.0),
              Cp(u"девятьсот девяносто девять триллионов девятьсот девяносто девять миллиардов "
                 u"девятьсот девяносто девять миллионов девятьсот девяносто девять тысяч "
                 u"девятьсот девяносто девять  "));
    EXPECT_EQ(RussianNumberWords(3000000000.7), Cp(u"три миллиарда "));  // not rounded up
    EXPECT_EQ(RussianNumberWords(1e15), "");
    EXPECT_EQ(RussianNumberWords(-1e15), "");
    EXPECT_EQ(RussianNumberWords(std::nan("")), "");
    EXPECT_EQ(RussianNumberWords(HUGE_VAL), "");
}

TEST(RussianNumberWords, InnerOperations)
{
    const TRussianSplit s = RussianSplit(123456789012345.25);
    EXPECT_EQ(s.Trillions, 123);
    EXPECT_EQ(s.Billions, 456);
    EXPECT_EQ(s.Millions, 789);
    EXPECT_EQ(s.Thousands, 12);
    EXPECT_EQ(s.Units, 345);
    EXPECT_EQ(s.Kopecks, 25);
    EXPECT_THROW(RussianSplit(-1), std::out_of_range);
    EXPECT_THROW(RussianSplit(1e15), std::out_of_range);

    const TRussianDigits d = RussianDigits(507);
    EXPECT_EQ(d.Units, 7);
    EXPECT_EQ(d.Tens, 0);
    EXPECT_EQ(d.Hundreds, 5);
    EXPECT_THROW(RussianDigits(1000), std::out_of_range);

    EXPECT_EQ(DigitChar(0), '0');
    EXPECT_EQ(DigitChar(9), '9');
    EXPECT_THROW(DigitChar(10), std::out_of_range);

    EXPECT_EQ(RussianUnitWord(1, true), Cp(u"одна"));
    EXPECT_EQ(RussianUnitWord(2, false), Cp(u"два"));
    EXPECT_EQ(RussianUnitWord(0, false), "");
    EXPECT_EQ(RussianUnitWord(10, false), "");

    EXPECT_EQ(RussianTwoDigits(0, 0, false, true), "");
    EXPECT_EQ(RussianTwoDigits(0, 0, false, false), Cp(u"ноль"));
    EXPECT_EQ(RussianTwoDigits(2, 4, true, true), Cp(u"сорок две"));
    EXPECT_THROW(RussianTwoDigits(0, 10, false, false), std::out_of_range);

    EXPECT_EQ(RussianTriadWords(100, false), Cp(u"сто"));
    EXPECT_EQ(RussianTriadWords(0, false), Cp(u"ноль"));
    EXPECT_EQ(RussianTriadWords(999, false), Cp(u"девятьсот девяносто девять"));

    EXPECT_EQ(RussianScaleWord(1, 1, rtMillions, 2), Cp(u"миллионов"));
    EXPECT_EQ(RussianScaleWord(3, 2, rtBillions, 2), Cp(u"миллиарда"));
    EXPECT_EQ(RussianScaleWord(0, 0, rtTrillions, 1), Cp(u"трлн."));
    EXPECT_EQ(RussianScaleWord(1, 0, rtKopecks, 3), Cp(u"коп."));
    EXPECT_EQ(RussianScaleWord(1, 0, rtKopecks, 4), Cp(u"копейка"));
    EXPECT_EQ(RussianScaleWord(1, 0, rtRubles, 3), "");
    EXPECT_EQ(RussianScaleWord(1, 0, rtThousands, 0), "");
    EXPECT_EQ(RussianScaleWord(1, 0, 6, 2), "");

    EXPECT_EQ(RussianTriad(2, rtThousands, 2), Cp(u"две тысячи"));
    EXPECT_EQ(RussianTriad(2, rtRubles, 0), Cp(u"два "));
}
