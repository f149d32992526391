// Code pages of RTF text: the windows-125x page of a font's \fcharset, and byte <-> UTF-16
// tables of the single-byte pages, made once per page and shared.
#pragma once

#include <array>
#include <cstdint>

namespace RichText {

// Code pages the tables cover (windows-1250..1258); anything else falls back to 1252.
int SupportedCodePage(int codePage);

// The code page of a font charset (\fcharsetN); ansiCodePage for the default charset and for
// charsets without a single-byte windows page.
int CodePageOfCharset(int charset, int ansiCodePage);

// The \fcharset value of a code page (0 for 1252).
int CharsetOfCodePage(int codePage);

struct TCodePageTable {
    std::array<char16_t, 256> ToWide{};  // U+FFFD where the page defines no character
    // The byte of a character, 0 when the page cannot hold it (ASCII maps to itself).
    std::uint8_t ByteOf(char16_t c) const;

    std::array<char16_t, 128> HighChars{};  // ToWide of 0x80..0xFF, sorted, with their bytes
    std::array<std::uint8_t, 128> HighBytes{};
};

// The table of a supported code page (others give 1252's). Thread-safe.
const TCodePageTable& CodePageTable(int codePage);

}  // namespace RichText
