#include "tools/NumberWordTable.h"
#include "tools/NumberWords.h"

namespace {

struct TItalianWords {
    std::vector<std::string> Units;  // 0..20
    std::vector<std::string> Tens;   // 0..9, "" for 0 and 1
    std::string Cento, CentoOne, Mille, Mila, MilioneOne, Milioni, MiliardoOne, Miliardi, Meno;
};

const TItalianWords& ItalianTable()
{
    static const TItalianWords words{
        NumberWordTable({"Zero",        "Uno",      "Due",    "Tre",         "Quattro",  "Cinque",     "Sei",
                         "Sette",       "Otto",     "Nove",   "Dieci",       "Undici",   "Dodici",     "Tredici",
                         "Quattordici", "Quindici", "Sedici", "Diciassette", "Diciotto", "Diciannove", "Venti"},
                        kWesternCodePage),
        NumberWordTable(
            {"", "", "Venti", "Trenta", "Quaranta", "Cinquanta", "Sessanta", "Settanta", "Ottanta", "Novanta"},
            kWesternCodePage),
        NumberWordBytes("cento", kWesternCodePage),
        NumberWordBytes("Cento", kWesternCodePage),
        NumberWordBytes("Mille", kWesternCodePage),
        NumberWordBytes("mila", kWesternCodePage),
        NumberWordBytes("Unmilione", kWesternCodePage),
        NumberWordBytes("milioni", kWesternCodePage),
        NumberWordBytes("Unmiliardo", kWesternCodePage),
        NumberWordBytes("miliardi", kWesternCodePage),
        NumberWordBytes("Meno ", kWesternCodePage),
    };
    return words;
}

bool IsVowel(char c)
{
    switch (c) {
    case 'A':
    case 'E':
    case 'I':
    case 'O':
    case 'U':
    case 'a':
    case 'e':
    case 'i':
    case 'o':
    case 'u':
        return true;
    default:
        return false;
    }
}

// A without its last vowel when B begins with a vowel ("Venti" + "Uno" -> "Vent").
std::string ItalianElide(const std::string& a, const std::string& b)
{
    if (!a.empty() && !b.empty() && IsVowel(a.back()) && IsVowel(b.front()))
        return a.substr(0, a.size() - 1);
    return a;
}

std::string Below100(std::int64_t x)
{
    const TItalianWords& w = ItalianTable();
    if (x <= 0)
        return {};
    if (x <= 20)
        return w.Units[x];
    const std::string last = x % 10 == 0 ? std::string() : w.Units[x % 10];
    return ItalianElide(w.Tens[x / 10], last) + last;
}

std::string Below1000(std::int64_t x)
{
    const TItalianWords& w = ItalianTable();
    const std::int64_t h = x / 100;
    const std::string hundreds = h >= 2 ? w.Units[h] + w.Cento : h == 1 ? w.CentoOne : std::string();
    const std::string rest = Below100(x % 100);
    return ItalianElide(hundreds, rest) + rest;
}

std::string ThousandsWords(std::int64_t x)
{
    const TItalianWords& w = ItalianTable();
    std::int64_t k = x / 1000;
    while (k > 999)
        k -= 1000;
    std::string out = k == 0 ? std::string() : k == 1 ? w.Mille : Below1000(k) + w.Mila;
    if (x % 1000 > 0)
        out += Below1000(x % 1000);
    return out;
}

std::string MillionsWords(std::int64_t x)
{
    const TItalianWords& w = ItalianTable();
    const std::int64_t m = x / 1000000;
    std::string out = m == 0 ? std::string() : m == 1 ? w.MilioneOne : Below1000(m) + w.Milioni;
    if (x % 1000000 > 0)
        out += ThousandsWords(x % 1000000);
    return out;
}

// N is at most 2^31, so milliards are 1 or 2 and every part below 1000 fits its table.
std::string SpellItalian(std::int64_t n)
{
    const TItalianWords& w = ItalianTable();
    if (n < 0)
        return w.Meno + SpellItalian(-n);
    if (n < 20)
        return w.Units[n];
    const std::int64_t milliards = n / 1000000000;
    std::string out = milliards == 0 ? std::string()
        : milliards == 1             ? w.MiliardoOne
                                     : MillionsWords(milliards) + w.Miliardi;
    if (n % 1000000000 > 0)
        out += MillionsWords(n % 1000000000);
    return out;
}

}  // namespace

std::string NumberToItalian(std::int32_t n)
{
    // Widened so that the lowest 32-bit number can be negated.
    return SpellItalian(n);
}
