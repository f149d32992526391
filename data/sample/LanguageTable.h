// Our table of 21 languages: the records of "NISO.dat" and, for the languages written in
// Latin, Cyrillic or Greek letters, their alphabets ("Alphabets.dat", letter sections).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace SampleData {

struct TLanguage {
    std::int16_t Id;    // Windows primary language id
    const char* CodeA;  // code of information blocks and catalogue records
    const char* CodeB;  // ISO 639-3 code
    const char* Name;
    std::uint32_t LCID;  // collation and case of the language
    // Letters of the first alphabet line (upper case, in the language's order), UTF-8;
    // empty for a language written in another script.
    const char* Letters;
    // Pairs "letter, section letter" for letters that file under another letter (German
    // Ä with A), UTF-8, two characters per pair.
    const char* FiledUnder;
    // Lower-case letters that only the second line (keyboard, character links) carries.
    const char* ExtraLower;
};

const std::vector<TLanguage>& Languages();

// The language whose CodeA is code; throws std::invalid_argument when none is.
const TLanguage& LanguageByCode(const std::string& code);

// The 21 records of "NISO.dat" (60 bytes each, 1260 bytes).
std::string BuildNisoFile();

// Alphabet lines of one language: line 1 (letter links, upper case) and line 2 (character
// links and keyboard, lower case); comma-terminated entries, each entry after the first
// followed by its spacing, the distance from the entry before it.
std::u16string AlphabetLine1(const TLanguage& language);
std::u16string AlphabetLine2(const TLanguage& language);

// "Alphabets.dat": UTF-16LE with byte-order mark; each Latin, Cyrillic or Greek language is
// its CodeA line followed by its two alphabet lines; CR LF after every line.
std::string BuildAlphabetsFile();

// Letters of a language: the upper-case letters of line 1 and the lower-case ones of line 2.
std::u16string UpperLetters(const TLanguage& language);
std::u16string LowerLetters(const TLanguage& language);

}  // namespace SampleData
