#include "platform/SafeFile.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Platform::ESafeFileError;
using Platform::TSafeFile;

namespace {

class SafeFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path()
            / ("lexora-safefile-" + std::to_string(::getpid()) + "-"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string Read(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void Put(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }
    size_t FileCount() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {})); }

    fs::path dir_;
};

TEST_F(SafeFile, CommitReplacesTheTargetAndLeavesNoTemporaryFile)
{
    fs::path target = dir_ / "a.dat";
    Put(target, "old contents");
    {
        TSafeFile f(target);
        f.Write("new ");
        f.Write(std::string(3u << 20, 'x'));  // larger than the internal buffer
        f.Write("tail");
        EXPECT_EQ(Read(target), "old contents");  // untouched until the commit
        f.Commit();
        EXPECT_TRUE(f.Committed());
    }
    EXPECT_EQ(Read(target), "new " + std::string(3u << 20, 'x') + "tail");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(SafeFile, DestructionWithoutCommitKeepsTheOldFile)
{
    fs::path target = dir_ / "a.dat";
    Put(target, "old");
    fs::path temp;
    {
        TSafeFile f(target);
        temp = f.TemporaryPath();
        f.Write("new");
        EXPECT_TRUE(fs::exists(temp));
        EXPECT_EQ(temp.parent_path(), target.parent_path());
    }
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(SafeFile, NamedTemporaryReplacesALeftoverAndCreatesAMissingTarget)
{
    fs::path target = dir_ / "w.TDE";
    fs::path temp = dir_ / "wTemp.TDE";
    Put(temp, "leftover of a crash, longer than the new content");
    TSafeFile f(target, temp);
    f.Write("abc");
    f.Commit();
    EXPECT_EQ(Read(target), "abc");
    EXPECT_FALSE(fs::exists(temp));
}

TEST_F(SafeFile, WriteAtPatchesWrittenBytesButNeverExtends)
{
    fs::path target = dir_ / "h.dat";
    TSafeFile f(target);
    f.Write("0000body");
    f.WriteAt(0, "HEAD", 4);
    EXPECT_EQ(f.Size(), 8u);
    EXPECT_THROW(f.WriteAt(6, "xyz", 3), ESafeFileError);
    f.Write("!");
    f.Commit();
    EXPECT_EQ(Read(target), "HEADbody!");
}

TEST_F(SafeFile, KeepsThePermissionsOfTheReplacedFile)
{
    fs::path target = dir_ / "p.dat";
    Put(target, "x");
    ::chmod(target.c_str(), 0600);
    Platform::WriteFileAtomically(target, "y");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(Read(target), "y");
}

TEST_F(SafeFile, CreateInAMissingFolderFails)
{
    try {
        TSafeFile f(dir_ / "no-such-folder" / "a.dat");
        FAIL() << "no exception";
    } catch (const ESafeFileError& e) {
        EXPECT_EQ(e.Stage(), ESafeFileError::TStage::Create);
        EXPECT_EQ(e.ErrorCode(), ENOENT);
    }
}

TEST_F(SafeFile, RenameOntoAFolderFailsAndRemovesTheTemporaryFile)
{
    fs::path target = dir_ / "sub";
    fs::create_directories(target / "inner");
    {
        TSafeFile f(target);
        f.Write("x");
        try {
            f.Commit();
            FAIL() << "no exception";
        } catch (const ESafeFileError& e) {
            EXPECT_EQ(e.Stage(), ESafeFileError::TStage::Rename);
        }
    }
    EXPECT_EQ(FileCount(), 1u);
    EXPECT_TRUE(fs::is_directory(target / "inner"));
}

// A file-size limit makes the write fail part-way, as a full disk would.
TEST_F(SafeFile, WriteFailurePartWayLeavesTheOldFile)
{
    fs::path target = dir_ / "big.dat";
    Put(target, "old contents");
    const int code = TestFiles::RunUnderFileSizeLimit(4096, [&] {
        try {
            TSafeFile f(target);
            f.Write(std::string(100000, 'z'));
            f.Commit();
            return 0;
        } catch (const ESafeFileError& e) {
            return e.Stage() == ESafeFileError::TStage::Write && e.ErrorCode() == EFBIG ? 1 : 2;
        }
    });
    ASSERT_NE(code, -1);  // the child ended normally
    EXPECT_EQ(code, 1);
    EXPECT_EQ(Read(target), "old contents");
    EXPECT_EQ(FileCount(), 1u);
}

}  // namespace
