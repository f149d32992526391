#include "tools/NumberFormat.h"
#include "tools/NumberWordTable.h"
#include "tools/NumberWords.h"

namespace {

struct TEnglishWords {
    std::vector<std::string> Units, Tens, Teens, Scales;
    std::string Hundred;
};

const TEnglishWords& EnglishTable()
{
    static const TEnglishWords words{
        NumberWordTable({"", "ONE ", "TWO ", "THREE ", "FOUR ", "FIVE ", "SIX ", "SEVEN ", "EIGHT ", "NINE "},
                        kWesternCodePage),
        NumberWordTable(
            {"", "TEN ", "TWENTY ", "THIRTY ", "FORTY ", "FIFTY ", "SIXTY ", "SEVENTY ", "EIGHTY ", "NINETY "},
            kWesternCodePage),
        NumberWordTable({"", "ELEVEN ", "TWELVE ", "THIRTEEN ", "FOURTEEN ", "FIFTEEN ", "SIXTEEN ", "SEVENTEEN ",
                         "EIGHTEEN ", "NINETEEN "},
                        kWesternCodePage),
        NumberWordTable({" BILLION ", " MILLION ", " THOUSAND ", ""}, kWesternCodePage),
        NumberWordBytes(" HUNDRED ", kWesternCodePage),
    };
    return words;
}

}  // namespace

std::string NumberToEnglish(std::uint8_t decimals, std::string_view text, double value)
{
    const TFixedDigits digits = SplitFixedDigits(decimals, value, 12);
    if (!digits.Valid)
        return {};
    const TEnglishWords& w = EnglishTable();
    std::string words;
    for (int triad = 0; triad < 4; ++triad) {
        const int h = digits.Integer[triad * 3] - '0';
        const int t = digits.Integer[triad * 3 + 1] - '0';
        const int u = digits.Integer[triad * 3 + 2] - '0';
        if (h == 0 && t == 0 && u == 0)
            continue;
        if (h > 0)
            words += w.Units[h] + w.Hundred;
        if (t == 1 && u > 0) {
            words += w.Teens[u];
        } else {
            words += w.Tens[t];
            words += w.Units[u];
        }
        words += w.Scales[triad];
    }
    if (!digits.Fraction.empty())
        words += "." + digits.Fraction;
    if (words.empty())
        return {};
    words += ' ';
    words += text;
    return words;
}
