// The settings store: typed values in $XDG_CONFIG_HOME/Lexora/LexoraXP.conf, mode 0600,
// failures as the registry gives them; the local machine store is read-only.
#include "platform/FileSystem.h"
#include "platform/qt/Registry.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

namespace {

class SettingsRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        setenv("XDG_CONFIG_HOME", home_.path().toStdString().c_str(), 1);
    }
    std::string File() const { return home_.path().toStdString() + "/Lexora/LexoraXP.conf"; }
    void WriteRaw(const std::string& text) const
    {
        std::filesystem::create_directories(home_.path().toStdString() + "/Lexora");
        std::ofstream(File(), std::ios::binary) << text;
    }
    QTemporaryDir home_;
};

}  // namespace

TEST_F(SettingsRegistryTest, ValuesKeepTheirKindInAUserOnlyFile)
{
    {
        TRegistry reg;
        EXPECT_FALSE(reg.OpenKey("\\Software\\TavorSoft\\LexoraXP", false));
        ASSERT_TRUE(reg.OpenKey("\\Software\\TavorSoft\\LexoraXP", true));
        reg.WriteInteger("Top", -5);
        reg.WriteBool("Max", true);
        reg.WriteString("Dictionary", u"ENGGER_T, \"x\"=y; é");
        reg.WriteString("Empty", u"");
        reg.CloseKey();
    }
    EXPECT_EQ(TRegistry::StoreFile(TRootKey::CurrentUser), File());
    struct stat st {};
    ASSERT_EQ(stat(File().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\software\\tavorsoft\\LEXORAXP", false));  // keys ignore case
    EXPECT_EQ(reg.ReadInteger("top"), -5);
    EXPECT_TRUE(reg.ReadBool("Max"));
    EXPECT_EQ(reg.ReadString("Dictionary"), u"ENGGER_T, \"x\"=y; é");
    EXPECT_TRUE(reg.ValueExists("Empty"));
    EXPECT_EQ(reg.ReadString("Empty"), u"");
    // Missing values and values of the other kind fail as the registry fails.
    EXPECT_EQ(reg.ReadString("Nothing"), u"");
    EXPECT_THROW(reg.ReadInteger("Nothing"), ERegistryError);
    EXPECT_THROW(reg.ReadInteger("Dictionary"), ERegistryError);
    EXPECT_THROW(reg.ReadString("Top"), ERegistryError);
    EXPECT_THROW(reg.ReadInteger("a/b"), ERegistryError);
}

TEST_F(SettingsRegistryTest, ValuesWrittenWithoutCloseKeyAreStoredWhenTheRegistryGoes)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\TavorSoft\\LexoraXP", true));
        reg.WriteBool("UpdEnbl", false);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\TavorSoft\\LexoraXP", false));
    EXPECT_TRUE(reg.ValueExists("UpdEnbl"));
    EXPECT_FALSE(reg.ReadBool("UpdEnbl"));
}

TEST_F(SettingsRegistryTest, KeysExistWithoutValuesAndRelativeToTheOpenKey)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software", true));
        EXPECT_TRUE(reg.CreateKey("TavorSoft"));
        ASSERT_TRUE(reg.OpenKey("TavorSoft", false));
        EXPECT_EQ(reg.CurrentPath(), "\\Software\\TavorSoft");
        reg.CloseKey();
    }
    TRegistry reg;
    EXPECT_TRUE(reg.KeyExists("\\Software\\TavorSoft"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\TavorSoft\\LexoraXP"));
    ASSERT_TRUE(reg.OpenKey("\\Software\\TavorSoft", false));
    EXPECT_FALSE(reg.ValueExists("."));
    EXPECT_THROW(reg.WriteString(".", u"x"), ERegistryError);
}

TEST_F(SettingsRegistryTest, SixtyFourBitValuesReadOld32BitOnesSignExtended)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\K", true));
        reg.WriteInteger("Old", -1);
        reg.WriteInt64("Small", 1104537600);
        reg.WriteInt64("Late", 4102444800);  // 2100-01-01
        reg.CloseKey();
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\K", false));
    EXPECT_EQ(reg.ReadInt64("Old"), -1);
    EXPECT_EQ(reg.ReadInteger("Small"), 1104537600);  // still a 32-bit value
    EXPECT_EQ(reg.ReadInt64("Late"), 4102444800);
    EXPECT_THROW(reg.ReadInteger("Late"), ERegistryError);
}

