// Writes a small seed corpus for the catalog fuzz target: a catalogue, a language table,
// learning lists and dictionary heads with information blocks, each behind its selector byte.
#include "engine/CompressedText.h"
#include "engine/DictManager.h"
#include "engine/LearnDictionary.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void PutInt(std::string& bytes, std::size_t at, long long value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + i] = static_cast<char>((static_cast<unsigned long long>(value) >> (8 * i)) & 0xFF);
}

std::string Dictionary(const std::string& info, bool userLayout)
{
    std::string bytes = "01.01";
    bytes.resize(1229, '\0');
    PutInt(bytes, 5, userLayout ? 1229 : 24, 8);
    const std::string record = CompressText(info);
    bytes[1181] = '#';
    PutInt(bytes, 1185, userLayout ? 1229 : 1229 - 37, 4);
    PutInt(bytes, 1189, static_cast<long long>(record.size()), 4);
    return bytes + record;
}

void Seed(const fs::path& corpus, const std::string& name, char selector, const std::string& bytes)
{
    std::ofstream out(corpus / name, std::ios::binary | std::ios::trunc);
    out.put(selector);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: seeds_catalog <corpus folder>\n";
        return 2;
    }
    const fs::path corpus = argv[1];
    fs::create_directories(corpus);
    const fs::path work = corpus / ".work";
    fs::create_directories(work);

    const std::string maker =
        Dictionary("01.01#0#1#today#English-German#FreeDict#@X1#TavorLanguage#ENGGER#eng-ger.TDD#Sounds#", false);
    const std::string user = Dictionary("01.01#0#2#today#Mine#Me#Ivy_Crate#General#RUSRUS#mine.UDD#", true);
    Seed(corpus, "install-tdd", 3, maker);
    Seed(corpus, "install-udd", 4, user);

    {
        std::ofstream(work / "a.TDD", std::ios::binary) << maker;
        std::ofstream(work / "b.UDD", std::ios::binary) << user;
        TDictManager manager((work / "DICTIONARYS.DNT").string());
        manager.InstallDictionary((work / "a.TDD").string());
        manager.InstallDictionary((work / "b.UDD").string());
        Seed(corpus, "catalogue", 0, ReadAll(work / "DICTIONARYS.DNT"));
    }

    std::string table(21 * 60, '\0');
    const char* names[] = {"English", "German", "Russian"};
    const char* codes[] = {"ENG", "GER", "RUS"};
    for (int i = 0; i < 21; ++i) {
        PutInt(table, i * 60, i + 1, 2);
        const std::string code = codes[i % 3], name = names[i % 3];
        table[i * 60 + 2] = 3;
        table.replace(i * 60 + 3, 3, code);
        table[i * 60 + 6] = 3;
        table.replace(i * 60 + 7, 3, code);
        table[i * 60 + 10] = static_cast<char>(name.size());
        table.replace(i * 60 + 11, name.size(), name);
    }
    Seed(corpus, "language-table", 1, table);

    {
        TLearnDictionary store(work.string());
        store.SetLanguagePair("ENGGER");
        store.NewList();
        Seed(corpus, "list-empty", 2, ReadAll(work / "TempList.tmp"));
        store.AddWord(10, u"house", "{\\rtf1 Haus}");
        store.AddWord(11, u"tree", "{\\rtf1 Baum}");
        store.AddWord(12, u"\u0434\u043e\u043c", "{\\rtf1 dom}");
        Seed(corpus, "list-three", 2, ReadAll(work / "TempList.tmp"));
    }
    fs::remove_all(work);
    return 0;
}
