#include "DictdFixture.h"

#include "data/sample/BinaryWriter.h"
#include "data/sample/LanguageTable.h"
#include "engine/NISOManager.h"
#include "engine/WideStringList.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

using namespace SampleData;

TEST(LanguageTable, NisoFileReadsBackThroughTheLanguageTable)
{
    const std::string bytes = BuildNisoFile();
    ASSERT_EQ(bytes.size(), 1260u);
    const std::string folder = DataTest::FreshFolder("niso");
    Platform::WriteFileAtomically(folder + "/NISO.dat", bytes);
    TNISOManager table(folder + "/NISO.dat");
    std::set<std::string> codes, names;
    std::set<int> ids;
    for (const TLanguage& l : Languages()) {
        ids.insert(l.Id);
        codes.insert(l.CodeA);
        names.insert(l.Name);
    }
    EXPECT_EQ(ids.size(), 21u);
    EXPECT_EQ(codes.size(), 21u);
    EXPECT_EQ(names.size(), 21u);
    for (const char* name : {"English", "German", "French", "Spanish", "Italian", "Russian", "Turkish", "Bulgarian"}) {
        const std::int16_t id = table.FindLanguageId(name, 3);
        ASSERT_GE(id, 0) << name;
        EXPECT_EQ(table.GetLanguageText(id, 1), LanguageByCode(table.GetLanguageText(id, 1)).CodeA);
        EXPECT_EQ(table.GetLanguageText(id, 3), name);
    }
    EXPECT_EQ(table.GetLanguageText(table.FindLanguageId("GER", 1), 2), "deu");
}

// The letters the new-dictionary wizard takes from line 1: the first character of every
// token that is not a whole number.
static std::u16string WizardLetters(const std::u16string& line)
{
    std::u16string letters, token;
    for (char16_t c : line) {
        if (c != u',') {
            token += c;
            continue;
        }
        const bool number = !token.empty() && token.find_first_not_of(u"0123456789") == std::u16string::npos;
        if (!number && !token.empty())
            letters += token[0];
        token.clear();
    }
    return letters;
}

TEST(LanguageTable, AlphabetFileHasTwoLinesPerLetteredLanguage)
{
    const std::string folder = DataTest::FreshFolder("alphabets");
    Platform::WriteFileAtomically(folder + "/Alphabets.dat", BuildAlphabetsFile());
    TWideStringList list;
    list.LoadFromFile(folder + "/Alphabets.dat");
    int lettered = 0;
    for (const TLanguage& l : Languages()) {
        std::string lower = l.CodeA;  // the wizard's lookup ignores letter case
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const int at = list.IndexOf(Platform::Utf8ToWide(lower));
        if (!*l.Letters) {
            EXPECT_EQ(at, -1) << l.Name;
            continue;
        }
        ++lettered;
        ASSERT_GE(at, 0) << l.Name;
        ASSERT_LT(at + 2, list.Count());
        const std::u16string line1 = list.Get(at + 1), line2 = list.Get(at + 2);
        EXPECT_EQ(line1.back(), u',');
        EXPECT_EQ(line2.back(), u',');
        EXPECT_EQ(WizardLetters(line1), UpperLetters(l)) << l.Name;
        EXPECT_EQ(WizardLetters(line2), LowerLetters(l)) << l.Name;
        EXPECT_LE(UpperLetters(l).size(), 45u);
    }
    EXPECT_EQ(lettered, 18);
    const TLanguage& german = LanguageByCode("GER");
    EXPECT_EQ(AlphabetLine1(german).substr(0, 12), u"A,\u00C4,14,B,14,");
    EXPECT_NE(LowerLetters(german).find(u'\u00DF'), std::u16string::npos);
    EXPECT_NE(LowerLetters(LanguageByCode("TUR")).find(u'\u0131'), std::u16string::npos);
}
