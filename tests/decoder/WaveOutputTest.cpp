// The two audio outputs: the WAVE file writer's exact layout and the sound device's ring of
// three 32-frame buffers (warm-up, drop on a jump, discard on stop, play-out at the end).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "decoder/MPEGError.h"
#include "decoder/WaveFileOutput.h"
#include "decoder/WaveOutOutput.h"

using namespace sonarel;

namespace {

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
uint32_t Le32(const std::vector<uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, std::size_t at)
{
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + name)).string();
}

// Puts `samples` sample pairs (or single samples) numbered from `first`, then ends the frame.
void PutFrame(AudioOutput& out, int samples, int first)
{
    for (int i = 0; i < samples; ++i) {
        out.PutSample(0, static_cast<int16_t>(first + i));
        if (out.Channels() == 2)
            out.PutSample(1, static_cast<int16_t>(-(first + i)));
    }
    out.EndFrame();
}

TEST(WaveFileOutputTest, StereoFileHasExactHeaderAndSamples)
{
    const std::string path = TempPath("stereo.wav");
    {
        WaveFileOutput out(path, 2, 44100);
        PutFrame(out, 1152, 0);
        PutFrame(out, 1152, 1152);
        out.Finish();
    }
    const auto b = ReadFile(path);
    const uint32_t dataBytes = 2 * 1152 * 2 * 2;
    ASSERT_EQ(b.size(), 46 + dataBytes);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(b, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le32(b, 16), 18u);
    EXPECT_EQ(Le16(b, 20), 1);
    EXPECT_EQ(Le16(b, 22), 2);
    EXPECT_EQ(Le32(b, 24), 44100u);
    EXPECT_EQ(Le32(b, 28), 44100u * 4);
    EXPECT_EQ(Le16(b, 32), 4);
    EXPECT_EQ(Le16(b, 34), 16);
    EXPECT_EQ(Le16(b, 36), 0);
    EXPECT_EQ(std::string(b.begin() + 38, b.begin() + 42), "data");
    EXPECT_EQ(Le32(b, 42), dataBytes);
    // Interleaved, channel 0 first, little-endian.
    for (int i : {0, 1, 1151, 1152, 2303}) {
        EXPECT_EQ(static_cast<int16_t>(Le16(b, 46 + 4 * i)), i);
        EXPECT_EQ(static_cast<int16_t>(Le16(b, 48 + 4 * i)), -i);
    }
    std::filesystem::remove(path);
}

TEST(WaveFileOutputTest, MonoFileHasBlockAlignTwoAndDoubleByteRate)
{
    const std::string path = TempPath("mono.wav");
    {
        WaveFileOutput out(path, 1, 22050);
        PutFrame(out, 384, 7);
    }  // the destructor finishes the file too
    const auto b = ReadFile(path);
    ASSERT_EQ(b.size(), 46u + 384 * 2);
    EXPECT_EQ(Le16(b, 22), 1);
    EXPECT_EQ(Le32(b, 28), 44100u);
    EXPECT_EQ(Le16(b, 32), 2);
    EXPECT_EQ(Le32(b, 42), 384u * 2);
    EXPECT_EQ(Le16(b, 46), 7);
    std::filesystem::remove(path);
}

TEST(WaveFileOutputTest, EmptyOutputIsAValidEmptyFile)
{
    const std::string path = TempPath("empty.wav");
    WaveFileOutput(path, 2, 48000).Finish();
    const auto b = ReadFile(path);
    ASSERT_EQ(b.size(), 46u);
    EXPECT_EQ(Le32(b, 4), 38u);
    EXPECT_EQ(Le32(b, 42), 0u);
    std::filesystem::remove(path);
}

TEST(WaveFileOutputTest, ExtraSamplesOfALongerFrameAreNeverWrittenOutsideTheBuffer)
{
    const std::string path = TempPath("long.wav");
    {
        WaveFileOutput out(path, 2, 44100);
        PutFrame(out, 5000, 0);  // more than any frame can hold: the rest is dropped
        PutFrame(out, 384, 0);   // a shorter frame writes only what it produced
    }
    EXPECT_EQ(ReadFile(path).size(), 46u + (1152 + 384) * 4);
    std::filesystem::remove(path);
}

TEST(WaveFileOutputTest, UnwritableFileIsAnOutputFailure)
{
    EXPECT_THROW(WaveFileOutput("/nonexistent-dir/x.wav", 2, 44100), TMPEGError);
}

TEST(WaveFileOutputTest, FullDiskIsAnOutputFailure)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_THROW(
        {
            WaveFileOutput out("/dev/full", 2, 44100);
            for (int i = 0; i < 40; ++i)
                PutFrame(out, 1152, 0);
            out.Finish();
        },
        TMPEGError);
}

// A device that records what it is given.
struct DeviceLog {
    std::vector<std::vector<int16_t>> writes;
    int drops = 0;
    int drains = 0;
};
class FakeDevice final : public PcmDevice {
public:
    FakeDevice(DeviceLog& log, uint32_t channels)
        : log_(log),
          channels_(channels)
    {
    }
    void Write(const int16_t* samples, std::size_t frames) override
    {
        log_.writes.emplace_back(samples, samples + frames * channels_);
    }
    void Drop() override { ++log_.drops; }
    void Drain() override { ++log_.drains; }

private:
    DeviceLog& log_;
    uint32_t channels_;
};

