#include "engine/WideText.h"

#include "engine/UnicodeTables.h"

#include <cstdint>

namespace {

bool IsTrimmed(char16_t c)
{
    return IsSpaceChar(c) || IsControlChar(c);
}

// Simple case mappings stay within the basic plane; anything else leaves the character alone.
char16_t Narrow(std::uint32_t code, char16_t original)
{
    return code <= 0xFFFF ? static_cast<char16_t>(code) : original;
}

}  // namespace

char16_t WideUpperChar(char16_t ch)
{
    return Narrow(CodeToUpper(ch), ch);
}

char16_t WideLowerChar(char16_t ch)
{
    return Narrow(CodeToLower(ch), ch);
}

std::u16string WideTrim(std::u16string_view s)
{
    size_t first = 0;
    while (first < s.size() && IsTrimmed(s[first]))
        ++first;
    if (first == s.size())
        return {};
    size_t last = s.size();
    while (IsTrimmed(s[last - 1]))
        --last;
    return std::u16string(s.substr(first, last - first));
}

std::u16string WideTrimLeft(std::u16string_view s)
{
    size_t first = 0;
    while (first < s.size() && IsTrimmed(s[first]))
        ++first;
    return std::u16string(s.substr(first));
}

int WideCharPos(std::u16string_view s, char16_t ch, int start)
{
    if (s.empty() || start < 1 || static_cast<size_t>(start) > s.size())
        return 0;
    const size_t at = s.find(ch, static_cast<size_t>(start) - 1);
    return at == std::u16string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::u16string UTF8ToWideString(std::string_view s)
{
    static constexpr std::uint32_t kOffsets[6] = {0x00000000, 0x00003080, 0x000E2080,
                                                  0x03C82080, 0xFA082080, 0x82082080};
    std::u16string out;
    out.reserve(s.size());
    const auto* b = reinterpret_cast<const unsigned char*>(s.data());
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char lead = b[i];
        const size_t extra = lead < 0xC0 ? 0
            : lead < 0xE0                ? 1
            : lead < 0xF0                ? 2
            : lead < 0xF8                ? 3
            : lead < 0xFC                ? 4
                                         : 5;
        if (extra >= s.size() - i) {
            out.push_back(0xFFFD);  // announced more bytes than remain
            break;
        }
        std::uint32_t v = 0;
        for (size_t k = 0; k < extra; ++k)
            v = (v + b[i++]) << 6;
        v += b[i++];
        v -= kOffsets[extra];
        if (v <= 0xFFFF) {
            out.push_back(static_cast<char16_t>(v));
        } else if (v > 0x10FFFF) {
            out.push_back(0xFFFD);
        } else {
            const std::uint32_t w = v - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (w >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (w & 0x3FF)));
        }
    }
    return out;
}
