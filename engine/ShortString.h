// Length-prefixed 8-bit string of fixed capacity, as stored in catalogue and language records:
// one length byte, then MaxLength bytes of characters (unused bytes zero when we write them).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

template <std::size_t MaxLength> struct TShortString {
    static_assert(MaxLength > 0 && MaxLength < 256);

    std::uint8_t Length = 0;
    char Chars[MaxLength] = {};

    // The characters; a damaged length byte above the capacity reads as the capacity.
    std::string Str() const { return std::string(Chars, std::min<std::size_t>(Length, MaxLength)); }

    // Stores Text, cut to the capacity, and zero-fills the rest.
    void Assign(std::string_view text)
    {
        std::size_t n = std::min(text.size(), MaxLength);
        std::memset(Chars, 0, MaxLength);
        std::memcpy(Chars, text.data(), n);
        Length = static_cast<std::uint8_t>(n);
    }

    bool operator==(std::string_view text) const { return Str() == text; }
};
