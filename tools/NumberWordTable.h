// The spellers' word tables are written as UTF-8 and converted once into their 8-bit code page.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

constexpr int kWesternCodePage = 1252;   // English, German, Spanish, French, Italian
constexpr int kCyrillicCodePage = 1251;  // Russian
constexpr int kTurkishCodePage = 1254;   // Turkish

// A UTF-8 word as 8-bit text in the code page. Throws std::logic_error when the code page
// cannot hold one of its characters (a fault of the table, never of the input).
std::string NumberWordBytes(std::string_view utf8, int codePage);

// Every word of a table converted by NumberWordBytes, in the same order.
std::vector<std::string> NumberWordTable(std::initializer_list<std::string_view> utf8, int codePage);
