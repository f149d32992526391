#include "tools/NumberWordTable.h"
#include "tools/NumberWords.h"

namespace {

struct TFrenchWords {
    std::vector<std::string> Units;  // 0..19, "" for 0
    std::vector<std::string> Tens;   // 0..9, 7 and 9 repeat 6 and 8
    std::string And, Dash, Plural, Cent, CentSpaced, Thousand, Million, Milliard, Space, Zero, Ten;
};

const TFrenchWords& FrenchTable()
{
    static const TFrenchWords words{
        NumberWordTable({"",         "un",     "deux",  "trois",    "quatre",   "cinq",    "six",
                         "sept",     "huit",   "neuf",  "dix",      "onze",     "douze",   "treize",
                         "quatorze", "quinze", "seize", "dix-sept", "dix-huit", "dix-neuf"},
                        kWesternCodePage),
        NumberWordTable({"", "", "vingt", "trente", "quarante", "cinquante", "soixante", "soixante", "quatre-vingt",
                         "quatre-vingt"},
                        kWesternCodePage),
        NumberWordBytes(" et ", kWesternCodePage),
        NumberWordBytes("-", kWesternCodePage),
        NumberWordBytes("s", kWesternCodePage),
        NumberWordBytes(" cent", kWesternCodePage),
        NumberWordBytes(" cent ", kWesternCodePage),
        NumberWordBytes(" mille", kWesternCodePage),
        NumberWordBytes(" million", kWesternCodePage),
        NumberWordBytes(" milliard", kWesternCodePage),
        NumberWordBytes(" ", kWesternCodePage),
        NumberWordBytes("zéro", kWesternCodePage),
        NumberWordBytes("dix", kWesternCodePage),
    };
    return words;
}

// The text is built from its end: each piece goes in front of what is there.
void Front(std::string& text, const std::string& piece)
{
    text.insert(0, piece);
}

// Puts the words of 10 * T + U in front of Text.
void FrenchTens(std::string& text, int t, int u)
{
    const TFrenchWords& w = FrenchTable();
    if (10 * t + u <= 19) {
        Front(text, w.Units[10 * t + u]);
    } else if (t == 7 || t == 9) {
        if (u > 0) {
            Front(text, w.Units[10 + u]);
            Front(text, u == 1 && t == 7 ? w.And : w.Dash);
            Front(text, w.Tens[t]);
        } else {
            Front(text, w.Tens[t] + w.Dash + w.Ten);
        }
    } else {
        if (u > 0)
            Front(text, w.Units[u]);
        if (u == 0 && t == 8)
            Front(text, w.Plural);
        else if (u == 1)
            Front(text, t == 8 ? w.Dash : w.And);
        else if (u >= 2)
            Front(text, w.Dash);
        Front(text, w.Tens[t]);
    }
}

// Puts a group of thousands, millions or milliards in front of Text, with its scale word.
void FrenchGroup(std::string& text, int group, const std::string& scale, bool millionsOrMore)
{
    const TFrenchWords& w = FrenchTable();
    const int h = group / 100, t = group / 10 % 10, u = group % 10;
    Front(text, w.Space);
    if (millionsOrMore && group > 1)
        Front(text, w.Plural);
    if (group != 0)
        Front(text, scale);
    // "mille" alone is one thousand, but "cent un mille" needs its "un".
    if (millionsOrMore || group != 1)
        FrenchTens(text, t, u);
    if (h > 0) {
        Front(text, w.CentSpaced);
        if (h > 1)
            Front(text, w.Units[h]);
    }
}

}  // namespace

std::string NumberToFrench(std::int32_t n)
{
    const TFrenchWords& w = FrenchTable();
    if (n < 0)
        return {};
    if (n == 0)
        return w.Zero;
    const std::string digits = std::to_string(n);
    const std::size_t length = digits.size();
    std::string text;
    if (length == 1)
        text = w.Units[n];
    if (length >= 2)
        FrenchTens(text, n / 10 % 10, n % 10);
    if (length >= 3) {
        const int h = n / 100 % 10;
        Front(text, !text.empty() || h < 2 ? w.Space : w.Plural);
        if (h > 0)
            Front(text, w.Cent);
        if (h > 1)
            Front(text, w.Units[h]);
    }
    if (length >= 4)
        FrenchGroup(text, n / 1000 % 1000, w.Thousand, false);
    if (length >= 7)
        FrenchGroup(text, n / 1000000 % 1000, w.Million, true);
    if (length >= 10)
        FrenchGroup(text, n / 1000000000 % 1000, w.Milliard, true);

    for (std::size_t pos; (pos = text.find("  ")) != std::string::npos;)
        text.erase(pos, 1);
    if (!text.empty() && text.back() == ' ')
        text.pop_back();
    if (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    return text;
}
