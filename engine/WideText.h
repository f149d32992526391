// Text helpers over the character tables: case of single characters, trimming, a character
// search and a UTF-8 decoder for wide text.
#pragma once

#include <string>
#include <string_view>

// The upper-case (lower-case) form of a character, or the character itself.
char16_t WideUpperChar(char16_t ch);
char16_t WideLowerChar(char16_t ch);

// S without leading and trailing (WideTrimLeft: leading) space-class and control-class characters.
std::u16string WideTrim(std::u16string_view s);
std::u16string WideTrimLeft(std::u16string_view s);

// 1-based position of the first Ch at or after position Start; 0 when absent or Start is out of range.
int WideCharPos(std::u16string_view s, char16_t ch, int start);

// Decodes UTF-8 leniently: stray continuation bytes stand for themselves, values above U+10FFFF
// and a sequence cut short by the end of S give U+FFFD.
std::u16string UTF8ToWideString(std::string_view s);
