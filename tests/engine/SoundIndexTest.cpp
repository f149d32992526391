// Sound index records and slices: good records read, damaged ones never lead outside the
// files nor to an allocation of the length they claim; the memory stream's reads and seeks.
#include "engine/SoundIndex.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>

namespace {

namespace fs = std::filesystem;

void PutInt64(std::string& s, std::int64_t v)
{
    for (int i = 0; i < 8; ++i)
        s += static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF);
}

std::string Record(std::int64_t word, std::int64_t offset, std::int64_t length)
{
    std::string r;
    PutInt64(r, word);
    PutInt64(r, offset);
    PutInt64(r, length);
    return r;
}

class SoundIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("lexora-sound-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    fs::path dir_;
};

TEST_F(SoundIndexTest, FileNamesCountBlocksFromOne)
{
    EXPECT_EQ(SoundFiles::SoundFileName("/d/ENGGER_T/", 0, ".snd"), "/d/ENGGER_T/1.snd");
    EXPECT_EQ(SoundFiles::SoundFileName("/d/", 47, ".idx"), "/d/48.idx");
}

TEST_F(SoundIndexTest, RecordsAreReadByPlaceAndOnlyWhole)
{
    // The last record is cut short by two bytes.
    const std::string bytes = Record(10, 0, 300) + Record(11, 300, 0) + Record(12, 300, 500).substr(0, 22);
    const std::string index = Write("1.idx", bytes);
    SoundFiles::TSoundIndexRecord r;
    ASSERT_TRUE(SoundFiles::ReadSoundIndexRecord(index, 0, r));
    EXPECT_EQ(r.Reserved, 10);
    EXPECT_EQ(r.Offset, 0);
    EXPECT_EQ(r.Length, 300);
    ASSERT_TRUE(SoundFiles::ReadSoundIndexRecord(index, 1, r));
    EXPECT_EQ(r.Offset, 300);
    EXPECT_EQ(r.Length, 0);
    EXPECT_FALSE(SoundFiles::ReadSoundIndexRecord(index, 2, r));
    EXPECT_EQ(r.Length, 0);
    EXPECT_FALSE(SoundFiles::ReadSoundIndexRecord(index, -1, r));
    EXPECT_FALSE(SoundFiles::ReadSoundIndexRecord(index, std::numeric_limits<std::int32_t>::max(), r));
    EXPECT_FALSE(SoundFiles::ReadSoundIndexRecord((dir_ / "missing.idx").string(), 0, r));
}

TEST_F(SoundIndexTest, SlicesInsideTheFileAreRead)
{
    const std::string data = Write("1.snd", "0123456789");
    std::string bytes;
    EXPECT_EQ(SoundFiles::ReadSoundSlice(data, 2, 5, bytes), SoundFiles::TSliceResult::Ok);
    EXPECT_EQ(bytes, "23456");
    EXPECT_EQ(SoundFiles::ReadSoundSlice(data, 0, 10, bytes), SoundFiles::TSliceResult::Ok);
    EXPECT_EQ(bytes, "0123456789");
}

TEST_F(SoundIndexTest, DamagedSlicesAreRefusedBeforeAnythingIsRead)
{
    const std::string data = Write("1.snd", "0123456789");
    std::string bytes = "old";
    using SoundFiles::TSliceResult;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const std::pair<std::int64_t, std::int64_t> damaged[] = {
        {8, 3},          // runs past the end (a truncated data file)
        {11, 1},         // starts past the end
        {-1, 4},         // negative offset
        {0, -5},         // negative length
        {0, 0},          // nothing to play
        {5, kMax},       // offset + length overflows
        {kMax, 1},       // far beyond the file
        {0, 1LL << 40},  // a claimed terabyte: never allocated
    };
    for (const auto& [offset, length] : damaged) {
        EXPECT_EQ(SoundFiles::ReadSoundSlice(data, offset, length, bytes), TSliceResult::OutOfFile)
            << offset << "," << length;
        EXPECT_TRUE(bytes.empty());
    }
    EXPECT_EQ(SoundFiles::ReadSoundSlice((dir_ / "2.snd").string(), 0, 1, bytes), TSliceResult::NoFile);
}

TEST_F(SoundIndexTest, SlicesLongerThanAnyWordAreRefusedInLargeFiles)
{
    const std::string path = (dir_ / "big.snd").string();
    {
        std::ofstream f(path, std::ios::binary);
        f.seekp(SoundFiles::kMaxSliceLength + 10);
        f.put('x');
    }
    std::string bytes;
    EXPECT_EQ(SoundFiles::ReadSoundSlice(path, 0, SoundFiles::kMaxSliceLength + 1, bytes),
              SoundFiles::TSliceResult::OutOfFile);
    EXPECT_EQ(SoundFiles::ReadSoundSlice(path, SoundFiles::kMaxSliceLength + 10, 1, bytes),
              SoundFiles::TSliceResult::Ok);
    EXPECT_EQ(bytes, "x");
}

TEST_F(SoundIndexTest, StreamReadsAndSeeksWithinItsData)
{
    SoundFiles::TSoundStream s("abcdef");
    char buffer[8] = {};
    EXPECT_EQ(s.Read(buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(s.Read(buffer, 8), 2);
    EXPECT_EQ(s.Read(buffer, 8), 0);
    EXPECT_EQ(s.Read(buffer, -1), 0);
    EXPECT_EQ(s.Seek(0, 0), 0);
    EXPECT_EQ(s.Seek(2, 1), 2);
    EXPECT_EQ(s.Seek(-1, 2), 5);
    EXPECT_EQ(s.Seek(1, 2), -1);  // past the end: the position stays
    EXPECT_EQ(s.Position(), 5);
    EXPECT_EQ(s.Seek(-6, 1), -1);
    EXPECT_EQ(s.Seek(std::numeric_limits<std::int64_t>::min(), 2), -1);
    EXPECT_EQ(s.Seek(0, 7), -1);
    EXPECT_EQ(s.Size(), 6);
}

}  // namespace
