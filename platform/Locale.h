// National-language support: the user's locale identifier (Windows LCID), case-insensitive
// linguistic comparison under an LCID, the system code page and 8-bit <-> UTF-16 conversions.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Platform {

using LCID = std::uint32_t;

constexpr LCID kDefaultLCID = 0x0409;  // English (United States)

// The LCID of the user's POSIX locale (LC_ALL, LC_COLLATE, LANG); 0x0409 when unknown.
LCID UserDefaultLCID();

// The LCID of an ICU/POSIX locale name such as "de_DE.UTF-8"; 0x0409 when unknown.
LCID LCIDFromLocaleName(std::string_view name);

// Compares two UTF-16 strings case-insensitively under the LCID's collation (accents count).
// Returns a negative number, 0 or a positive number. Thread-safe.
int CompareTextIgnoreCase(std::u16string_view a, std::u16string_view b, LCID lcid);

// The 8-bit code page of the user's locale (1250..1254), overridable by LEXORA_CODEPAGE.
int SystemCodePage();

// The default 8-bit code page of a locale (1251 for Russian, 1252 for English, ...).
int CodePageOfLCID(LCID lcid);

class ECodePageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// 8-bit text in a windows-125x code page (0 = the system code page) to UTF-16.
// Bytes the code page does not define become U+FFFD. Throws ECodePageError for an unknown code page.
std::u16string AnsiToWide(std::string_view text, int codePage = 0);

// UTF-16 to 8-bit text in a windows-125x code page (0 = the system code page); characters
// the code page cannot hold become '?'. Sets *lossy (when given) to whether that happened.
std::string WideToAnsi(std::u16string_view text, int codePage = 0, bool* lossy = nullptr);

// UTF-8 <-> UTF-16 for the program's own literals and file names.
std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);

}  // namespace Platform
