// The language table "NISO.dat": 21 records of 60 bytes (number, two three-letter codes, name),
// shipped with the program and never written.
#pragma once

#include "engine/ShortString.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct TLanguageRecord {
    std::int16_t LanguageId = 0;
    TShortString<3> CodeA;  // the code used in information blocks and the catalogue
    TShortString<3> CodeB;
    TShortString<49> LanguageName;

    static constexpr std::size_t Size = 60;
};

static_assert(sizeof(TLanguageRecord) == TLanguageRecord::Size);
static_assert(offsetof(TLanguageRecord, CodeA) == 2);
static_assert(offsetof(TLanguageRecord, CodeB) == 6);
static_assert(offsetof(TLanguageRecord, LanguageName) == 10);

// The language table could not be opened (missing file) or read (shorter than 21 records).
class ELanguageTableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TNISOManager {
public:
    static constexpr int RecordCount = 21;

    // Reads the table; throws ELanguageTableError when the file is missing or too short.
    explicit TNISOManager(const std::string& FileName);

    // Kind 0: the number in decimal, 1: CodeA, 2: CodeB, 3: the name; empty when no record
    // has LanguageId or Kind is another value.
    std::string GetLanguageText(std::int16_t LanguageId, std::uint8_t Kind) const;

    // The number of the first record whose CodeA (Kind 1), CodeB (2) or name (3) equals Text
    // exactly; -1 when none does or Kind is another value.
    std::int16_t FindLanguageId(const std::string& Text, std::uint8_t Kind) const;

    // The 21 names in file order, each followed by CR LF.
    std::string GetLanguageNames() const;

    std::vector<TLanguageRecord> Languages;
};
