// Text helpers of the number spellers: fixed-point formatting and small string edits.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Value right-aligned in Width characters with Decimals digits after a "." (never a
// locale's separator), rounded to the nearest representable text; no thousands separators.
// Longer texts are not cut.
std::string FormatFixed(int width, int decimals, double value);

// A copy of Text without every occurrence of Ch and without NUL characters.
std::string RemoveChar(std::string_view text, char ch);

// Puts Ch in front of Text until it has Length characters; longer texts stay as they are.
std::string PadLeft(std::string_view text, std::size_t length, char ch);

// Integer digits and fraction of a value as the English and Turkish spellers read it:
// FormatFixed(15, Decimals), spaces removed, cut to 20 characters, split at the ".",
// the fraction cut to 5 characters. Valid only when the value is finite, not negative
// and its integer part has at most MaxDigits digits.
struct TFixedDigits {
    bool Valid = false;
    std::string Integer;   // digits only, left-padded with "0" to MaxDigits
    std::string Fraction;  // up to 5 characters after the ".", empty when there is no "."
};
TFixedDigits SplitFixedDigits(int decimals, double value, std::size_t maxDigits);
