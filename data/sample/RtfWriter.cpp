#include "data/sample/RtfWriter.h"

#include "platform/Locale.h"

#include <unicode/utf16.h>

namespace SampleData {

TCodePageMap::TCodePageMap(int codePage)
    : Page(codePage),
      Bytes(std::make_unique<std::array<std::uint8_t, 65536>>())
{
    Bytes->fill(0);
    // Convert every non-ASCII BMP character at once and keep the ones that survive.
    std::u16string all;
    for (char32_t c = 0x80; c < 0x10000; ++c)
        all += U16_IS_SURROGATE(c) ? u'?' : static_cast<char16_t>(c);
    const std::string bytes = Platform::WideToAnsi(all, codePage);
    if (bytes.size() != all.size())
        return;  // a converter that is not one byte per character: nothing maps
    for (std::size_t i = 0; i < all.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (b >= 0x80 && all[i] != u'?')
            (*Bytes)[0x80 + i] = b;
    }
}

TRtfWriter::TRtfWriter(const TCodePageMap& map, std::u16string_view fontTable, std::string_view colourTable)
    : Map(map)
{
    Out = "{\\rtf1\\ansi\\ansicpg" + std::to_string(map.CodePage()) + "\\deff0\\deflang1033{\\fonttbl";
    std::size_t index = 0;
    std::size_t start = 0;
    while (start <= fontTable.size()) {
        std::size_t end = fontTable.find(u';', start);
        if (end == std::u16string_view::npos)
            end = fontTable.size();
        if (end > start) {
            Out += "{\\f" + std::to_string(index++) + "\\fnil\\fcharset0 ";
            Out += Platform::WideToAnsi(fontTable.substr(start, end - start), 1252);
            Out += ";}";
        }
        start = end + 1;
    }
    Out += "}\r\n{\\colortbl ;";
    Out += colourTable;
    Out += "}\r\n\\viewkind4\\uc1\\pard";
    NeedDelimiter = false;
}

TRtfWriter& TRtfWriter::Control(std::string_view word)
{
    Out += '\\';
    Out += word;
    NeedDelimiter = true;
    return *this;
}

TRtfWriter& TRtfWriter::Text(std::u16string_view text)
{
    static const char hex[] = "0123456789abcdef";
    for (char16_t c : text) {
        if (c < 0x20)
            continue;
        if (c < 0x80) {
            if (NeedDelimiter) {
                Out += ' ';
                NeedDelimiter = false;
            }
            if (c == u'\\' || c == u'{' || c == u'}')
                Out += '\\';
            Out += static_cast<char>(c);
            continue;
        }
        if (const std::uint8_t b = Map.ByteOf(c)) {
            Out += "\\'";
            Out += hex[b >> 4];
            Out += hex[b & 15];
        } else {
            Out += "\\u";
            Out += std::to_string(static_cast<std::int16_t>(c));
            Out += '?';
        }
        NeedDelimiter = false;
    }
    return *this;
}

TRtfWriter& TRtfWriter::Paragraph()
{
    Out += "\\par\r\n";
    NeedDelimiter = false;
    return *this;
}

std::string TRtfWriter::Finish()
{
    Out += "}\r\n";
    return std::move(Out);
}

}  // namespace SampleData
