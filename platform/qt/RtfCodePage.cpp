#include "platform/qt/RtfCodePage.h"

#include "platform/Locale.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace RichText {

int SupportedCodePage(int codePage)
{
    return codePage >= 1250 && codePage <= 1258 ? codePage : 1252;
}

int CodePageOfCharset(int charset, int ansiCodePage)
{
    switch (charset) {
    case 0:  // ANSI
    case 2:  // symbol fonts: their bytes are shown as the Western page has them
        return 1252;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 238:
        return 1250;
    default:
        return SupportedCodePage(ansiCodePage);
    }
}

int CharsetOfCodePage(int codePage)
{
    switch (codePage) {
    case 1250:
        return 238;
    case 1251:
        return 204;
    case 1253:
        return 161;
    case 1254:
        return 162;
    case 1255:
        return 177;
    case 1256:
        return 178;
    case 1257:
        return 186;
    case 1258:
        return 163;
    default:
        return 0;
    }
}

std::uint8_t TCodePageTable::ByteOf(char16_t c) const
{
    if (c < 0x80)
        return static_cast<std::uint8_t>(c);
    const auto it = std::lower_bound(HighChars.begin(), HighChars.end(), c);
    if (it == HighChars.end() || *it != c)
        return 0;
    return HighBytes[static_cast<std::size_t>(it - HighChars.begin())];
}

namespace {

std::unique_ptr<TCodePageTable> MakeTable(int codePage)
{
    auto table = std::make_unique<TCodePageTable>();
    for (int b = 0; b < 256; ++b) {
        char16_t c = u'\uFFFD';
        try {
            const std::u16string wide = Platform::AnsiToWide(std::string(1, static_cast<char>(b)), codePage);
            if (wide.size() == 1)
                c = wide[0];
        } catch (const Platform::ECodePageError&) {
        }
        table->ToWide[static_cast<std::size_t>(b)] = b < 0x80 ? static_cast<char16_t>(b) : c;
    }
    // Characters of 0x80..0xFF that map back (not undefined, not below 0x80), sorted for the
    // search; the rest of the array holds U+FFFF.
    std::vector<std::pair<char16_t, std::uint8_t>> high;
    for (int b = 0x80; b < 256; ++b) {
        const char16_t c = table->ToWide[static_cast<std::size_t>(b)];
        if (c != u'\uFFFD' && c >= 0x80)
            high.emplace_back(c, static_cast<std::uint8_t>(b));
    }
    std::stable_sort(high.begin(), high.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    table->HighChars.fill(u'\uFFFF');
    for (std::size_t i = 0; i < high.size(); ++i) {
        table->HighChars[i] = high[i].first;
        table->HighBytes[i] = high[i].second;
    }
    return table;
}

}  // namespace

const TCodePageTable& CodePageTable(int codePage)
{
    codePage = SupportedCodePage(codePage);
    static std::mutex lock;
    static std::map<int, std::unique_ptr<TCodePageTable>> tables;
    std::lock_guard guard(lock);
    auto& slot = tables[codePage];
    if (!slot)
        slot = MakeTable(codePage);
    return *slot;
}

}  // namespace RichText
