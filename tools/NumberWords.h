// Numbers written out in words in seven languages. Every result is 8-bit text in the code page
// of its language (NumberWordsCodePage); spaces and joins are part of the text as the window
// shows it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// Language indexes of NumberToWords.
enum TNumberLanguage : std::uint8_t {
    nlEnglish = 0,
    nlGerman = 1,
    nlSpanish = 2,
    nlFrench = 3,
    nlItalian = 4,
    nlRussian = 5,
    nlTurkish = 6,
};

// The conversion error of the Spanish speller; what() is UTF-8.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Spells Value in the language of index Language into Result; any other index leaves Result
// untouched. Decimals and Text reach only English and Turkish. German, Spanish, French and
// Italian take the value truncated toward zero to a 32-bit integer; a value outside that range
// gives the empty text (Spanish raises its EConvertError instead). Russian takes the value as
// RussianNumberWords does.
void NumberToWords(std::uint8_t language, std::uint8_t decimals, std::string_view text, std::string& result,
                   double value);

// Words of the integer part, "." and up to 5 fraction digits when Decimals > 0, then " " and
// Text. Zero without a fraction, a negative value and integer parts above 12 digits give "".
std::string NumberToEnglish(std::uint8_t decimals, std::string_view text, double value);

// Words of the integer part (the fraction is dropped), then " " and Text. Zero, a negative value
// and integer parts above 15 digits give "".
std::string NumberToTurkish(std::uint8_t decimals, std::string_view text, double value);

// Zero and negative numbers give "".
std::string NumberToGerman(std::int32_t n);

// Throws EConvertError for a negative number or one above 999,999,999; zero gives "Cero".
std::string NumberToSpanish(std::int32_t n);

// Zero gives "zéro"; negative numbers give "".
std::string NumberToFrench(std::int32_t n);

// Negative numbers are spelled after "Meno ".
std::string NumberToItalian(std::int32_t n);

// The code page of a language's words (1252, 1251 for Russian, 1254 for Turkish; 1252 for an
// unknown index).
int NumberWordsCodePage(std::uint8_t language);

// A speller's result as UTF-16 for display.
std::u16string NumberWordsToWide(std::uint8_t language, std::string_view words);
