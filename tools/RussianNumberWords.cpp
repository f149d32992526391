#include "tools/RussianNumberWords.h"

#include "tools/NumberWordTable.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

struct TRussianWords {
    std::vector<std::string> Units;     // 1..9; stems for 1 and 2
    std::vector<std::string> Teens;     // 11..19 by the units digit
    std::vector<std::string> Tens;      // 10..90
    std::vector<std::string> Hundreds;  // 100..900
    std::string OneMasculine, OneFeminine, TwoMasculine, TwoFeminine;
    std::vector<std::vector<std::string>> Forms;  // by type: one, few, many
    std::vector<std::string> Abbreviations;       // by type
    std::string Zero, ZeroShort, ZeroFull;
};

const TRussianWords& RussianTable()
{
    constexpr int cp = kCyrillicCodePage;
    static const TRussianWords words{
        NumberWordTable({"", "од", "дв", "три", "четыре", "пять", "шесть", "семь", "восемь", "девять"}, cp),
        NumberWordTable({"", "одиннадцать", "двенадцать", "тринадцать", "четырнадцать", "пятнадцать", "шестнадцать",
                         "семнадцать", "восемнадцать", "девятнадцать"},
                        cp),
        NumberWordTable({"", "десять", "двадцать", "тридцать", "сорок", "пятьдесят", "шестьдесят", "семьдесят",
                         "восемьдесят", "девяносто"},
                        cp),
        NumberWordTable(
            {"", "сто", "двести", "триста", "четыреста", "пятьсот", "шестьсот", "семьсот", "восемьсот", "девятьсот"},
            cp),
        NumberWordBytes("ин", cp),
        NumberWordBytes("на", cp),
        NumberWordBytes("а", cp),
        NumberWordBytes("е", cp),
        {
            NumberWordTable({"копейка", "копейки", "копеек"}, cp),
            NumberWordTable({"рубль", "рубля", "рублей"}, cp),
            NumberWordTable({"тысяча", "тысячи", "тысяч"}, cp),
            NumberWordTable({"миллион", "миллиона", "миллионов"}, cp),
            NumberWordTable({"миллиард", "миллиарда", "миллиардов"}, cp),
            NumberWordTable({"триллион", "триллиона", "триллионов"}, cp),
        },
        NumberWordTable({"коп.", "руб.", "тыс.", "млн.", "млрд.", "трлн."}, cp),
        NumberWordBytes("ноль", cp),
        NumberWordBytes("ноль руб.", cp),
        NumberWordBytes("ноль рублей", cp),
    };
    return words;
}

void CheckDigit(int d)
{
    if (d < 0 || d > 9)
        throw std::out_of_range("digit out of range");
}

std::string TrimRight(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

}  // namespace

TRussianSplit RussianSplit(double value)
{
    if (!std::isfinite(value) || value < 0 || value >= 1e15)
        throw std::out_of_range("value out of range");
    double whole = std::trunc(value);
    // Two decimals, ties to even under the default rounding mode; 99.5 and above carry.
    int kopecks = static_cast<int>(std::nearbyint((value - whole) * 100));
    if (kopecks >= 100) {
        kopecks -= 100;
        whole += 1;
        if (whole >= 1e15)
            throw std::out_of_range("value out of range");
    }
    const auto n = static_cast<std::uint64_t>(whole);
    TRussianSplit split;
    split.Kopecks = kopecks;
    split.Units = static_cast<int>(n % 1000);
    split.Thousands = static_cast<int>(n / 1000 % 1000);
    split.Millions = static_cast<int>(n / 1000000 % 1000);
    split.Billions = static_cast<int>(n / 1000000000 % 1000);
    split.Trillions = static_cast<int>(n / 1000000000000 % 1000);
    return split;
}

TRussianDigits RussianDigits(int n)
{
    if (n < 0 || n > 999)
        throw std::out_of_range("triad out of range");
    return {n % 10, n / 10 % 10, n / 100};
}

char DigitChar(int d)
{
    CheckDigit(d);
    return static_cast<char>('0' + d);
}

