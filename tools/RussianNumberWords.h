// Russian number words with the agreement Russian needs (masculine or feminine one and two;
// one/few/many forms of scale and money words) and amounts in rubles and kopecks.
// Results are 8-bit text in Windows-1251.
#pragma once

#include <cstdint>
#include <string>

// Kopeck modes of NumberToRussian.
enum TKopeckMode : std::uint8_t {
    kmNone = 0,         // no kopeck part
    kmWordsShort = 1,   // kopecks in words, "коп."
    kmWordsFull = 2,    // kopecks in words, the full word in its form
    kmDigitsShort = 3,  // kopecks as two digits, "коп."
    kmDigitsFull = 4,   // kopecks as two digits, the full word
};

// Kinds of the ruble word (0 none, 1 "руб.", 2 full) and of the scale words (1 abbreviated,
// 2 full, any other value none).
enum TRussianWordKind : std::uint8_t { rwNone = 0, rwShort = 1, rwFull = 2 };

// Word types of RussianScaleWord and RussianTriad.
enum TRussianWordType : int {
    rtKopecks = 0,
    rtRubles = 1,  // the units triad
    rtThousands = 2,
    rtMillions = 3,
    rtBillions = 4,
    rtTrillions = 5,
};

struct TRussianSplit {
    int Kopecks = 0;  // 0..99
    int Units = 0, Thousands = 0, Millions = 0, Billions = 0, Trillions = 0;
};

struct TRussianDigits {
    int Units = 0, Tens = 0, Hundreds = 0;
};

// A number, or an amount of money, in words. Negative values are put in parentheses. Values
// that are not finite or reach 10^15 give the empty text, as does any failure inside.
std::string NumberToRussian(std::uint8_t kopeckMode, std::uint8_t rubleKind, std::uint8_t scaleKind, double value);

// Plain number words with full scale words: NumberToRussian(0, 0, 2, Value).
std::string RussianNumberWords(double value);

// Kopecks (two decimals, rounded half to even; 100 carries into the rubles) and the five
// triads of the integer part of a non-negative value. Throws std::out_of_range for a value
// that is negative, not finite or not below 10^15.
TRussianSplit RussianSplit(double value);

// Words of a triad, a space and its scale or ruble word of kind Kind.
std::string RussianTriad(int triad, int type, std::uint8_t kind);

// Words of N (0..999); the thousands use the feminine "одна", "две". Zero is "ноль".
std::string RussianTriadWords(int n, bool feminine);

// Words of 10 * T + U; zero gives "" when NoZero, else "ноль".
std::string RussianTwoDigits(int u, int t, bool feminine, bool noZero);

// Word of a digit 1..9; any other value gives "".
std::string RussianUnitWord(int d, bool feminine);

// The scale or money word of Type and Kind in the form that agrees with a number ending in
// the digits T, U.
std::string RussianScaleWord(int u, int t, int type, std::uint8_t kind);

// Digits of a number 0..999.
TRussianDigits RussianDigits(int n);

// "0".."9" of a digit.
char DigitChar(int d);
