// Byte layouts of the dictionary files: the maker's ".TDD"/"TDI", the user's ".UDD" and the
// user-words companion ".TDE"; the section entry, the information block and the description.
// All integers are little-endian; UTF-16 text is UTF-16LE without mark or terminator.
#pragma once

#include "engine/LittleEndian.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace Dictionary {

constexpr std::string_view kMagic = "01.01";
constexpr int kSectionCount = 50;        // entries 0..49
constexpr int kLetterSections = 48;      // entries 0..47 hold letters
constexpr int kInfoSection = 48;         // the information block
constexpr int kDescriptionSection = 49;  // the description
constexpr int kEditionSection = 45;      // the edition of a maker's dictionary
constexpr int kNotFound = 48;            // a letter lookup that found no section
constexpr std::size_t kEntrySize = 24;
constexpr std::size_t kTableSize = kEntrySize * kSectionCount;  // 1200

// Maker's and user layout: magic, three int64 offsets at 5, table at 29.
constexpr std::int64_t kHeadOffsetsPos = 5;
constexpr std::int64_t kTablePos = 29;
constexpr std::int64_t kUserTableEnd = 1229;  // start of the word lists of a ".UDD"
constexpr std::int64_t kMakerH0 = 24;         // a maker's table lies at 5 + H0
constexpr std::int64_t kMakerDataBase = 37;   // a maker's section data lies at H0 + 13 + offset
constexpr std::int64_t kInfoEntryPos = 1181;  // entry 48 at 29 + 48 * 24
// User-words file: three int64 offsets at 0, table at 24.
constexpr std::int64_t kUserWordsTablePos = 24;
constexpr std::int64_t kUserWordsHeadSize = 1224;
constexpr std::size_t kIndexRecordSize = 16;  // ".UDD" and ".TDE" index records

constexpr char16_t kFreeLetterUser = u'#';   // unused entries of a ".UDD"
constexpr char16_t kFreeLetterWords = u' ';  // unused entries of a ".TDE"

// A file that does not follow its layout (truncated, offsets outside the file ...).
class EDictionaryFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TSectionEntry {
    char16_t Letter = 0;
    std::int32_t Offset = 0;
    std::int32_t Length = 0;          // bytes of the section's data
    std::int32_t FirstWordIndex = 0;  // absolute index of the section's first word
    std::int32_t WordCount = 0;
    std::uint8_t Free = 1;  // 1 = entry not in use

    bool operator==(const TSectionEntry&) const = default;
};
using TSectionTable = std::array<TSectionEntry, kSectionCount>;

struct TAreaOffsets {
    std::int64_t H0 = 0;  // section-table base (maker's), start of the word lists (user files)
    std::int64_t H1 = 0;  // start of the article-offset index
    std::int64_t H2 = 0;  // start of the article area
};

// One record of the ".UDD"/".TDE" article index: int64 offset, int64 byte length.
struct TIndexRecord {
    std::int64_t Offset = 0;
    std::int64_t Length = 0;
};

// --- section entries and tables
TSectionEntry DecodeSectionEntry(const char* p);           // 24 bytes
void EncodeSectionEntry(const TSectionEntry& e, char* p);  // 24 bytes
void AppendSectionEntry(std::string& out, const TSectionEntry& e);
TSectionTable DecodeSectionTable(std::string_view bytes);  // at least 1200 bytes
std::string EncodeSectionTable(const TSectionTable& table);
TAreaOffsets DecodeAreaOffsets(std::string_view bytes);  // 24 bytes
std::string EncodeAreaOffsets(const TAreaOffsets& offsets);
std::vector<TIndexRecord> DecodeIndexRecords(std::string_view bytes);  // whole records only
std::string EncodeIndexRecords(const std::vector<TIndexRecord>& records);

// A ".UDD" entry: unused "#" entry with free flag 1.
TSectionEntry FreeUserEntry();
// A ".TDE" entry: unused " " entry with free flag 1.
TSectionEntry FreeWordsEntry();

// --- information block (section 48): fields each followed by "#"
struct TDictionaryInfo {
    std::string Version = "01.01";
    std::string Reserved = "0";
    std::string Number = "1";
    std::string Date;
    std::string Name;
    std::string Description;   // the publisher, for the wizard's dictionaries
    std::string ShellTag;      // "@X1" or "Ivy_Crate"
    std::string KindKey;       // "TavorLanguage", "TavorGeneral", "Language", "General"
    std::string LanguagePair;  // source code then target code, 3 characters each
    std::string FileName;
    std::string Sounds;  // "Sounds" when the dictionary has pronunciations
};
constexpr int kInfoFieldCount = 11;

// The 11 fields in order; a field missing at the end reads as empty.
std::vector<std::string> SplitInfoFields(std::string_view text);
TDictionaryInfo ParseInfoBlock(std::string_view text);
// The text of the block: every field followed by "#"; an empty Sounds field is left out.
std::string BuildInfoBlock(const TDictionaryInfo& info);

// --- description (section 49)
struct TPrecharsEntry {
    std::u16string Text;  // the letters to be replaced
    char16_t Letter = 0;  // the replacement letter
};

struct TDescriptionData {
    std::u16string LetterLinks;                // line 1: letter panel, first row
    std::u16string CharacterLinks;             // line 2: letter panel, second row
    std::u16string ReverseLetters;             // line 3: letters of the other direction (optional)
    std::vector<std::u16string> LetterGroups;  // CHARS: group k = letters of section k
    std::vector<TPrecharsEntry> Prechars;      // PRECHARS substitutions
};

// The line-list text of a description: lines 1 and 2, line 3 when there are reverse letters
// or name=value lines follow, then CHARS and PRECHARS.
std::u16string BuildDescription(const TDescriptionData& d);

// Keys of the substitution lines: "1" n "0" and "2" n "0".
std::u16string PrecharsTextKey(int n);
std::u16string PrecharsLetterKey(int n);

// A whole decimal number with an optional sign, as the readers accept it; false for any
// other text and for values outside int32.
bool ParseInteger(std::u16string_view text, std::int32_t& value);

// The edition of a maker's dictionary from the text of entry 45: 0..4 as they are, any other
// number 0, a text that is not a number 5.
std::uint8_t EditionFromText(std::u16string_view text);

}  // namespace Dictionary
