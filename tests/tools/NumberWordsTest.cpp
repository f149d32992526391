#include "tools/NumberWords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::string Words(std::uint8_t language, double value, std::uint8_t decimals = 0, std::string_view text = "")
{
    std::string result = "untouched";
    NumberToWords(language, decimals, text, result, value);
    return result;
}

std::string SpanishError(double value)
{
    try {
        Words(nlSpanish, value);
    } catch (const EConvertError& e) {
        return e.what();
    }
    return "no error";
}

const std::string kNegative = "NumWords - Debe Ser un N\xC3\xBAmero Positivo!!";
const std::string kTooLarge = "NumWords - Lo siento, Esto es solo un entero ...";

}  // namespace

TEST(NumberWords, ZeroInEveryLanguage)
{
    EXPECT_EQ(Words(nlEnglish, 0, 0, "kg"), "");
    EXPECT_EQ(Words(nlTurkish, 0, 0, "kg"), "");
    EXPECT_EQ(Words(nlGerman, 0), "");
    EXPECT_EQ(Words(nlSpanish, 0), "Cero");
    EXPECT_EQ(Words(nlFrench, 0), "z\xE9ro");
    EXPECT_EQ(Words(nlItalian, 0), "Zero");
    EXPECT_EQ(Words(nlRussian, 0), "\xED\xEE\xEB\xFC");  // "ноль" in Windows-1251
}

TEST(NumberWords, UnknownLanguageLeavesTheResult)
{
    EXPECT_EQ(Words(7, 5), "untouched");
    EXPECT_EQ(Words(255, 5), "untouched");
}

TEST(NumberWords, English)
{
    EXPECT_EQ(Words(nlEnglish, 10), "TEN  ");
    EXPECT_EQ(Words(nlEnglish, 15), "FIFTEEN  ");
    EXPECT_EQ(Words(nlEnglish, 1000000), "ONE  MILLION  ");
    EXPECT_EQ(Words(nlEnglish, 3.5, 2), "THREE .50 ");
    EXPECT_EQ(Words(nlEnglish, 123, 0, "kg"), "ONE  HUNDRED TWENTY THREE  kg");
    EXPECT_EQ(Words(nlEnglish, 40), "FORTY  ");
    EXPECT_EQ(Words(nlEnglish, 1002003, 0, "m"), "ONE  MILLION TWO  THOUSAND THREE  m");
    EXPECT_EQ(Words(nlEnglish, 999999999999),
              "NINE  HUNDRED NINETY NINE  BILLION NINE  HUNDRED NINETY NINE  MILLION "
              "NINE  HUNDRED NINETY NINE  THOUSAND NINE  HUNDRED NINETY NINE  ");
    EXPECT_EQ(Words(nlEnglish, 1.123456789, 9), "ONE .12345 ");
    EXPECT_EQ(Words(nlEnglish, 0.5, 2), ".50 ");  // a fraction alone still has words
    EXPECT_EQ(Words(nlEnglish, 2.6), "THREE  ");  // rounded by the fixed-point text
}

TEST(NumberWords, EnglishOutOfRangeIsEmpty)
{
    EXPECT_EQ(Words(nlEnglish, 1e12), "");
    EXPECT_EQ(Words(nlEnglish, 999999999999.6), "");
    EXPECT_EQ(Words(nlEnglish, -1), "");
    EXPECT_EQ(Words(nlEnglish, -0.001, 2), "");
    EXPECT_EQ(Words(nlEnglish, 1e300, 255), "");
    EXPECT_EQ(Words(nlEnglish, std::nan("")), "");
    EXPECT_EQ(Words(nlEnglish, -HUGE_VAL), "");
}

TEST(NumberWords, Turkish)
{
    // The words, then the joining space and the (empty) text.
    EXPECT_EQ(Words(nlTurkish, 1000), "B\xDDN,  ");
    EXPECT_EQ(Words(nlTurkish, 11000), "ONB\xDDRB\xDDN,  ");
    EXPECT_EQ(Words(nlTurkish, 100), "Y\xDCZ ");
    EXPECT_EQ(Words(nlTurkish, 101000, 0, "TL"), "Y\xDCZB\xDDRB\xDDN,  TL");
    EXPECT_EQ(Words(nlTurkish, 1001001), "B\xDDRM\xDDLYON, B\xDDN, B\xDDR ");
    EXPECT_EQ(Words(nlTurkish, 9), " DOKUZ ");
    EXPECT_EQ(Words(nlTurkish, 234), "\xDDK\xDDY\xDCZOTUZD\xD6RT ");
    EXPECT_EQ(Words(nlTurkish, 46.75, 2), "KIRKALTI ");  // the fraction is dropped
    EXPECT_EQ(Words(nlTurkish, 1e14), "Y\xDCZTR\xDDLYON,  ");
    EXPECT_EQ(Words(nlTurkish, 1e15), "");
    EXPECT_EQ(Words(nlTurkish, -5), "");
    EXPECT_EQ(Words(nlTurkish, std::numeric_limits<double>::infinity()), "");
}

