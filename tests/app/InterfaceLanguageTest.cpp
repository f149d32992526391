// The interface-language file: loading one language, the first matching record, lookups by
// key and the list of languages for the settings window.
#include "app/InterfaceLanguage.h"
#include "components/InterfaceText.h"
#include "data/langfile/LangFileWriter.h"
#include "engine/WideStringList.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

using LangFile::TLangBlock;

namespace {

class InterfaceLanguageTest : public ::testing::Test {
protected:
    std::string Write(const std::vector<TLangBlock>& blocks, const char* name = "LangItf.lng")
    {
        const std::string path = dir_.path().toStdString() + "/" + name;
        std::ofstream(path, std::ios::binary) << LangFile::WriteLangFile(blocks);
        return path;
    }
    QTemporaryDir dir_;
};

const std::vector<TLangBlock> kThree{
    {"ENG", 100, u"Name=English\r\nTitle=Lexora XP\r\nMsgDeleteWord=Delete the word?\r\nFile=&File\r\n"},
    {"GER", 101, u"Name=Deutsch\r\nTitle=Lexora XP\r\nFile=&Datei\r\nFormula=a=b\r\n"},
    {"ENG", 100, u"Name=Second English\r\nTitle=never read\r\n"},
    {"RUS", 102, u"Name=Русский\r\nFile=&Файл\r\n"},
};

}  // namespace

TEST_F(InterfaceLanguageTest, TheFirstMatchingRecordReplacesTheStrings)
{
    const std::string file = Write(kThree);
    TWideStringList strings;
    strings.Add(u"Old=line");
    ASSERT_TRUE(LoadInterfaceLanguage(file, 100, strings));
    EXPECT_EQ(strings.Count(), 4);
    EXPECT_EQ(strings.GetValue(u"Title"), u"Lexora XP");
    EXPECT_EQ(strings.GetValue(u"Name"), u"English");
    EXPECT_EQ(strings.GetValue(u"Old"), u"");

    ASSERT_TRUE(LoadInterfaceLanguage(file, 102, strings));
    EXPECT_EQ(strings.GetValue(u"File"), u"&Файл");
    ASSERT_TRUE(LoadInterfaceLanguage(file, 101, strings));
    EXPECT_EQ(strings.GetValue(u"Formula"), u"a=b");
}

TEST_F(InterfaceLanguageTest, KeysAreFoundWithoutRegardToCaseAndMissingKeysGiveEmptyCaptions)
{
    TWideStringList strings;
    ASSERT_TRUE(LoadInterfaceLanguage(Write(kThree), 101, strings));
    EXPECT_EQ(LangText(strings, "file"), QStringLiteral("&Datei"));
    EXPECT_EQ(LangText(strings, "TITLE"), QStringLiteral("Lexora XP"));
    // German lacks the message: the caption becomes empty, not the English text.
    EXPECT_TRUE(LangText(strings, "MsgDeleteWord").isEmpty());
}

TEST_F(InterfaceLanguageTest, AnUnknownIdOrAMissingFileLeavesTheStrings)
{
    const std::string file = Write(kThree);
    TWideStringList strings;
    strings.Add(u"Title=kept");
    EXPECT_FALSE(LoadInterfaceLanguage(file, 103, strings));
    EXPECT_FALSE(LoadInterfaceLanguage(file, -1, strings));
    EXPECT_FALSE(LoadInterfaceLanguage(dir_.path().toStdString() + "/none.lng", 100, strings));
    EXPECT_FALSE(LoadInterfaceLanguage("", 100, strings));
    EXPECT_EQ(strings.GetValue(u"Title"), u"kept");

    // A count of -1 announces no language at all; 0 exactly one.
    EXPECT_FALSE(LoadInterfaceLanguage(Write({}, "empty.lng"), 100, strings));
    const std::string one = Write({{"GER", 101, u"Name=Deutsch\r\n"}}, "one.lng");
    EXPECT_TRUE(LoadInterfaceLanguage(one, 101, strings));
    EXPECT_EQ(ListInterfaceLanguages(one).size(), 1u);
}

TEST_F(InterfaceLanguageTest, TheListHasEveryRecordWithItsName)
{
    const std::vector<TInterfaceLanguage> list = ListInterfaceLanguages(Write(kThree));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].Id, 100);
    EXPECT_EQ(list[0].Name, u"English");
    EXPECT_EQ(list[1].Name, u"Deutsch");
    EXPECT_EQ(list[2].Name, u"Second English");
    EXPECT_EQ(list[3].Id, 102);
    EXPECT_EQ(list[3].Name, u"Русский");
    EXPECT_TRUE(ListInterfaceLanguages(dir_.path().toStdString() + "/none.lng").empty());
}
