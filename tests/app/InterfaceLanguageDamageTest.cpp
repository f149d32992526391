// Damaged interface-language files: every count, offset and length is checked against the
// file's size; a damaged file gives a read error (or leaves the language out of the list),
// never a crash or a huge allocation.
#include "app/InterfaceLanguage.h"
#include "data/langfile/LangFileWriter.h"
#include "engine/LittleEndian.h"
#include "engine/WideStringList.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

namespace {

class InterfaceLanguageDamageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        good_ = LangFile::WriteLangFile({{"ENG", 100, u"Name=English\r\nTitle=Lexora XP\r\n"},
                                         {"GER", 101, u"Name=Deutsch\r\nTitle=Lexora XP\r\n"}});
        path_ = dir_.path().toStdString() + "/LangItf.lng";
    }
    std::string Write(const std::string& bytes) const
    {
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
        return path_;
    }
    // The good file with the 32-bit field at Offset replaced.
    std::string Patched(size_t offset, std::int32_t value) const
    {
        std::string bytes = good_;
        SetInt32(bytes.data() + offset, value);
        return bytes;
    }
    QTemporaryDir dir_;
    std::string good_;
    std::string path_;
};

constexpr size_t kGerRecord = 4 + 56;

}  // namespace

TEST_F(InterfaceLanguageDamageTest, BadOffsetsAndLengthsFailTheLoadAndLeaveTheStrings)
{
    const std::pair<const char*, std::string> cases[] = {
        {"negative offset", Patched(kGerRecord + 48, -2)},
        {"offset past the end", Patched(kGerRecord + 48, 0x7FFFFFF0)},
        {"negative length", Patched(kGerRecord + 52, -4)},
        {"odd length", Patched(kGerRecord + 52, 5)},
        {"length past the end", Patched(kGerRecord + 52, 0x7FFFFFFE)},
        {"short record", good_.substr(0, kGerRecord + 50)},
    };
    for (const auto& [name, bytes] : cases) {
        TWideStringList strings;
        strings.Add(u"Title=kept");
        const std::string file = Write(bytes);
        EXPECT_THROW(LoadInterfaceLanguage(file, 101, strings), EReadError) << name;
        EXPECT_EQ(strings.GetValue(u"Title"), u"kept") << name;
        // The settings window's list leaves the damaged language out and keeps the rest (a
        // file cut inside the records has lost the English text too).
        const std::vector<TInterfaceLanguage> list = ListInterfaceLanguages(file);
        ASSERT_EQ(list.size(), std::string(name) == "short record" ? 0u : 1u) << name;
        if (!list.empty()) {
            EXPECT_EQ(list[0].Name, u"English") << name;
        }
    }
}

TEST_F(InterfaceLanguageDamageTest, AHugeCountIsReadOnlyAsFarAsTheFileGoes)
{
    const std::string file = Write(Patched(0, 0x7FFFFFFF));
    TWideStringList strings;
    EXPECT_TRUE(LoadInterfaceLanguage(file, 101, strings));  // found before the count matters
    EXPECT_EQ(strings.GetValue(u"Name"), u"Deutsch");
    EXPECT_THROW(LoadInterfaceLanguage(file, 999, strings), EReadError);
    EXPECT_EQ(strings.GetValue(u"Name"), u"Deutsch");
    const std::vector<TInterfaceLanguage> list = ListInterfaceLanguages(file);
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list[1].Name, u"Deutsch");

    EXPECT_THROW(LoadInterfaceLanguage(Write(good_.substr(0, 3)), 100, strings), EReadError);
    EXPECT_TRUE(ListInterfaceLanguages(Write(good_.substr(0, 3))).empty());
}

TEST_F(InterfaceLanguageDamageTest, EveryTruncationEitherLoadsOrFails)
{
    for (size_t size = 0; size <= good_.size(); ++size) {
        const std::string file = Write(good_.substr(0, size));
        TWideStringList strings;
        bool loaded = false;
        try {
            loaded = LoadInterfaceLanguage(file, 101, strings);
        } catch (const EReadError&) {
            continue;
        }
        EXPECT_TRUE(loaded) << size;
        EXPECT_EQ(size, good_.size());
        EXPECT_EQ(strings.GetValue(u"Name"), u"Deutsch");
        EXPECT_NO_THROW(ListInterfaceLanguages(file));
    }
}