std::string RussianUnitWord(int d, bool feminine)
{
    const TRussianWords& w = RussianTable();
    if (d == 1)
        return w.Units[1] + (feminine ? w.OneFeminine : w.OneMasculine);
    if (d == 2)
        return w.Units[2] + (feminine ? w.TwoFeminine : w.TwoMasculine);
    if (d >= 3 && d <= 9)
        return w.Units[d];
    return {};
}

std::string RussianTwoDigits(int u, int t, bool feminine, bool noZero)
{
    CheckDigit(u);
    CheckDigit(t);
    const TRussianWords& w = RussianTable();
    if (t == 0 && u == 0)
        return noZero ? std::string() : w.Zero;
    if (t == 0)
        return RussianUnitWord(u, feminine);
    if (u == 0)
        return w.Tens[t];
    if (t == 1)
        return w.Teens[u];
    return w.Tens[t] + " " + RussianUnitWord(u, feminine);
}

std::string RussianTriadWords(int n, bool feminine)
{
    const TRussianDigits d = RussianDigits(n);
    if (d.Hundreds == 0)
        return RussianTwoDigits(d.Units, d.Tens, feminine, false);
    const std::string& hundreds = RussianTable().Hundreds[d.Hundreds];
    const std::string rest = RussianTwoDigits(d.Units, d.Tens, feminine, true);
    return rest.empty() ? hundreds : hundreds + " " + rest;
}

std::string RussianScaleWord(int u, int t, int type, std::uint8_t kind)
{
    const TRussianWords& w = RussianTable();
    const int form = t == 1 ? 2 : u == 1 ? 0 : u >= 2 && u <= 4 ? 1 : 2;
    switch (type) {
    case rtRubles:
    case rtThousands:
    case rtMillions:
    case rtBillions:
    case rtTrillions:
        if (kind == 1)
            return w.Abbreviations[type];
        if (kind == 2)
            return w.Forms[type][form];
        return {};
    case rtKopecks:
        if (kind == 1 || kind == 3)
            return w.Abbreviations[type];
        if (kind == 2 || kind == 4)
            return w.Forms[type][form];
        return {};
    default:
        return {};
    }
}

std::string RussianTriad(int triad, int type, std::uint8_t kind)
{
    return RussianTriadWords(triad, type == rtThousands) + " "
        + RussianScaleWord(triad % 10, triad / 10 % 10, type, kind);
}

std::string NumberToRussian(std::uint8_t kopeckMode, std::uint8_t rubleKind, std::uint8_t scaleKind, double value)
{
    try {
        const TRussianWords& w = RussianTable();
        const bool negative = value < 0;
        const TRussianSplit split = RussianSplit(std::fabs(value));

        std::string result;
        const std::pair<int, int> groups[] = {{split.Trillions, rtTrillions},
                                              {split.Billions, rtBillions},
                                              {split.Millions, rtMillions},
                                              {split.Thousands, rtThousands}};
        for (auto [triad, type] : groups)
            if (triad != 0)
                result += RussianTriad(triad, type, scaleKind) + " ";

        if (split.Units != 0) {
            result += RussianTriad(split.Units, rtRubles, rubleKind) + " ";
        } else if (!result.empty()) {
            if (rubleKind == rwShort)
                result += w.Abbreviations[rtRubles];
            else if (rubleKind == rwFull)
                result += w.Forms[rtRubles][2];
        }
        if (result.empty())
            result = rubleKind == rwShort ? w.ZeroShort : rubleKind == rwFull ? w.ZeroFull : w.Zero;

        if (kopeckMode > 0) {
            const int kt = split.Kopecks / 10, ku = split.Kopecks % 10;
            if (kopeckMode == kmWordsShort || kopeckMode == kmWordsFull)
                result = TrimRight(result) + " " + RussianTwoDigits(ku, kt, true, false);
            else if (kopeckMode == kmDigitsShort || kopeckMode == kmDigitsFull)
                result = TrimRight(result) + " " + DigitChar(kt) + DigitChar(ku);
            result += " " + RussianScaleWord(ku, kt, rtKopecks, kopeckMode);
        }
        if (negative)
            result = "(" + result + ")";
        return result;
    } catch (...) {
        return {};
    }
}

std::string RussianNumberWords(double value)
{
    return NumberToRussian(kmNone, rwNone, rwFull, value);
}