struct RingTest : ::testing::Test {
    DeviceLog log;
    static constexpr int kSpf = 384;  // Layer I frames keep the buffers small
    static constexpr std::size_t kBufferSamples = 32 * kSpf * 2;
    std::unique_ptr<WaveOutOutput> Make()
    {
        return std::make_unique<WaveOutOutput>(std::make_unique<FakeDevice>(log, 2), 2, kSpf);
    }
    void Frames(AudioOutput& out, int count, int& next)
    {
        for (int i = 0; i < count; ++i, ++next)
            PutFrame(out, kSpf, next * kSpf);
    }
};

TEST_F(RingTest, FirstBufferIsHeldBackAndSoundStartsAfter64Frames)
{
    auto out = Make();
    int next = 0;
    Frames(*out, 63, next);
    EXPECT_TRUE(log.writes.empty());
    Frames(*out, 1, next);
    ASSERT_EQ(log.writes.size(), 2u);
    EXPECT_EQ(log.writes[0].size(), kBufferSamples);
    EXPECT_EQ(log.writes[0][0], 0);          // the first buffer first
    EXPECT_EQ(log.writes[1][0], 32 * kSpf);  // then the second
    EXPECT_EQ(log.writes[1][1], -(32 * kSpf));
    Frames(*out, 32, next);  // steady state: every full buffer goes on at once
    ASSERT_EQ(log.writes.size(), 3u);
    EXPECT_EQ(log.writes[2][0], 64 * kSpf);
    out->Finish();
    EXPECT_EQ(log.writes.size(), 3u);  // nothing partial was left
    EXPECT_EQ(log.drains, 1);
}

TEST_F(RingTest, ShortSoundIsPaddedWithSilenceAndPlayedAtTheEnd)
{
    auto out = Make();
    int next = 0;
    Frames(*out, 5, next);
    EXPECT_TRUE(log.writes.empty());
    out.reset();  // the destructor plays out too
    ASSERT_EQ(log.writes.size(), 1u);
    ASSERT_EQ(log.writes[0].size(), kBufferSamples);
    EXPECT_EQ(log.writes[0][2 * (5 * kSpf - 1)], 5 * kSpf - 1);
    EXPECT_EQ(log.writes[0][2 * 5 * kSpf], 0);
    EXPECT_EQ(log.writes[0].back(), 0);
    EXPECT_EQ(log.drains, 1);
}

TEST_F(RingTest, ExactlyOneBufferIsWrittenByTheEnd)
{
    auto out = Make();
    int next = 0;
    Frames(*out, 32, next);
    EXPECT_TRUE(log.writes.empty());
    out->Finish();
    ASSERT_EQ(log.writes.size(), 1u);
    EXPECT_EQ(log.writes[0][0], 0);
    EXPECT_EQ(log.drains, 1);
}

TEST_F(RingTest, HeldBackBufferAndPartialBufferBothPlayAtTheEnd)
{
    auto out = Make();
    int next = 0;
    Frames(*out, 40, next);
    out->Finish();
    ASSERT_EQ(log.writes.size(), 2u);
    EXPECT_EQ(log.writes[0][0], 0);
    EXPECT_EQ(log.writes[1][0], 32 * kSpf);
}

TEST_F(RingTest, StopDiscardsEverythingQueued)
{
    auto out = Make();
    int next = 0;
    Frames(*out, 70, next);
    ASSERT_EQ(log.writes.size(), 2u);
    out->MarkStopped();
    out->Finish();
    EXPECT_EQ(log.writes.size(), 2u);  // the partial buffer is not played
    EXPECT_EQ(log.drops, 1);
    EXPECT_EQ(log.drains, 0);
}

TEST_F(RingTest, JumpDropsTheQueueAndWarmsUpAgain)
{
    auto out = Make();
    int next = 0;
    Frames(*out, 70, next);
    ASSERT_EQ(log.writes.size(), 2u);
    out->DropQueued();
    EXPECT_EQ(log.drops, 1);
    next = 1000;
    Frames(*out, 63, next);
    EXPECT_EQ(log.writes.size(), 2u);  // warming up again
    Frames(*out, 1, next);
    ASSERT_EQ(log.writes.size(), 4u);
    EXPECT_EQ(log.writes[2][0], static_cast<int16_t>(1000 * kSpf));
}

TEST(AlsaOutputTest, PlaysOnTheNullDevice)
{
    ::setenv("SONAREL_ALSA_DEVICE", "null", 1);
    try {
        WaveOutOutput out(2, 44100, 1152);
        for (int i = 0; i < 70; ++i)
            PutFrame(out, 1152, 0);
        out.Finish();
    } catch (const TMPEGError&) {
        FAIL() << "ALSA null device could not be used";
    }
}

TEST(AlsaOutputTest, UnknownDeviceIsAnOutputFailure)
{
    ::setenv("SONAREL_ALSA_DEVICE", "no-such-sonarel-device", 1);
    EXPECT_THROW(WaveOutOutput(2, 44100, 1152), TMPEGError);
    ::setenv("SONAREL_ALSA_DEVICE", "null", 1);
}

}  // namespace
