// Rich text as a rich-edit control writes it: "\ansicpg" of an 8-bit code page, characters
// of that code page as "\'hh", every other character as "\uN?" (N a signed 16-bit number).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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

class TRtfWriter {
public:
    // fonts: the font table's entries "name" in order; colours: RGB values of colours 1..n.
    TRtfWriter(const TCodePageMap& map, std::u16string_view fontTable, std::string_view colourTable);

    TRtfWriter& Control(std::string_view word);  // "\b", "\cf2", "\par" ...
    TRtfWriter& Text(std::u16string_view text);
    TRtfWriter& Paragraph();  // "\par" and a line break
    std::string Finish();     // closes the document

private:
    const TCodePageMap& Map;
    std::string Out;
    bool NeedDelimiter = false;
};

}  // namespace SampleData
