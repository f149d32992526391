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

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Whether Next, written right after a control word, would be read as part of it: after the
// word's letters a letter, digit or hyphen runs on (a hyphen as a sign); after its number
// only a digit does. A space right after either is taken for the word's delimiter.
bool RunsOn(TRtfWriter::TDelimiter after, char16_t next)
{
    if (after == TRtfWriter::TDelimiter::None)
        return false;
    if (next == u' ' || IsDigit(next))
        return true;
    const bool letter = (next >= u'a' && next <= u'z') || (next >= u'A' && next <= u'Z');
    return after == TRtfWriter::TDelimiter::AfterLetters && (letter || next == u'-');
}

TRtfWriter::TDelimiter DelimiterAfter(std::string_view word)
{
    return !word.empty() && IsDigit(static_cast<char16_t>(word.back())) ? TRtfWriter::TDelimiter::AfterDigits
                                                                        : TRtfWriter::TDelimiter::AfterLetters;
}

// "\fK" or "\cfK" and what follows it in a table, with a space only where it would run on.
void AppendAfterControl(std::string& out, std::string_view word, std::string_view text)
{
    out += '\\';
    out += word;
    if (!text.empty() && RunsOn(DelimiterAfter(word), static_cast<unsigned char>(text.front())))
        out += ' ';
    out += text;
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
    Pending = DelimiterAfter(word);
    return *this;
}

TRtfWriter& TRtfWriter::Open()
{
    Body += '{';
    Pending = TDelimiter::None;
    return *this;
}

TRtfWriter& TRtfWriter::Close()
{
    Body += '}';
    Pending = TDelimiter::None;
    return *this;
}

void TRtfWriter::Delimit(char16_t next)
{
    if (RunsOn(Pending, next))
        Body += ' ';
    Pending = TDelimiter::None;
}

TRtfWriter& TRtfWriter::Text(std::u16string_view text)
{
    for (char16_t c : text) {
        if (c < 0x20)
            continue;
        Delimit(c);
        if (c < 0x80) {
            if (c == u'\\' || c == u'{' || c == u'}')
                Body += '\\';
            Body += static_cast<char>(c);
        } else if (const std::uint8_t b = Map.ByteOf(c)) {
            Body += static_cast<char>(b);
        } else {
            // No fallback character follows ("\uc0" in the head): the number ends the word.
            Body += "\\u";
            Body += std::to_string(static_cast<std::int16_t>(c));
            Pending = TDelimiter::AfterDigits;
            UsesUnicode = true;
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
    if (UsesUnicode)
        out += "\\uc0";
    out += "{\\fonttbl";
    for (std::size_t i = 0; i < FontsUsed.size(); ++i) {
        // The table's end ends the last name as well as a semicolon would.
        AppendAfterControl(out, "f" + std::to_string(i), Platform::WideToAnsi(Fonts[FontsUsed[i]], 1252));
        if (i + 1 < FontsUsed.size())
            out += ';';
    }
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
