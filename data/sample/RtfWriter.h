// Lean rich text of one article: a font table and a colour table of only what the text uses,
// characters of the 8-bit code page as their bytes, every other character as "\uN" (N a
// signed 16-bit number, no fallback character), a space after a control word only where the
// next character would run on into it, no line breaks and no control word a reader would take
// for its default.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace SampleData {

// Maps UTF-16 code units to the bytes of a windows-125x code page (0 = not representable).
class TCodePageMap {
public:
    explicit TCodePageMap(int codePage);
    int CodePage() const { return Page; }
    std::uint8_t ByteOf(char16_t c) const { return (*Bytes)[c]; }

private:
    int Page;
    std::unique_ptr<std::array<std::uint8_t, 65536>> Bytes;
};

struct TRtfColour {
    std::uint8_t Red = 0, Green = 0, Blue = 0;
};

class TRtfWriter {
public:
    // What the last thing written needs before text that could run on into it.
    enum class TDelimiter { None, AfterLetters, AfterDigits };

    // fonts: the fonts the text may name, the first being the document's default font;
    // colours: the colours it may name, numbered from 1 (0 is the automatic colour).
    TRtfWriter(const TCodePageMap& map, std::vector<std::u16string> fonts, std::vector<TRtfColour> colours);

    TRtfWriter& Font(std::size_t n);             // "\fK": K the font's place among the fonts used
    TRtfWriter& Colour(std::size_t n);           // "\cfK": K the colour's place among the colours used
    TRtfWriter& Control(std::string_view word);  // "\b", "\li284" ...
    TRtfWriter& Open();                          // a group: what it sets ends with Close
    TRtfWriter& Close();
    TRtfWriter& Text(std::u16string_view text);
    TRtfWriter& Paragraph();  // "\par"
    std::string Finish();     // the whole document

private:
    void Delimit(char16_t next);

    const TCodePageMap& Map;
    std::vector<std::u16string> Fonts;
    std::vector<TRtfColour> Colours;
    std::vector<std::size_t> FontsUsed{0};  // the default font is always font 0
    std::vector<std::size_t> ColoursUsed;
    std::string Body;
    TDelimiter Pending = TDelimiter::None;
    bool UsesUnicode = false;
};

}  // namespace SampleData
