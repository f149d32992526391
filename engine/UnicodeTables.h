// The program's own character knowledge: the category table "TYPE" (code-point ranges per
// category) and the case table "CASE" (simple case mappings) of the resource group "UNICODE",
// each loaded on first use, and the character tests and case mappings that rest on them.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// A missing resource ("Resource %s not found") or a damaged one.
class EUnicodeResourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Category numbers of the "TYPE" table.
enum TCharCategory : int {
    ccNonSpacingMark = 0,
    ccSpacingMark,
    ccEnclosingMark,
    ccDecimalDigit,
    ccLetterNumber,
    ccOtherNumber,
    ccSpaceSeparator = 6,
    ccLineSeparator,
    ccParagraphSeparator,
    ccControl,
    ccFormat,
    ccSupplementary,
    ccPrivateUse = 12,
    ccUnassigned,
    ccUpperCaseLetter,
    ccLowerCaseLetter,
    ccTitleCaseLetter,
    ccModifierLetter = 17,
    ccOtherLetter,
    ccConnectorPunctuation,
    ccDashPunctuation,
    ccOpenPunctuation,
    ccClosePunctuation = 22,
    ccOtherPunctuation,
    ccMathSymbol,
    ccCurrencySymbol,
    ccModifierSymbol,
    ccOtherSymbol = 27,
    ccLeftToRight,
    ccRightToLeft,
    ccEuropeanNumber,
    ccEuropeanNumberSeparator,
    ccEuropeanNumberTerminator = 32,
    ccArabicNumber,
    ccCommonNumberSeparator,
    ccParagraphBreak,
    ccSegmentSeparator = 36,
    ccWhiteSpace,
    ccOtherNeutral,
    ccComposed,
    ccNonBreaking,
    ccMirrored,
    ccHexDigit = 42,
    ccQuotationMark,
    ccReserved44,
    ccAsciiControlSpace,
    ccAssigned,
    ccInitialQuote = 47,
    ccFinalQuote
};

class TCharTypeTable {
public:
    // Reads a table in either byte order; throws EUnicodeResourceError when it is damaged.
    static TCharTypeTable Load(std::span<const std::uint8_t> data, const char* name = "TYPE");

    int CategoryCount() const { return static_cast<int>(offsets_.size()) - 1; }
    bool IsCharProperty(std::uint32_t code, int category) const;
    bool IsCharInCategories(std::uint32_t code, std::uint32_t mask1, std::uint32_t mask2) const;

private:
    std::vector<std::uint16_t> offsets_;  // N + 1 values; the last is the length of ranges_
    std::vector<std::uint32_t> ranges_;   // (first, last) pairs
};

class TCaseTable {
public:
    static TCaseTable Load(std::span<const std::uint8_t> data, const char* name = "CASE");

    std::uint32_t ToUpper(std::uint32_t code, const TCharTypeTable& types) const;
    std::uint32_t ToLower(std::uint32_t code, const TCharTypeTable& types) const;

private:
    std::uint32_t Lookup(std::uint32_t code, long lo, long hi, int field) const;

    std::vector<std::uint32_t> values_;  // T entries of three values
    long totalValues_ = 0, upperValues_ = 0, lowerValues_ = 0;
};

// The tables of the program's resources, loaded once under the module's lock.
const TCharTypeTable& UnicodeTypeTable();
const TCaseTable& UnicodeCaseTable();

bool IsCharProperty(std::uint32_t code, int category);
bool IsCharInCategories(std::uint32_t code, std::uint32_t mask1, std::uint32_t mask2);
bool IsControlChar(std::uint32_t code);
bool IsSpaceChar(std::uint32_t code);
bool IsUpperChar(std::uint32_t code);
bool IsLowerChar(std::uint32_t code);
std::uint32_t CodeToUpper(std::uint32_t code);
std::uint32_t CodeToLower(std::uint32_t code);
