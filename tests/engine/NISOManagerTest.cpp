#include "engine/ComboItem.h"
#include "engine/NISOManager.h"

#include "CatalogTestFiles.h"

#include <gtest/gtest.h>

using namespace CatalogTest;

namespace {

void PutShort(std::string& bytes, std::size_t at, const std::string& text, std::size_t max)
{
    bytes[at] = static_cast<char>(text.size());
    bytes.replace(at + 1, std::min(text.size(), max), text.substr(0, max));
}

struct TLanguage {
    int Id;
    std::string CodeA, CodeB, Name;
};

// 21 records; unnamed slots get id 100 + i and empty texts.
std::string MakeTable(const std::vector<TLanguage>& languages)
{
    std::string bytes(21 * 60, '\0');
    for (int i = 0; i < 21; ++i) {
        TLanguage l = i < static_cast<int>(languages.size()) ? languages[i] : TLanguage{100 + i, "", "", ""};
        const std::size_t at = i * 60;
        PutInt(bytes, at, l.Id, 2);
        PutShort(bytes, at + 2, l.CodeA, 3);
        PutShort(bytes, at + 6, l.CodeB, 3);
        PutShort(bytes, at + 10, l.Name, 49);
    }
    return bytes;
}

const std::vector<TLanguage> kLanguages = {
    {1, "ENG", "EN1", "English"},
    {2, "GER", "DE1", "German"},
    {-3, "RUS", "RU1", "Russian"},
    {4, "GR2", "EL1", "German"},  // a second record of the same name
};

}  // namespace

TEST(NISOManager, MissingOrShortTableRaises)
{
    TScratchFolder scratch;
    EXPECT_THROW(TNISOManager(scratch / "NISO.dat"), ELanguageTableError);
    WriteBytes(scratch / "NISO.dat", MakeTable(kLanguages).substr(0, 1259));
    EXPECT_THROW(TNISOManager(scratch / "NISO.dat"), ELanguageTableError);
    WriteBytes(scratch / "NISO.dat", MakeTable(kLanguages) + "trailing bytes are not read");
    EXPECT_EQ(TNISOManager(scratch / "NISO.dat").Languages.size(), 21u);
}

TEST(NISOManager, LookupsByNumberAndText)
{
    TScratchFolder scratch;
    WriteBytes(scratch / "NISO.dat", MakeTable(kLanguages));
    TNISOManager table(scratch / "NISO.dat");

    EXPECT_EQ(table.GetLanguageText(2, 0), "2");
    EXPECT_EQ(table.GetLanguageText(-3, 0), "-3");
    EXPECT_EQ(table.GetLanguageText(2, 1), "GER");
    EXPECT_EQ(table.GetLanguageText(2, 2), "DE1");
    EXPECT_EQ(table.GetLanguageText(2, 3), "German");
    EXPECT_EQ(table.GetLanguageText(2, 4), "");
    for (std::uint8_t kind = 0; kind < 4; ++kind)
        EXPECT_EQ(table.GetLanguageText(99, kind), "") << int(kind);

    EXPECT_EQ(table.FindLanguageId("RUS", 1), -3);
    EXPECT_EQ(table.FindLanguageId("EN1", 2), 1);
    EXPECT_EQ(table.FindLanguageId("German", 3), 2);   // the first of two
    EXPECT_EQ(table.FindLanguageId("german", 3), -1);  // case counts
    EXPECT_EQ(table.FindLanguageId("ENG", 2), -1);
    EXPECT_EQ(table.FindLanguageId("ENG", 0), -1);
    EXPECT_EQ(table.FindLanguageId("1", 0), -1);
    EXPECT_EQ(table.FindLanguageId("ENG", 4), -1);

    // The wizard's path from a chosen name to the catalogue code.
    EXPECT_EQ(table.GetLanguageText(table.FindLanguageId("Russian", 3), 1), "RUS");
}

TEST(NISOManager, NamesAreTwentyOneLinesEmptyOnesIncluded)
{
    TScratchFolder scratch;
    WriteBytes(scratch / "NISO.dat", MakeTable(kLanguages));
    std::string names = TNISOManager(scratch / "NISO.dat").GetLanguageNames();
    std::string expected = "English\r\nGerman\r\nRussian\r\nGerman\r\n";
    for (int i = 4; i < 21; ++i)
        expected += "\r\n";
    EXPECT_EQ(names, expected);
}

TEST(NISOManager, LengthByteAboveTheFieldReadsOnlyTheField)
{
    TScratchFolder scratch;
    std::string bytes = MakeTable(kLanguages);
    bytes[2] = static_cast<char>(250);   // CodeA of record 0
    bytes[10] = static_cast<char>(255);  // its name
    WriteBytes(scratch / "NISO.dat", bytes);
    TNISOManager table(scratch / "NISO.dat");
    EXPECT_EQ(table.GetLanguageText(1, 1), "ENG");
    EXPECT_EQ(table.GetLanguageText(1, 3).size(), 49u);
    EXPECT_EQ(table.GetLanguageText(1, 3).substr(0, 7), "English");
}

TEST(ComboItem, KeepsThreeCharactersAndFindsTargets)
{
    TComboItem item("ENGLISH");
    EXPECT_EQ(item.Code, "ENG");
    EXPECT_EQ(TComboItem("DE").Code, "DE");
    EXPECT_EQ(item.Count(), 0);
    EXPECT_EQ(item.GetId(0), -1);

    item.Dictionaries = {{3, "GER", "ENGGER", 0}, {5, "RUS", "ENGRUS", 2}, {7, "GER", "ENGGER", 2}};
    EXPECT_EQ(item.Count(), 3);
    EXPECT_EQ(item.GetId(1), 5);
    EXPECT_EQ(item.GetId(3), -1);
    EXPECT_EQ(item.GetId(-1), -1);
    EXPECT_EQ(item.IndexOfName("GER"), 0);
    EXPECT_EQ(item.IndexOfName("RUS"), 1);
    EXPECT_EQ(item.IndexOfName("rus"), -1);
}