TEST(NumberWords, German)
{
    EXPECT_EQ(NumberToGerman(17), "SIEBZEHN");
    EXPECT_EQ(NumberToGerman(18), "ACHTZEHN");
    EXPECT_EQ(NumberToGerman(21), "EIN UND ZWANZIG");
    EXPECT_EQ(NumberToGerman(30), "DREISSIG");
    EXPECT_EQ(NumberToGerman(100), "EIN HUNDERT ");
    EXPECT_EQ(NumberToGerman(1000005), "EINE MILLIONF\xDCNF");
    EXPECT_EQ(NumberToGerman(2000000), "ZWEI MILLIONEN ");
    EXPECT_EQ(NumberToGerman(1000000000), "EINE  MILLIARDE");
    EXPECT_EQ(NumberToGerman(2147483647),
              "ZWEI MILLIARDEN EIN HUNDERT SIEBEN UND VIERZIG MILLIONEN VIER HUNDERT DREI UND "
              "ACHTZIG TAUSEND SECHS HUNDERT SIEBEN UND VIERZIG");
    EXPECT_EQ(NumberToGerman(-1), "");
    EXPECT_EQ(Words(nlGerman, 21.9), "EIN UND ZWANZIG");  // truncated toward zero
    EXPECT_EQ(Words(nlGerman, 1e10), "");
}

TEST(NumberWords, Spanish)
{
    EXPECT_EQ(NumberToSpanish(1000), " mil ");
    EXPECT_EQ(NumberToSpanish(100), "cien");
    EXPECT_EQ(NumberToSpanish(101), "ciento uno");
    EXPECT_EQ(NumberToSpanish(21000), "veintiun mil ");
    EXPECT_EQ(NumberToSpanish(21), "veintiuno");
    EXPECT_EQ(NumberToSpanish(31000), "treinta y un mil ");
    EXPECT_EQ(NumberToSpanish(31), "treinta y uno");
    EXPECT_EQ(NumberToSpanish(16), "dieciseis");
    EXPECT_EQ(NumberToSpanish(15015), "quince mil quince");
    EXPECT_EQ(NumberToSpanish(500), "quinientos ");
    EXPECT_EQ(NumberToSpanish(100000), "cien mil ");
    EXPECT_EQ(NumberToSpanish(1000000), "un millon ");
    EXPECT_EQ(NumberToSpanish(2000000), "dos millones ");
    EXPECT_EQ(NumberToSpanish(999999999),
              "novecientos noventa y nueve millones novecientos noventa y nueve mil "
              "novecientos noventa y nueve");
    EXPECT_EQ(Words(nlSpanish, -0.5), "Cero");  // truncated toward zero
}

TEST(NumberWords, SpanishKeepsTheOneOfAHundredAndOneThousand)
{
    // One thousand is " mil " alone, but after a hundred its "un" carries the value.
    EXPECT_EQ(NumberToSpanish(101000), "ciento un mil ");
    EXPECT_EQ(NumberToSpanish(201001), "doscientos un mil uno");
    EXPECT_EQ(NumberToSpanish(1001000), "un millon  mil ");
}

TEST(NumberWords, SpanishRaisesOutOfRange)
{
    EXPECT_THROW(NumberToSpanish(-1), EConvertError);
    EXPECT_THROW(NumberToSpanish(1000000000), EConvertError);
    EXPECT_EQ(SpanishError(-1), kNegative);
    EXPECT_EQ(SpanishError(1000000000), kTooLarge);
    EXPECT_EQ(SpanishError(2147483647), kTooLarge);
    EXPECT_EQ(SpanishError(1e10), kTooLarge);
    EXPECT_EQ(SpanishError(-1e10), kNegative);
    EXPECT_EQ(SpanishError(std::nan("")), kTooLarge);
}

