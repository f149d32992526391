// Writes a small seed corpus for the text fuzz target into the folder given as argument.
#include "engine/CompressedText.h"

#include <fstream>
#include <string>

namespace {

void Seed(const std::string& dir, const std::string& name, const std::string& bytes)
{
    std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
}

std::string Utf16(const std::u16string& text, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const std::string dir = argv[1];
    const std::u16string lines = u"CHARS=2\r\n0=A\u00c4\r\nword\n\u0436\u0443\u043a\r\rlast\u2028x";
    Seed(dir, "utf16le", Utf16(lines, false));
    Seed(dir, "utf16be", Utf16(lines, true));
    Seed(dir, "ansi", "zebra\r\napple\r\nApple\r\n\xe9t\xe9\r\n");
    Seed(dir, "record", CompressText("{\\rtf1\\ansi spring \\'e9\\par}"));
    Seed(dir, "utf8", "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x90\x80\x80\xC0\x41\xE2\x82");
    return 0;
}
