// Test files of the dictionary tests: a scratch folder, small maker's dictionaries made with
// the writer, and a new user dictionary laid out as the new-dictionary wizard writes it.
#pragma once

#include "data/tddwriter/TddWriter.h"
#include "engine/CompressedText.h"
#include "engine/DictionaryFormat.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace DictionaryTest {

namespace fs = std::filesystem;

using TestFiles::ReadFile;
using TestFiles::WriteFile;

inline std::string Rtf(const std::string& text)
{
    return "{\\rtf1\\ansi\\ansicpg1252 " + text + "}";
}

// A scratch folder per test.
class TScratch : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path()
            / ("lexora-dict-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Base(const std::string& name) const { return (dir / name).string(); }

    fs::path dir;
};

inline Dictionary::TDictionaryInfo MakerInfo()
{
    Dictionary::TDictionaryInfo info;
    info.Number = "7";
    info.Date = "01.02.2024";
    info.Name = "English-German";
    info.Description = "FreeDict";
    info.ShellTag = "@X1";
    info.KindKey = "TavorLanguage";
    info.LanguagePair = "ENGDEU";
    info.FileName = "EngDeu";
    info.Sounds = "Sounds";
    return info;
}

// Sections A (apple, axe, azure), B (empty), C (cat, cow); edition 2; reverse letters ÄÖÜ.
inline void WriteSmallMaker(const std::string& path, bool withEdition = true)
{
    TddWriter::TTddWriter w;
    if (withEdition)
        w.SetEdition(2);
    int a = w.AddSection(u'A');
    w.AddWord(a, u"apple", Rtf("Apfel"));
    w.AddWord(a, u"axe", Rtf("Axt"));
    w.AddWord(a, u"azure", Rtf("azurblau"));
    w.AddSection(u'B');
    int c = w.AddSection(u'C');
    w.AddWord(c, u"cat", Rtf("Katze"));
    w.AddWord(c, u"cow", Rtf("Kuh"));
    w.SetInfo(MakerInfo());
    Dictionary::TDescriptionData d;
    d.LetterLinks = u"A,B,C,";
    d.CharacterLinks = u"\u00C4,\u00D6,";
    d.ReverseLetters = u"\u00C4\u00D6\u00DC";
    w.SetDescription(d);
    w.Write(path);
}

// A new, empty user dictionary as the wizard writes it: the letters in use, no words.
inline std::string NewUserDictionary(const std::u16string& letters, const std::string& info,
                                     const std::u16string& description)
{
    using namespace Dictionary;
    TSectionTable table;
    table.fill(FreeUserEntry());
    for (std::size_t i = 0; i < letters.size(); ++i)
        table[i] = TSectionEntry{letters[i], 0, 0, 0, 0, 0};
    const std::string record = CompressText(info);
    const std::string desc = WideToBytes(description);
    table[kInfoSection].Offset = static_cast<std::int32_t>(kUserTableEnd);
    table[kInfoSection].Length = static_cast<std::int32_t>(record.size());
    table[kDescriptionSection].Offset = static_cast<std::int32_t>(kUserTableEnd + record.size());
    table[kDescriptionSection].Length = static_cast<std::int32_t>(desc.size());
    TAreaOffsets head;
    head.H0 = kUserTableEnd;
    head.H1 = static_cast<std::int64_t>(kUserTableEnd + record.size() + desc.size());
    head.H2 = 0;
    return std::string(kMagic) + EncodeAreaOffsets(head) + EncodeSectionTable(table) + record + desc;
}

inline std::string WizardInfo()
{
    return "01.01#0#1#01.02.2024#My words#Me#Ivy_Crate#Language#ENGDEU#MyWords#";
}

}  // namespace DictionaryTest