TEST_F(SettingsRegistryTest, HandEditedAndDamagedFilesGiveErrorsNotCrashes)
{
    WriteRaw("[Software]\nK\\Plain=100\nK\\List=a,b\nK\\Short=dword:12\nK\\Good=dword:0000000a\n"
             "K\\Text=hand written\n\x01\xff garbage \x80[[[\n");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\K", false));
    EXPECT_THROW(reg.ReadInteger("Plain"), ERegistryError);  // a string, not a number
    EXPECT_EQ(reg.ReadString("Plain"), u"100");
    EXPECT_THROW(reg.ReadString("List"), ERegistryError);
    EXPECT_THROW(reg.ReadInteger("Short"), ERegistryError);
    EXPECT_EQ(reg.ReadInteger("Good"), 10);
    EXPECT_EQ(reg.ReadString("Text"), u"hand written");

    // Writing rewrites the file without the lines it cannot read; the old file is kept aside.
    reg.WriteInteger("Good", 11);
    EXPECT_NO_THROW(reg.CloseKey());
    std::ifstream in(File() + ".damaged", std::ios::binary);
    const std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(kept.find("garbage"), std::string::npos);
    struct stat st {};
    ASSERT_EQ(stat((File() + ".damaged").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    TRegistry again;
    ASSERT_TRUE(again.OpenKey("\\Software\\K", false));
    EXPECT_EQ(again.ReadInteger("Good"), 11);
    EXPECT_EQ(again.ReadString("Text"), u"hand written");
}

TEST_F(SettingsRegistryTest, RewriteMakesAnOpenFileUserOnlyAndKeepsOtherKeys)
{
    WriteRaw("[Software]\nOther\\Keep=sz:kept\n");
    chmod(File().c_str(), 0644);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\TavorSoft\\LexoraXP", true));
        reg.WriteInteger("Top", 1);
        reg.CloseKey();
    }
    struct stat st {};
    ASSERT_EQ(stat(File().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Other", false));
    EXPECT_EQ(reg.ReadString("Keep"), u"kept");
}

TEST_F(SettingsRegistryTest, AStoreThatCannotBeWrittenIsReported)
{
    std::filesystem::create_directories(File());  // a folder where the file should be
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\K", true));
    reg.WriteInteger("Top", 1);
    EXPECT_THROW(reg.CloseKey(), ERegistryError);
}

TEST_F(SettingsRegistryTest, LocalMachineStoreIsReadOnlyBesideTheProgram)
{
    const std::string file = TRegistry::StoreFile(TRootKey::LocalMachine);
    EXPECT_EQ(file, Platform::ProgramFolder() + "LexoraXP-machine.conf");
    std::ofstream(file) << "[Software]\nTavorSoft\\LexoraXP\\UpdateServer=sz:http://127.0.0.1/\n";
    {
        TRegistry reg(TRootKey::LocalMachine);
        EXPECT_FALSE(reg.OpenKey("\\Software\\New", true));
        ASSERT_TRUE(reg.OpenKey("\\Software\\TavorSoft\\LexoraXP", false));
        EXPECT_EQ(reg.ReadString("UpdateServer"), u"http://127.0.0.1/");
        EXPECT_THROW(reg.WriteString("UpdateServer", u"x"), ERegistryError);
        reg.CloseKey();
    }
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(file);
    EXPECT_NE(text.find("127.0.0.1"), std::string::npos);
}
