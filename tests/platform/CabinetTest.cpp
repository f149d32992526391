// Extraction of cabinets made with gcab, compared with cabextract.
#include "platform/Cabinet.h"

#include "tests/platform/CabinetTestSupport.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <optional>

using namespace CabinetTest;
using Platform::CabinetTargetPath;
using Platform::TCabinetDecompressor;
using Platform::TCabinetEntry;
using Platform::TCabinetError;
using Platform::TCabinetNotify;

namespace {

class Cabinet : public ::testing::Test {
protected:
    void SetUp() override
    {
        decompressor_ = TCabinetDecompressor::Create();
        ASSERT_NE(decompressor_, nullptr);
        fs::create_directories(scratch_ / "src/sub/deeper");
        fs::create_directories(scratch_ / "out");
    }

    // src/a.txt (small), src/sub/b.txt (100 kB of text), src/sub/deeper/c.bin (binary)
    void MakeSources()
    {
        WriteFile(scratch_ / "src/a.txt", "alpha\n");
        WriteFile(scratch_ / "src/sub/b.txt", SomeText(100000));
        std::string binary;
        for (int i = 0; i < 70000; ++i)
            binary += static_cast<char>((i * 7919) >> 3);
        WriteFile(scratch_ / "src/sub/deeper/c.bin", binary);
    }

    std::string MakeSample(bool zip = true)
    {
        MakeSources();
        const std::string cabinet = scratch_ / "sample.cab";
        MakeCabinet(cabinet, scratch_ / "src", {"a.txt", "sub/b.txt", "sub/deeper/c.bin"}, zip);
        return cabinet;
    }

    Platform::TCabinetResult Copy(const std::string& cabinet, const TCabinetNotify& notify = {})
    {
        return decompressor_->Copy(cabinet, scratch_ / "out", notify);
    }