TEST(NumberWords, French)
{
    EXPECT_EQ(NumberToFrench(80), "quatre-vingts");
    EXPECT_EQ(NumberToFrench(81), "quatre-vingt-un");
    EXPECT_EQ(NumberToFrench(71), "soixante et onze");
    EXPECT_EQ(NumberToFrench(72), "soixante-douze");
    EXPECT_EQ(NumberToFrench(70), "soixante-dix");
    EXPECT_EQ(NumberToFrench(91), "quatre-vingt-onze");
    EXPECT_EQ(NumberToFrench(21), "vingt et un");
    EXPECT_EQ(NumberToFrench(32), "trente-deux");
    EXPECT_EQ(NumberToFrench(100), "cent");
    EXPECT_EQ(NumberToFrench(200), "deux cents");
    EXPECT_EQ(NumberToFrench(201), "deux cent un");
    EXPECT_EQ(NumberToFrench(1000), "mille");
    EXPECT_EQ(NumberToFrench(1001), "mille un");
    EXPECT_EQ(NumberToFrench(2000), "deux mille");
    EXPECT_EQ(NumberToFrench(300000), "trois cent mille");
    EXPECT_EQ(NumberToFrench(1000000), "un million");
    EXPECT_EQ(NumberToFrench(2000000), "deux millions");
    EXPECT_EQ(NumberToFrench(1000000000), "un milliard");
    EXPECT_EQ(NumberToFrench(2147483647),
              "deux milliards cent quarante-sept millions quatre cent quatre-vingt-trois mille "
              "six cent quarante-sept");
    EXPECT_EQ(NumberToFrench(-5), "");
}

TEST(NumberWords, FrenchKeepsTheOneOfAHundredAndOneThousand)
{
    EXPECT_EQ(NumberToFrench(101000), "cent un mille");
    EXPECT_EQ(NumberToFrench(201001), "deux cent un mille un");
    EXPECT_EQ(NumberToFrench(101000000), "cent un millions");
}

TEST(NumberWords, Italian)
{
    EXPECT_EQ(NumberToItalian(21), "VentUno");
    EXPECT_EQ(NumberToItalian(38), "TrentOtto");
    EXPECT_EQ(NumberToItalian(100), "Cento");
    EXPECT_EQ(NumberToItalian(180), "CentOttanta");
    EXPECT_EQ(NumberToItalian(235), "DuecentoTrentaCinque");
    EXPECT_EQ(NumberToItalian(1000), "Mille");
    EXPECT_EQ(NumberToItalian(2000), "Duemila");
    EXPECT_EQ(NumberToItalian(1000000), "Unmilione");
    EXPECT_EQ(NumberToItalian(1000000000), "Unmiliardo");
    EXPECT_EQ(NumberToItalian(-1), "Meno Uno");
    EXPECT_EQ(NumberToItalian(std::numeric_limits<std::int32_t>::min()),
              "Meno DuemiliardiCentoQuarantaSettemilioniQuattrocentOttantaTremila"
              "SeicentoQuarantOtto");
    EXPECT_EQ(Words(nlItalian, -1.5), "Meno Uno");
    EXPECT_EQ(Words(nlItalian, -3e9), "");
}

TEST(NumberWords, FrenchAndGermanOutOfRangeAreEmpty)
{
    EXPECT_EQ(Words(nlFrench, -1), "");
    EXPECT_EQ(Words(nlFrench, 3e9), "");
    EXPECT_EQ(Words(nlGerman, -1), "");
    EXPECT_EQ(Words(nlGerman, std::nan("")), "");
}

TEST(NumberWords, WideTextForTheWindow)
{
    EXPECT_EQ(NumberWordsToWide(nlFrench, NumberToFrench(0)), u"zéro");
    EXPECT_EQ(NumberWordsToWide(nlGerman, NumberToGerman(1000005)), u"EINE MILLIONFÜNF");
    EXPECT_EQ(NumberWordsToWide(nlTurkish, Words(nlTurkish, 11000)), u"ONBİRBİN,  ");
    EXPECT_EQ(NumberWordsToWide(nlRussian, Words(nlRussian, 2000)), u"две тысячи ");
    EXPECT_EQ(NumberWordsCodePage(nlRussian), 1251);
    EXPECT_EQ(NumberWordsCodePage(nlTurkish), 1254);
    EXPECT_EQ(NumberWordsCodePage(nlEnglish), 1252);
}
