#include "engine/RichEditText.h"
#include "engine/WideText.h"

#include <gtest/gtest.h>

namespace {

std::u16string Decode(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
        s.push_back(static_cast<char>(b));
    return UTF8ToWideString(s);
}

}  // namespace

TEST(WideText, CaseOfSingleCharacters)
{
    EXPECT_EQ(WideUpperChar(0x01C6), 0x01C4);
    EXPECT_EQ(WideUpperChar(0x01C5), 0x01C4);
    EXPECT_EQ(WideLowerChar(0x01C5), 0x01C6);
    EXPECT_EQ(WideLowerChar(0x01C4), 0x01C6);
    EXPECT_EQ(WideLowerChar(0x0130), 0x0069);
    EXPECT_EQ(WideUpperChar(0x00DF), 0x00DF);
    EXPECT_EQ(WideUpperChar(u'1'), u'1');
    EXPECT_EQ(WideUpperChar(u'a'), u'A');
    EXPECT_EQ(WideUpperChar(u'A'), u'A');
    EXPECT_EQ(WideLowerChar(u'Z'), u'z');
    EXPECT_EQ(WideUpperChar(0x0451), 0x0401);  // ё
    EXPECT_EQ(WideUpperChar(0x00E4), 0x00C4);  // ä
    EXPECT_EQ(WideUpperChar(0x0131), u'I');    // dotless i
    EXPECT_EQ(WideUpperChar(0x05D0), 0x05D0);  // a letter without case
    EXPECT_EQ(WideUpperChar(0xD83D), 0xD83D);  // a lone surrogate
}

TEST(WideText, Trim)
{
    EXPECT_EQ(WideTrim(u" \t\r\n \u00a0\u3000"), u"");
    EXPECT_EQ(WideTrim(u""), u"");
    EXPECT_EQ(WideTrim(u"  two words\t"), u"two words");
    EXPECT_EQ(WideTrim(u"\ufeff\u200bword\u200f"), u"word");
    EXPECT_EQ(WideTrim(u"x"), u"x");
    EXPECT_EQ(WideTrim(u"\u0301a\u0301"), u"\u0301a\u0301");  // marks stay
    EXPECT_EQ(WideTrimLeft(u"\n\v word  "), u"word  ");
    EXPECT_EQ(WideTrimLeft(u"  "), u"");
}

TEST(WideText, CharPos)
{
    const std::u16string s = u"abcabc";
    EXPECT_EQ(WideCharPos(s, u'a', 0), 0);
    EXPECT_EQ(WideCharPos(s, u'a', 1), 1);
    EXPECT_EQ(WideCharPos(s, u'a', 2), 4);
    EXPECT_EQ(WideCharPos(s, u'c', 6), 6);
    EXPECT_EQ(WideCharPos(s, u'c', 7), 0);
    EXPECT_EQ(WideCharPos(s, u'z', 1), 0);
    EXPECT_EQ(WideCharPos(u"", u'a', 1), 0);
}

TEST(WideText, Utf8Decoding)
{
    EXPECT_EQ(Decode({}), u"");
    EXPECT_EQ(Decode({0x41, 0xC3, 0xA9}), u"A\u00e9");
    EXPECT_EQ(Decode({0xE2, 0x82, 0xAC}), u"\u20ac");
    EXPECT_EQ(Decode({0xF0, 0x9F, 0x98, 0x80}), u"\xD83D\xDE00");
    EXPECT_EQ(Decode({0xF4, 0x90, 0x80, 0x80}), u"\uFFFD");
    EXPECT_EQ(Decode({0xC0, 0x41}), u"\uFFFD");
    EXPECT_EQ(Decode({0x80, 0xBF}), u"\u0080\u00BF");  // stray continuation bytes
    EXPECT_EQ(Decode({0xED, 0xA0, 0x80}), std::u16string(1, char16_t(0xD800)));
    EXPECT_EQ(Decode({0xC1, 0xBF}), u"\u007F");  // overlong forms are not refused
    // A sequence cut short by the end reads nothing past it.
    EXPECT_EQ(Decode({0x41, 0xE2, 0x82}), u"A\uFFFD");
    EXPECT_EQ(Decode({0xFC}), u"\uFFFD");
    EXPECT_EQ(Decode({0xFD, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF}), u"\uFFFD");
}

TEST(WideText, Utf8OutputNeverLongerThanInput)
{
    for (int lead = 0; lead < 256; ++lead) {
        for (int len = 1; len <= 7; ++len) {
            std::string s(static_cast<size_t>(len), static_cast<char>(0x9F));
            s[0] = static_cast<char>(lead);
            EXPECT_LE(UTF8ToWideString(s).size(), s.size());
        }
    }
}

TEST(RichEditText, WideCopyRange)
{
    const std::u16string s = u"abcdefghijklmnopqrstuvwxyz0123";
    EXPECT_EQ(WideCopyRange(s, 1, 24), s.substr(0, 24));
    EXPECT_EQ(WideCopyRange(s, 5, 4), u"");
    EXPECT_EQ(WideCopyRange(s, 1, 30), s);
    EXPECT_EQ(WideCopyRange(s, 30, 30), u"3");
    EXPECT_EQ(WideCopyRange(s, 0, 2), u"ab");    // clipped at the front
    EXPECT_EQ(WideCopyRange(s, 29, 99), u"23");  // and at the end
    EXPECT_EQ(WideCopyRange(u"", 1, 1), u"");
}
