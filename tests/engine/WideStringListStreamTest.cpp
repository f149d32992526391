#include "engine/WideStringList.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

std::string Save(TWideStrings& list)
{
    std::ostringstream out;
    list.SaveToStream(out);
    return out.str();
}

class TempDir {
public:
    TempDir()
    {
        path_ = std::filesystem::temp_directory_path()
            / ("lexora-wsl-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    size_t Entries() const
    {
        return static_cast<size_t>(
            std::distance(std::filesystem::directory_iterator(path_), std::filesystem::directory_iterator()));
    }

private:
    static inline int counter_ = 0;
    std::filesystem::path path_;
};

using TestFiles::ReadFile;
using TestFiles::WriteFile;

}  // namespace

TEST(WideStringListStream, ByteOrderMarks)
{
    TWideStringList list;
    list.LoadFromBytes(Bytes({0xFF, 0xFE}));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.UnicodeOnSave());

    list.LoadFromBytes(Bytes({0xFE, 0xFF, 0x00, 0x41, 0x00, 0x42}));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Get(0), u"AB");

    // An odd last byte is not part of the text.
    list.LoadFromBytes(Bytes({0xFF, 0xFE, 0x41, 0x00, 0x0D, 0x00, 0x16, 0x04, 0x42}));
    EXPECT_EQ(list.GetTextStr(), u"A\r\n\u0416\r\n");

    // A lone byte, an empty stream and a single 0xFF are 8-bit text.
    list.LoadFromBytes(Bytes({0x41}));
    EXPECT_FALSE(list.UnicodeOnSave());
    EXPECT_EQ(list.GetTextStr(), u"A\r\n");
    list.LoadFromBytes("");
    EXPECT_EQ(list.Count(), 0);
    list.LoadFromBytes(Bytes({0xFF}));
    EXPECT_EQ(list.Count(), 1);
}

TEST(WideStringListStream, StreamWithoutMarkIsReadFromItsFirstByteAndFromItsPosition)
{
    TWideStringList list;
    std::istringstream in("skip|one\r\ntwo");
    in.seekg(5);
    list.LoadFromStream(in);
    EXPECT_EQ(list.GetTextStr(), u"one\r\ntwo\r\n");
    EXPECT_FALSE(list.UnicodeOnSave());
}

TEST(WideStringListStream, UnicodeRoundTripWritesLittleEndianWithMark)
{
    TWideStringList list;
    list.LoadFromBytes(Bytes({0xFF, 0xFE, 0x16, 0x04, 0x0A, 0x00, 0x78, 0x00}));
    EXPECT_EQ(Save(list), Bytes({0xFF, 0xFE, 0x16, 0x04, 0x0D, 0x00, 0x0A, 0x00, 0x78, 0x00, 0x0D, 0x00, 0x0A, 0x00}));
    EXPECT_TRUE(list.SaveDone());
    list.LoadFromBytes(Bytes({0xFE, 0xFF, 0x04, 0x16}));
    EXPECT_EQ(Save(list), Bytes({0xFF, 0xFE, 0x16, 0x04, 0x0D, 0x00, 0x0A, 0x00}));
}

TEST(WideStringListStream, NarrowingAsksAndMayRefuse)
{
    TWideStringList list;
    list.Add(u"\u0416");
    int asked = 0;
    list.OnConfirmNarrowing = [&](TWideStrings&, bool& allowed) {
        ++asked;
        allowed = false;
    };
    EXPECT_EQ(Save(list), "");
    EXPECT_FALSE(list.SaveDone());
    EXPECT_EQ(asked, 1);

    list.OnConfirmNarrowing = [&](TWideStrings&, bool&) { ++asked; };
    EXPECT_EQ(Save(list), Platform::WideToAnsi(u"\u0416\r\n"));
    EXPECT_TRUE(list.SaveDone());
    EXPECT_EQ(asked, 2);

    // Latin-1 text needs no question.
    list.Clear();
    list.Add(u"caf\u00e9");
    EXPECT_EQ(Save(list), Platform::WideToAnsi(u"caf\u00e9\r\n"));
    EXPECT_EQ(asked, 2);
}

TEST(WideStringListStream, EightBitTextUsesTheSystemCodePage)
{
    TWideStringList list;
    const std::string ansi = Platform::WideToAnsi(u"na\u00efve\r\nz");
    list.LoadFromBytes(ansi);
    EXPECT_EQ(list.GetTextStr(), u"na\u00efve\r\nz\r\n");
    EXPECT_EQ(Save(list), Platform::WideToAnsi(u"na\u00efve\r\nz\r\n"));
}

TEST(WideStringListStream, FilesRoundTripAndFailuresLeaveThingsAlone)
{
    TempDir dir;
    const std::string path = dir.File("list.txt");
    TWideStringList list;
    list.SetUnicodeOnSave(true);
    list.SetTextStr(u"\u0430\u0431\nxyz");
    list.SaveToFile(path);
    EXPECT_EQ(ReadFile(path).substr(0, 2), "\xFF\xFE");
    TWideStringList back;
    back.LoadFromFile(path);
    EXPECT_TRUE(back.Equals(list));
    EXPECT_TRUE(back.UnicodeOnSave());

    // A refused narrowing leaves the old file as it was.
    back.SetUnicodeOnSave(false);
    back.OnConfirmNarrowing = [](TWideStrings&, bool& allowed) { allowed = false; };
    const std::string before = ReadFile(path);
    back.SaveToFile(path);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(dir.Entries(), 1u);

    // A missing file: the operating-system error, and the list keeps its lines.
    try {
        back.LoadFromFile(dir.File("missing.txt"));
        FAIL();
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode, ENOENT);
        EXPECT_EQ(std::string(e.what()).rfind("System Error.  Code: 2.\r\n", 0), 0u);
    }
    EXPECT_EQ(back.Count(), 2);

    EXPECT_THROW(list.SaveToFile(dir.File("no/such/folder.txt")), EFCreateError);
}

TEST(WideStringListStream, FailureWhileAddingBecomesAnOSErrorWithPartialList)
{
    TempDir dir;
    const std::string path = dir.File("dups.txt");
    WriteFile(path, "a\r\nb\r\nA\r\nc\r\n");
    TWideStringList list;
    list.SetLanguage(0x0409);
    list.Duplicates = TDuplicates::RejectDuplicates;
    list.SetSorted(true);
    try {
        list.LoadFromFile(path);
        FAIL();
    } catch (const EOSError& e) {
        EXPECT_STREQ(e.what(), "A call to an OS function failed");
    }
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.UpdateCount(), 0);
}
