#include "tools/NumberFormat.h"
#include "tools/NumberWordTable.h"
#include "tools/NumberWords.h"

namespace {

struct TTurkishWords {
    std::vector<std::string> Units, Tens, Scales;
    std::string Hundred;
};

const TTurkishWords& TurkishTable()
{
    static const TTurkishWords words{
        NumberWordTable({"", "BİR", "İKİ", "ÜÇ", "DÖRT", "BEŞ", "ALTI", "YEDİ", "SEKİZ", " DOKUZ"}, kTurkishCodePage),
        NumberWordTable({"", "ON", "YİRMİ", "OTUZ", "KIRK", "ELLİ", "ALTMIŞ", "YETMİŞ", "SEKSEN", "DOKSAN"},
                        kTurkishCodePage),
        NumberWordTable({"TRİLYON, ", "MİLYAR, ", "MİLYON, ", "BİN, ", ""}, kTurkishCodePage),
        NumberWordBytes("YÜZ", kTurkishCodePage),
    };
    return words;
}

}  // namespace

std::string NumberToTurkish(std::uint8_t decimals, std::string_view text, double value)
{
    const TFixedDigits digits = SplitFixedDigits(decimals, value, 15);
    if (!digits.Valid)
        return {};
    const TTurkishWords& w = TurkishTable();
    constexpr int kThousands = 3;
    std::string words;
    for (int triad = 0; triad < 5; ++triad) {
        const int h = digits.Integer[triad * 3] - '0';
        const int t = digits.Integer[triad * 3 + 1] - '0';
        const int u = digits.Integer[triad * 3 + 2] - '0';
        if (h == 0 && t == 0 && u == 0)
            continue;
        if (h == 1)
            words += w.Hundred;
        else if (h > 1)
            words += w.Units[h] + w.Hundred;
        words += w.Tens[t];
        // "BİN" alone is one thousand: no "BİR" before it unless it ends a larger group.
        if (u != 1 || triad != kThousands || t + h > 0)
            words += w.Units[u];
        words += w.Scales[triad];
    }
    if (words.empty())
        return {};
    words += ' ';
    words += text;
    return words;
}
