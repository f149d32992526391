#include "data/sample/RtfWriter.h"

#include "platform/Locale.h"

#include <unicode/utf16.h>

#include <stdexcept>

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

namespace {

// The place of n in the list of what is used, added at its end on first use.
std::size_t PlaceOf(std::vector<std::size_t>& used, std::size_t n)
{
    for (std::size_t i = 0; i < used.size(); ++i)
        if (used[i] == n)
            return i;
    used.push_back(n);
    return used.size() - 1;
}

bool EndsControlWord(char16_t c)
{
    // Letters and digits would run on into the word or its number, a space would be taken
    // for its delimiter and a hyphen for a sign.
    const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    return !(letter || (c >= u'0' && c <= u'9') || c == u' ' || c == u'-');
}

}  // namespace

TRtfWriter::TRtfWriter(const TCodePageMap& map, std::vector<std::u16string> fonts, std::vector<TRtfColour> colours)
    : Map(map),
      Fonts(std::move(fonts)),
      Colours(std::move(colours))
{
    if (Fonts.empty())
        throw std::invalid_argument("rich text needs a default font");
}

TRtfWriter& TRtfWriter::Font(std::size_t n)
{
    if (n >= Fonts.size())
        throw std::out_of_range("no such font");
    return Control("f" + std::to_string(PlaceOf(FontsUsed, n)));
}

TRtfWriter& TRtfWriter::Colour(std::size_t n)
{
    if (n > Colours.size())
        throw std::out_of_range("no such colour");
    return Control("cf" + std::to_string(n == 0 ? 0 : PlaceOf(ColoursUsed, n) + 1));
}

TRtfWriter& TRtfWriter::Control(std::string_view word)
{
    Body += '\\';
    Body += word;
    NeedDelimiter = true;
    return *this;
}

TRtfWriter& TRtfWriter::Open()
{
    Body += '{';
    NeedDelimiter = false;
    return *this;
}

TRtfWriter& TRtfWriter::Close()
{
    Body += '}';
    NeedDelimiter = false;
    return *this;
}

void TRtfWriter::Delimit(char16_t next)
{
    if (NeedDelimiter && !EndsControlWord(next))
        Body += ' ';
    NeedDelimiter = false;
}

TRtfWriter& TRtfWriter::Text(std::u16string_view text)
{
    static const char hex[] = "0123456789abcdef";
    for (char16_t c : text) {
        if (c < 0x20)
            continue;
        Delimit(c);
        if (c < 0x80) {
            if (c == u'\\' || c == u'{' || c == u'}')
                Body += '\\';
            Body += static_cast<char>(c);
        } else if (const std::uint8_t b = Map.ByteOf(c)) {
            Body += "\\'";
            Body += hex[b >> 4];
            Body += hex[b & 15];
        } else {
            Body += "\\u";
            Body += std::to_string(static_cast<std::int16_t>(c));
            Body += '?';
        }
    }
    return *this;
}

TRtfWriter& TRtfWriter::Paragraph()
{
    return Control("par");
}

std::string TRtfWriter::Finish()
{
    std::string out = "{\\rtf1";
    if (Map.CodePage() != 1252)  // without it, rich text is in the Western page
        out += "\\ansicpg" + std::to_string(Map.CodePage());
    out += "{\\fonttbl";
    for (std::size_t i = 0; i < FontsUsed.size(); ++i)
        out += "\\f" + std::to_string(i) + ' ' + Platform::WideToAnsi(Fonts[FontsUsed[i]], 1252) + ';';
    out += '}';
    if (!ColoursUsed.empty()) {
        out += "{\\colortbl;";
        for (std::size_t n : ColoursUsed) {
            const TRtfColour& c = Colours[n - 1];
            // A component left out is 0; one is named so that the entry is not automatic.
            if (c.Red != 0 || (c.Green == 0 && c.Blue == 0))
                out += "\\red" + std::to_string(c.Red);
            if (c.Green != 0)
                out += "\\green" + std::to_string(c.Green);
            if (c.Blue != 0)
                out += "\\blue" + std::to_string(c.Blue);
            out += ';';
        }
        out += '}';
    }
    out += Body;
    out += '}';
    Body.clear();
    return out;
}

}  // namespace SampleData
