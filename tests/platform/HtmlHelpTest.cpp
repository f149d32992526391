// Help files: the program's own compiled files read whole; damaged copies of them are refused
// or give no object, and never read outside the file, crash or hang.
#include "platform/HtmlHelp.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Platform::EHelpFileError;
using Platform::THelpFile;

const std::string kEnglish = LEXORA_PROGRAM_DIR "/Help/HelpENG.chm";
const std::string kGerman = LEXORA_PROGRAM_DIR "/Help/HelpGER.chm";

void Put32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<char>(value >> (8 * i));
}

class HtmlHelpTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(scratch_); }
    void TearDown() override { fs::remove_all(scratch_); }

    std::string Write(const std::string& bytes)
    {
        const std::string name = scratch_ / "damaged.chm";
        TestFiles::WriteFile(name, bytes);
        return name;
    }

    // Opens the file and reads every object: either the open is refused or each read gives
    // an answer. Returns how many objects came out whole.
    int ReadAll(const std::string& bytes)
    {
        int whole = 0;
        try {
            THelpFile help(Write(bytes));
            std::string object;
            for (const std::string& name : help.Names())
                whole += help.Read(name, object) ? 1 : 0;
        } catch (const EHelpFileError&) {
            return -1;
        }
        return whole;
    }

    const fs::path scratch_ = fs::temp_directory_path() / ("lexora-htmlhelp-" + std::to_string(::getpid()));
};

TEST_F(HtmlHelpTest, TopicsAndPicturesComeOutWhole)
{
    THelpFile help(kEnglish);
    std::string bytes;
    ASSERT_TRUE(help.Read("1.htm", bytes));
    EXPECT_NE(bytes.find("<title>The main window</title>"), std::string::npos);
    EXPECT_NE(bytes.find("</html>"), std::string::npos);
    // Links in topics may differ in case from the stored names; a leading slash is optional.
    ASSERT_TRUE(help.Read("/LEXORA.PNG", bytes));
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_FALSE(help.Read("999.htm", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(help.Read(std::string("1.htm\0x", 7), bytes));

    const std::vector<std::string> names = help.Names();
    EXPECT_NE(std::find(names.begin(), names.end(), "/156.htm"), names.end());
    for (const std::string& name : names) {
        EXPECT_EQ(name[0], '/');
        EXPECT_TRUE(name[1] != '#' && name[1] != '$') << name;  // the compiler's own objects stay hidden
        EXPECT_TRUE(help.Read(name, bytes)) << name;
    }
}

TEST_F(HtmlHelpTest, MissingForeignAndOversizedFilesAreRefused)
{
    EXPECT_THROW(THelpFile(scratch_ / "none.chm"), EHelpFileError);
    EXPECT_THROW(THelpFile(scratch_.string()), EHelpFileError);  // a folder
    EXPECT_THROW(THelpFile(Write("<html>not compiled</html>")), EHelpFileError);
    EXPECT_THROW(THelpFile(Write("")), EHelpFileError);
    // A file over the limit is refused before it is read (sparse: no disk used).
    const std::string big = scratch_ / "big.chm";
    TestFiles::WriteFile(big, "ITSF");
    fs::resize_file(big, THelpFile::MaxFileSize + 1);
    EXPECT_THROW(THelpFile{big}, EHelpFileError);
}

TEST_F(HtmlHelpTest, DamageAnywhereIsFoundWhenTheFileIsOpened)
{
    for (const std::string& file : {kEnglish, kGerman}) {
        const std::string good = TestFiles::ReadFile(file);
        ASSERT_NO_THROW(THelpFile{Write(good)});
        const std::size_t half = good.size() / 2;
        const std::vector<std::pair<const char*, std::function<void(std::string&)>>> damages = {
            {"cut to half", [&](std::string& b) { b.resize(half); }},
            {"cut to 100 bytes", [&](std::string& b) { b.resize(100); }},
            {"one byte more", [&](std::string& b) { b += '\0'; }},
            {"signature", [&](std::string& b) { b[0] = 'X'; }},
            {"version", [&](std::string& b) { Put32(b, 4, 4); }},
            {"header length", [&](std::string& b) { Put32(b, 8, 0x58); }},
            {"file length", [&](std::string& b) { Put32(b, 0x68, static_cast<std::uint32_t>(half)); }},
            {"directory chunk size", [&](std::string& b) { Put32(b, 0x78 + 0x10, 0x2000); }},
            {"middle third zeroed",
             [&](std::string& b) { std::fill(b.begin() + half - half / 3, b.begin() + half + half / 3, '\0'); }},
            // Compressed topics: found on opening, before any topic is asked for.
            {"end zeroed", [&](std::string& b) { std::fill(b.end() - 1024, b.end(), '\0'); }},
        };
        for (const auto& [what, damage] : damages) {
            std::string bytes = good;
            damage(bytes);
            EXPECT_THROW(THelpFile{Write(bytes)}, EHelpFileError) << file << ": " << what;
        }
    }
}

TEST_F(HtmlHelpTest, DamagedCopiesNeverCrash)
{
    const std::string good = TestFiles::ReadFile(kEnglish);
    ASSERT_GT(good.size(), 4096u);
    const int objects = ReadAll(good);
    ASSERT_GT(objects, 15);

    // Cut anywhere: the header, the listing, the compressed data, the last byte.
    for (std::size_t size : {std::size_t{0x20}, std::size_t{0x60}, std::size_t{0x100}, std::size_t{0x1100},
                             good.size() / 2, good.size() - 1})
        EXPECT_LT(ReadAll(good.substr(0, size)), objects) << size;

    // Claims a damaged file may make: huge or zero sizes in the headers and in the tables of
    // the compressed section (window size, reset interval, block length).
    const std::size_t control = good.find("LZXC");
    ASSERT_NE(control, std::string::npos);
    const std::size_t itsp = good.find("ITSP");
    ASSERT_NE(itsp, std::string::npos);
    const std::vector<std::pair<const char*, std::function<void(std::string&)>>> damages = {
        {"block size", [&](std::string& b) { Put32(b, itsp + 16, 0xFFFFFFF0u); }},
        {"block count", [&](std::string& b) { Put32(b, itsp + 44, 0x7FFFFFFFu); }},
        {"first block", [&](std::string& b) { Put32(b, itsp + 32, 5); }},
        {"file length", [&](std::string& b) { Put32(b, 0x68, 10); }},
        {"entry count", [&](std::string& b) { b[itsp + 0x54 + 4094] = '\xff', b[itsp + 0x54 + 4095] = '\xff'; }},
        {"window 0", [&](std::string& b) { Put32(b, control + 12, 0); }},
        {"window 1", [&](std::string& b) { Put32(b, control + 12, 1); }},
        {"window huge", [&](std::string& b) { Put32(b, control + 12, 0x40000); }},
        {"reset 0", [&](std::string& b) { Put32(b, control + 8, 0); }},
        {"per reset 0", [&](std::string& b) { Put32(b, control + 16, 0); }},
        {"version", [&](std::string& b) { Put32(b, control + 4, 7); }},
    };
    for (const auto& [what, damage] : damages) {
        std::string bytes = good;
        damage(bytes);
        EXPECT_LE(ReadAll(bytes), objects) << what;
    }

    // Bytes of the compressed topics changed: objects may come out wrong, but reading stops
    // at their stored lengths.
    for (std::size_t at = good.size() - 4000; at < good.size(); at += 397) {
        std::string bytes = good;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
        EXPECT_LE(ReadAll(bytes), objects) << at;
    }
}

}  // namespace
