// Writes a small seed corpus for the langfile fuzz target: interface-language files with
// three languages, one language, none, and records whose text lies partly outside the file.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TBlock {
    const char* Code;
    std::int16_t Id;
    std::u16string Text;
};

void PutInt(std::string& bytes, std::size_t at, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The file layout: count - 1, 56-byte records (code, id at 42, offset at 48, length at 52),
// then the UTF-16LE texts.
std::string LangFile(const std::vector<TBlock>& blocks)
{
    std::string bytes(4 + 56 * blocks.size(), '\0');
    PutInt(bytes, 0, static_cast<std::uint32_t>(blocks.size() - 1), 4);
    std::size_t offset = bytes.size();
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const std::size_t record = 4 + 56 * i;
        bytes.replace(record, 3, blocks[i].Code);
        PutInt(bytes, record + 42, static_cast<std::uint16_t>(blocks[i].Id), 2);
        PutInt(bytes, record + 48, static_cast<std::uint32_t>(offset), 4);
        PutInt(bytes, record + 52, static_cast<std::uint32_t>(blocks[i].Text.size() * 2), 4);
        offset += blocks[i].Text.size() * 2;
    }
    for (const TBlock& b : blocks)
        for (char16_t c : b.Text) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
        }
    return bytes;
}

void Seed(const fs::path& corpus, const std::string& name, const std::string& bytes)
{
    std::ofstream(corpus / name, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: seeds_langfile <corpus folder>\n";
        return 2;
    }
    const fs::path corpus = argv[1];
    fs::create_directories(corpus);
    const std::vector<TBlock> three{{"ENG", 100, u"Name=English\r\nTitle=Lexora XP\r\nFile=&File\r\n"},
                                    {"GER", 101, u"Name=Deutsch\r\nTitle=Lexora XP\r\nFile=&Datei\r\n"},
                                    {"RUS", 102, u"Name=Русский\r\nFile=&Файл\r\n"}};
    const std::string file = LangFile(three);
    Seed(corpus, "three", file);
    Seed(corpus, "one", LangFile({three[1]}));
    Seed(corpus, "none", std::string("\xFF\xFF\xFF\xFF", 4));
    std::string cut = file;
    PutInt(cut, 4 + 56 * 2 + 52, 0x7FFFFFFE, 4);
    Seed(corpus, "long-text", cut);
    Seed(corpus, "short", file.substr(0, 100));
    return 0;
}
