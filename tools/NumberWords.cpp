#include "tools/NumberWords.h"

#include "platform/Locale.h"
#include "tools/NumberWordTable.h"
#include "tools/RussianNumberWords.h"

#include <optional>

namespace {

// The value truncated toward zero when that fits a signed 32-bit integer.
std::optional<std::int32_t> TruncToInt32(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))  // false for NaN too
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace

void NumberToWords(std::uint8_t language, std::uint8_t decimals, std::string_view text, std::string& result,
                   double value)
{
    switch (language) {
    case nlEnglish:
        result = NumberToEnglish(decimals, text, value);
        return;
    case nlRussian:
        result = RussianNumberWords(value);
        return;
    case nlTurkish:
        result = NumberToTurkish(decimals, text, value);
        return;
    case nlGerman:
    case nlSpanish:
    case nlFrench:
    case nlItalian:
        break;
    default:
        return;
    }
    std::optional<std::int32_t> n = TruncToInt32(value);
    if (!n) {
        if (language == nlSpanish)  // let the speller raise the matching error
            NumberToSpanish(value < 0 ? -1 : 1000000000);
        result.clear();
        return;
    }
    switch (language) {
    case nlGerman:
        result = NumberToGerman(*n);
        break;
    case nlSpanish:
        result = NumberToSpanish(*n);
        break;
    case nlFrench:
        result = NumberToFrench(*n);
        break;
    default:
        result = NumberToItalian(*n);
        break;
    }
}

int NumberWordsCodePage(std::uint8_t language)
{
    switch (language) {
    case nlRussian:
        return kCyrillicCodePage;
    case nlTurkish:
        return kTurkishCodePage;
    default:
        return kWesternCodePage;
    }
}

std::u16string NumberWordsToWide(std::uint8_t language, std::string_view words)
{
    return Platform::AnsiToWide(words, NumberWordsCodePage(language));
}
