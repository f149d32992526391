// Writes a small generated seed corpus for the dictionary fuzz target: maker's files made by
// the writer (with and without CHARS and PRECHARS) and a user dictionary.
#include "data/tddwriter/TddWriter.h"
#include "engine/CompressedText.h"
#include "engine/Dictionary.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
        return 2;
    }
    const fs::path dir = argv[1];
    fs::create_directories(dir);

    TddWriter::TTddWriter plain;
    plain.SetEdition(0);
    int a = plain.AddSection(u'A');
    plain.AddWord(a, u"apple", "{\\rtf1 Apfel}");
    plain.AddWord(a, u"axe", "{\\rtf1 Axt}");
    plain.AddSection(u'B');
    plain.AddWord(plain.AddSection(u'C'), u"cat", "{\\rtf1 Katze}");
    Dictionary::TDictionaryInfo info;
    info.Name = "Seed";
    info.KindKey = "TavorLanguage";
    info.LanguagePair = "ENGDEU";
    plain.SetInfo(info);
    Dictionary::TDescriptionData d;
    d.LetterLinks = u"A,B,C,";
    d.CharacterLinks = u"\u00C4,";
    d.ReverseLetters = u"\u00C4";
    plain.SetDescription(d);
    plain.Write((dir / "plain.TDD").string());

    TddWriter::TTddWriter grouped;
    grouped.AddWord(grouped.AddSection(u'A'), u"\u00C4rger", "anger");
    grouped.AddWord(grouped.AddSection(u'S'), u"See", "lake");
    d.LetterGroups = {u"A\u00C4", u"S"};
    d.Prechars = {{u"\u00DF", u'S'}};
    grouped.SetDescription(d);
    grouped.Write((dir / "grouped.TDD").string());

    // A user dictionary with one word, made through the editing operations.
    const fs::path udd = dir / "user";
    {
        using namespace Dictionary;
        TSectionTable table;
        table.fill(FreeUserEntry());
        table[0] = TSectionEntry{u'A', 0, 0, 0, 0, 0};
        table[1] = TSectionEntry{u'B', 0, 0, 0, 0, 0};
        const std::string record = CompressText("01.01#0#1#d#N#P#Ivy_Crate#Language#ENGDEU#user#");
        const std::string desc = WideToBytes(u"A,B,\r\n,\r\n");
        table[kInfoSection].Offset = 1229;
        table[kInfoSection].Length = static_cast<int>(record.size());
        table[kDescriptionSection].Offset = static_cast<int>(1229 + record.size());
        table[kDescriptionSection].Length = static_cast<int>(desc.size());
        const std::string file = std::string(kMagic)
            + EncodeAreaOffsets({1229, static_cast<std::int64_t>(1229 + record.size() + desc.size()), 0})
            + EncodeSectionTable(table) + record + desc;
        if (FILE* f = std::fopen((udd.string() + ".UDD").c_str(), "wb")) {
            std::fwrite(file.data(), 1, file.size(), f);
            std::fclose(f);
        }
        TUserDictionary user(udd.string());
        user.AddWord(u"apple", "{\\rtf1 Apfel}");
        user.AddWord(u"bee", "{\\rtf1 Biene}");
    }
    fs::rename(udd.string() + ".UDD", dir / "user.UDD.seed");
    {
        TTavorDictionary maker((dir / "plain").string());
        maker.AddWord(u"ant", "Ameise");
        maker.AddWord(u"cow", "Kuh");
    }
    fs::rename(dir / "plain.TDE", dir / "plain.TDE.seed");
    return 0;
}
