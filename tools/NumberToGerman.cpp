#include "tools/NumberWordTable.h"
#include "tools/NumberWords.h"

namespace {

struct TGermanWords {
    std::vector<std::string> Units, Tens;
    std::string Hundred, And, Thousand, One, Million, MillionPlural, OneSpaced, Milliard, MilliardPlural, Teen;
};

const TGermanWords& GermanTable()
{
    static const TGermanWords words{
        NumberWordTable({"", "EIN", "ZWEI", "DREI", "VIER", "FÜNF", "SECHS", "SIEBEN", "ACHT", "NEUN", "ZEHN", "ELF",
                         "ZWÖLF", "DREIZEHN", "VIERZEHN", "FÜNFZEHN", "SECHZEHN", "SIEBZEHN"},
                        kWesternCodePage),
        NumberWordTable(
            {"", "ZEHN", "ZWANZIG", "DREISSIG", "VIERZIG", "FÜNFZIG", "SECHZIG", "SIEBZIG", "ACHTZIG", "NEUNZIG"},
            kWesternCodePage),
        NumberWordBytes(" HUNDERT ", kWesternCodePage),
        NumberWordBytes(" UND ", kWesternCodePage),
        NumberWordBytes(" TAUSEND ", kWesternCodePage),
        NumberWordBytes("EINE", kWesternCodePage),
        NumberWordBytes(" MILLION", kWesternCodePage),
        NumberWordBytes("EN ", kWesternCodePage),
        NumberWordBytes("EINE ", kWesternCodePage),
        NumberWordBytes(" MILLIARDE", kWesternCodePage),
        NumberWordBytes("N ", kWesternCodePage),
        NumberWordBytes("ZEHN", kWesternCodePage),
    };
    return words;
}

std::string SpellGerman(std::int32_t n)
{
    const TGermanWords& w = GermanTable();
    if (n <= 0)
        return {};
    if (n <= 17)
        return w.Units[n];
    if (n <= 19)
        return w.Units[n % 10] + w.Teen;
    if (n <= 99)
        return n % 10 == 0 ? w.Tens[n / 10] : w.Units[n % 10] + w.And + w.Tens[n / 10];
    if (n <= 999)
        return SpellGerman(n / 100) + w.Hundred + SpellGerman(n % 100);
    if (n <= 999999)
        return SpellGerman(n / 1000) + w.Thousand + SpellGerman(n % 1000);
    if (n <= 999999999) {
        const std::int32_t m = n / 1000000;
        return (m == 1 ? w.One : SpellGerman(m)) + w.Million + (m > 1 ? w.MillionPlural : "")
            + SpellGerman(n % 1000000);
    }
    const std::int32_t m = n / 1000000000;
    return (m == 1 ? w.OneSpaced : SpellGerman(m)) + w.Milliard + (m > 1 ? w.MilliardPlural : "")
        + SpellGerman(n % 1000000000);
}

}  // namespace

std::string NumberToGerman(std::int32_t n)
{
    return SpellGerman(n);
}
