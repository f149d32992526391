// Writes seed packages for the package fuzz target: a small dictionary followed by a cabinet
// made with gcab and the trailer, and the same with a damaged trailer.
#include "data/tddwriter/TddWriter.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const fs::path& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Trailer(std::uint64_t length)
{
    std::string out;
    for (int i = 0; i < 8; ++i, length >>= 8)
        out += static_cast<char>(length & 0xFF);
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: seeds_package FOLDER\n";
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path work = out / ".work";
    fs::create_directories(work / "files");
    TddWriter::TTddWriter w;
    const int a = w.AddSection(u'A');
    w.AddWord(a, u"apple", "{\\rtf1 apple\\par}");
    Dictionary::TDictionaryInfo info;
    info.Name = "Seed";
    info.KindKey = "TavorLanguage";
    info.LanguagePair = "ENGFRE";
    info.FileName = "FUZZ_T";
    w.SetInfo(info);
    w.SetEdition(2);
    w.Write((work / "d.TDD").string());
    const std::string dictionary = ReadAll(work / "d.TDD");
    Write(work / "files" / "1.idx", std::string(24, '\0'));
    Write(work / "files" / "1.snd", "sound");
    const std::string command = "cd '" + (work / "files").string() + "' && gcab -c -z ../c.cab 1.idx 1.snd";
    std::string cabinet;
    if (std::system(command.c_str()) == 0)
        cabinet = ReadAll(work / "c.cab");
    Write(out / "package", dictionary + cabinet + Trailer(dictionary.size()));
    Write(out / "no-cabinet", dictionary + Trailer(dictionary.size()));
    Write(out / "long-trailer", dictionary + cabinet + Trailer(dictionary.size() + cabinet.size() + 1));
    fs::remove_all(work);
    return 0;
}