    TScratch scratch_;
    std::unique_ptr<TCabinetDecompressor> decompressor_;
};

TEST(CabinetNames, AreKeptInsideTheTargetOrRefused)
{
    EXPECT_EQ(CabinetTargetPath("a.txt"), "a.txt");
    EXPECT_EQ(CabinetTargetPath("sub\\deeper\\a.txt"), "sub/deeper/a.txt");
    EXPECT_EQ(CabinetTargetPath("\\abs\\a.txt"), "abs/a.txt");
    EXPECT_EQ(CabinetTargetPath("/etc/passwd"), "etc/passwd");
    EXPECT_EQ(CabinetTargetPath("C:\\Windows\\a.dll"), "Windows/a.dll");
    EXPECT_EQ(CabinetTargetPath("c:a.txt"), "a.txt");
    EXPECT_EQ(CabinetTargetPath("\\\\server\\share\\a"), "server/share/a");
    EXPECT_EQ(CabinetTargetPath("./x/./y"), "x/y");
    EXPECT_EQ(CabinetTargetPath("..x/y.."), "..x/y..");  // dots inside names are names
    EXPECT_EQ(CabinetTargetPath(".."), std::nullopt);
    EXPECT_EQ(CabinetTargetPath("..\\..\\evil"), std::nullopt);
    EXPECT_EQ(CabinetTargetPath("a/../../b"), std::nullopt);
    EXPECT_EQ(CabinetTargetPath("C:..\\x"), std::nullopt);
    EXPECT_EQ(CabinetTargetPath(""), std::nullopt);
    EXPECT_EQ(CabinetTargetPath("\\"), std::nullopt);
    EXPECT_EQ(CabinetTargetPath("C:"), std::nullopt);
}

TEST_F(Cabinet, RecognisesCabinetsOnly)
{
    const std::string cabinet = MakeSample();
    EXPECT_TRUE(decompressor_->IsCabinet(cabinet));
    WriteFile(scratch_ / "text.cab", "MSCF but not really a cabinet at all");
    EXPECT_FALSE(decompressor_->IsCabinet(scratch_ / "text.cab"));
    EXPECT_FALSE(decompressor_->IsCabinet(scratch_ / "missing.cab"));
    const auto result = Copy(scratch_ / "missing.cab");
    EXPECT_EQ(result.Error, TCabinetError::Open);
    EXPECT_NE(result.Message.find("missing.cab"), std::string::npos);
    EXPECT_EQ(decompressor_->Copy(cabinet, scratch_ / "no-such-folder", {}).Error, TCabinetError::Open);
}

TEST_F(Cabinet, ExtractsFoldersLikeCabextract)
{
    for (bool zip : {true, false}) {
        SCOPED_TRACE(zip ? "MSZIP" : "stored");
        fs::remove_all(scratch_ / "out");
        fs::remove_all(scratch_ / "ref");
        fs::create_directories(scratch_ / "out");
        const std::string cabinet = MakeSample(zip);
        const auto result = Copy(cabinet);
        ASSERT_TRUE(result.Ok()) << result.Message;
        ASSERT_EQ(RunProgram({"cabextract", "-q", "-d", scratch_ / "ref", cabinet}), 0);
        const auto ours = Tree(scratch_ / "out");
        EXPECT_EQ(ours, Tree(scratch_ / "ref"));
        EXPECT_EQ(ours, Tree(scratch_ / "src"));
        fs::remove(cabinet);
    }
}

TEST_F(Cabinet, SetsTheStoredTimesAsCabextractDoes)
{
    MakeSources();
    const std::time_t when = LocalTime(2019, 5, 6, 7, 8, 10);  // even seconds: DOS times
    SetModified(scratch_ / "src/a.txt", when);
    SetModified(scratch_ / "src/sub/b.txt", when + 86400 * 400);
    MakeCabinet(scratch_ / "t.cab", scratch_ / "src", {"a.txt", "sub/b.txt"});
    ASSERT_TRUE(Copy(scratch_ / "t.cab").Ok());
    ASSERT_EQ(RunProgram({"cabextract", "-q", "-d", scratch_ / "ref", scratch_ / "t.cab"}), 0);
    EXPECT_EQ(Modified(scratch_ / "out/a.txt"), when);
    EXPECT_EQ(Modified(scratch_ / "out/sub/b.txt"), when + 86400 * 400);
    EXPECT_EQ(Modified(scratch_ / "out/a.txt"), Modified(scratch_ / "ref/a.txt"));
    EXPECT_EQ(Modified(scratch_ / "out/sub/b.txt"), Modified(scratch_ / "ref/sub/b.txt"));
}

TEST_F(Cabinet, AsksBeforeReplacingAndSkipsOnVeto)
{
    const std::string cabinet = MakeSample();
    WriteFile(scratch_ / "out/a.txt", "mine");
    WriteFile(scratch_ / "out/sub/b.txt", "mine too");
    std::vector<std::string> asked;
    TCabinetNotify notify;
    notify.OverwriteFile = [&](const TCabinetEntry& entry, const std::string& target) {
        asked.push_back(target);
        return entry.Path == "sub/b.txt";  // keep a.txt, replace b.txt
    };
    ASSERT_TRUE(Copy(cabinet, notify).Ok());
    EXPECT_EQ(asked, (std::vector<std::string>{scratch_ / "out/a.txt", scratch_ / "out/sub/b.txt"}));
    EXPECT_EQ(ReadFile(scratch_ / "out/a.txt"), "mine");
    EXPECT_EQ(ReadFile(scratch_ / "out/sub/b.txt"), ReadFile(scratch_ / "src/sub/b.txt"));
    EXPECT_EQ(ReadFile(scratch_ / "out/sub/deeper/c.bin"), ReadFile(scratch_ / "src/sub/deeper/c.bin"));

    // Without a handler an existing file is replaced.
    WriteFile(scratch_ / "out/a.txt", "mine");
    ASSERT_TRUE(Copy(cabinet).Ok());
    EXPECT_EQ(ReadFile(scratch_ / "out/a.txt"), "alpha\n");
}

TEST_F(Cabinet, ReportsProgressAfterEveryWrite)
{
    const std::string cabinet = MakeSample();
    std::map<std::string, std::vector<uint64_t>> progress;
    TCabinetNotify notify;
    notify.Progress = [&](const TCabinetEntry& entry, uint64_t written) { progress[entry.Name].push_back(written); };
    ASSERT_TRUE(Copy(cabinet, notify).Ok());
    const auto& b = progress["sub\\b.txt"];
    ASSERT_GE(b.size(), 3u);  // 100 kB in blocks of at most 32 kB
    EXPECT_TRUE(std::is_sorted(b.begin(), b.end()));
    EXPECT_EQ(b.back(), 100000u);
    EXPECT_EQ(progress["a.txt"].back(), 6u);
}

TEST_F(Cabinet, StopsAtTheSizeLimitWithOneError)
{
    const std::string cabinet = MakeSample();
    TCabinetNotify notify;
    notify.SizeLimit = 50000;
    int calls = 0;
    notify.Progress = [&](const TCabinetEntry&, uint64_t) { ++calls; };
    const auto result = Copy(cabinet, notify);
    EXPECT_EQ(result.Error, TCabinetError::SizeLimit);
    EXPECT_NE(result.Message.find("sub/b.txt"), std::string::npos);
    EXPECT_TRUE(fs::exists(scratch_ / "out/a.txt"));
    EXPECT_FALSE(fs::exists(scratch_ / "out/sub/b.txt"));
    EXPECT_EQ(Tree(scratch_ / "out").size(), 1u);  // no half file, no temporary file
    EXPECT_EQ(calls, 1);
}

TEST_F(Cabinet, AFailingWriteStopsWithOneError)
{
    const std::string cabinet = MakeSample();
    // A file-size limit makes writes beyond 40 kB fail as a full disk would.
    std::optional<TestFiles::TFileSizeLimit> fullDisk(std::in_place, 40000);
    int calls = 0;
    TCabinetNotify notify;
    notify.Progress = [&](const TCabinetEntry&, uint64_t) { ++calls; };
    const auto result = Copy(cabinet, notify);
    fullDisk.reset();
    EXPECT_EQ(result.Error, TCabinetError::Write);
    EXPECT_NE(result.Message.find("sub/b.txt"), std::string::npos) << result.Message;
    EXPECT_LE(calls, 3);  // a.txt and the one block of b.txt that fitted
    EXPECT_EQ(Tree(scratch_ / "out").size(), 1u);
}

}  // namespace
