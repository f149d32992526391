// The player through the exported C interface, as the program drives it: modes, error codes,
// ranges, pause, jumps, stop, restart and the done byte.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>

#include "PlayerTestSupport.h"

using namespace player_test;

namespace {

constexpr float kMs44 = 26.12245f;  // Layer II frame at 44.1 kHz
constexpr int kBytes44 = 626;       // 192 kbit/s, no padding
constexpr int kFrameSamples = 1152;

int FrameOf(uint32_t ms)
{
    return static_cast<int>(static_cast<float>(ms) / kMs44);
}

class PlayerTest : public ExportsFixture<> {
protected:
    MemoryStream mem;
    int frames = 0;

    void SetUp() override
    {
        done = 0xAA;
        ExportsFixture::SetUp();
        mem.data = ReadFileBytes(StreamPath("stereo44.mp2"));
        ASSERT_GT(mem.data.size(), 0u) << "test stream missing";
        frames = CountFrames(mem.data);
        ASSERT_GT(frames, 140);
    }
    int WavFrames()
    {
        const WaveInfo w = ReadWave(wav);
        EXPECT_EQ(w.dataBytes % (kFrameSamples * 4), 0u);
        return static_cast<int>(w.dataBytes / (kFrameSamples * 4));
    }
    // Holds playback back while it reads the body of frame n.
    void GateAtFrame(int n) { mem.gate.store(static_cast<int64_t>(n) * kBytes44 + 100); }
    void WaitAtGate()
    {
        ASSERT_TRUE(WaitFor([&] { return mem.waiting.load(); }));
    }
    // Starts playing the whole stream and waits until playback is held reading frame n.
    void PlayToGate(int n)
    {
        GateAtFrame(n);
        ASSERT_EQ(api.Play(0, 0, &done), 0);
        WaitAtGate();
    }
    // Pauses playback that is held at the gate, lets it go on and waits until it is paused.
    void PauseHeldPlayback()
    {
        EXPECT_TRUE(api.Pause(0));
        mem.Release();
        ASSERT_TRUE(WaitFor([&] { return api.GetPlayerMode() == 4; }));
    }
    // Makes a call while playback is held, releasing it a little later: the call meets a thread
    // that is busy in a read.
    bool CallWhileHeld(const std::function<bool()>& call)
    {
        std::thread release([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            mem.Release();
        });
        const bool result = call();
        release.join();
        return result;
    }
};

TEST(PlayerNoInitTest, CallsBeforeInitFailWithErrorTwo)
{
    const SonarelApi& api = SonarelApi::Get();
    uint8_t done = 0;
    EXPECT_TRUE(api.deinit());  // also without a player
    EXPECT_FALSE(api.Close());
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_EQ(api.Play(0, 0, &done), 0);
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_FALSE(api.Open("x", 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_EQ(api.GetPlayerMode(), -1);
    EXPECT_EQ(api.GetLength(), -1);  // GetLength leaves the code alone
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_EQ(api.LastError(), 0);  // read once, then reset
    for (auto call : {api.Stop, api.Restart, api.Seekable}) {
        EXPECT_FALSE(call());
        EXPECT_EQ(api.LastError(), 2);
    }
    EXPECT_FALSE(api.Seek(0));
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_FALSE(api.Pause(0));
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_FALSE(api.SetOutputDevice(2, "x"));
    EXPECT_EQ(api.LastError(), 2);

    ASSERT_TRUE(api.init());
    EXPECT_FALSE(api.init());  // a second init fails, the first player survives
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_EQ(api.GetPlayerMode(), 0);
    EXPECT_TRUE(api.deinit());
}

TEST_F(PlayerTest, ClosedPlayerRefusesWhatNeedsAStream)
{
    EXPECT_FALSE(api.Close());
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_EQ(api.Play(0, 0, &done), 0);  // no stream to play
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_EQ(done, 0xAA);
    EXPECT_FALSE(api.Stop());
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_FALSE(api.Restart());
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_FALSE(api.Pause(1));  // no playback thread yet
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_EQ(api.GetLength(), -1);
    api.ResetPlayerMode();
    EXPECT_EQ(api.GetPlayerMode(), 0);
    // Another call clears the code.
    EXPECT_FALSE(api.Close());
    EXPECT_EQ(api.GetPlayerMode(), 0);
    EXPECT_EQ(api.LastError(), 0);
}

TEST_F(PlayerTest, OpenFailuresAreStreamErrors)
{
    EXPECT_FALSE(api.Open(nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(api.LastError(), 3);
    EXPECT_FALSE(api.Open("/nonexistent/x.mp2", 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(api.LastError(), 3);
    EXPECT_EQ(api.GetPlayerMode(), 0);

    mem.failOpen = true;  // OpenProc hands out no handle: nothing to close
    EXPECT_FALSE(mem.OpenWith(api));
    EXPECT_EQ(api.LastError(), 3);
    EXPECT_EQ(mem.closes, 0);

    MemoryStream junk;  // no frame header anywhere, and a run of 0xFF never matches
    junk.data.assign(3000, 0xFF);
    EXPECT_FALSE(junk.OpenWith(api));
    EXPECT_EQ(api.LastError(), 3);
    EXPECT_EQ(api.GetPlayerMode(), 0);
    EXPECT_EQ(junk.closes, 1);  // the stream that was opened is handed back at once
    EXPECT_EQ(api.GetLength(), -1);
}

TEST_F(PlayerTest, OpenedFileReportsItsStream)
{
    const std::string path = StreamPath("stereo44.mp2");
    ASSERT_TRUE(api.Open(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(api.LastError(), 0);
    EXPECT_EQ(api.GetPlayerMode(), 1);
    EXPECT_EQ(api.GetLayer(), 2);
    EXPECT_EQ(api.GetFrequency(), 44100);
    EXPECT_EQ(api.GetBitrate(), 192000);
    const auto estimate = static_cast<float>(mem.data.size() / kBytes44);
    EXPECT_EQ(api.GetLength(), static_cast<int32_t>(estimate * kMs44));
    EXPECT_TRUE(api.Seekable());
    EXPECT_GT(api.GetCurrentPos(), api.GetLength());  // nothing decoded yet: no position
    EXPECT_FALSE(api.Stop());                         // mode 1
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_FALSE(api.Seek(0));
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_TRUE(api.Close());
    EXPECT_EQ(api.GetPlayerMode(), 0);
    EXPECT_EQ(api.GetLength(), -1);
}

TEST_F(PlayerTest, OpenInModeOneReleasesThePreviousStream)
{
    ASSERT_TRUE(mem.OpenWith(api));
    MemoryStream second;
    second.data = ReadFileBytes(StreamPath("mono48.mp2"));
    ASSERT_TRUE(second.OpenWith(api));
    EXPECT_EQ(mem.closes, 1);
    EXPECT_EQ(api.GetFrequency(), 48000);
    MemoryStream junk;  // a failed Open leaves nothing open
    junk.data.assign(100, 0);
    EXPECT_FALSE(junk.OpenWith(api));
    EXPECT_EQ(second.closes, 1);
    EXPECT_EQ(junk.closes, 1);
    EXPECT_EQ(api.GetPlayerMode(), 0);
    EXPECT_EQ(api.Play(0, 0, &done), 0);
    EXPECT_EQ(api.LastError(), 2);
}

TEST_F(PlayerTest, WholeStreamGoesIntoAnExactWaveFile)
{
    ASSERT_TRUE(mem.OpenWith(api));
    GateAtFrame(5);
    EXPECT_EQ(api.Play(0, 0, &done), 0);
    EXPECT_EQ(api.LastError(), 0);
    WaitAtGate();
    EXPECT_EQ(std::atomic_ref<uint8_t>(done).load(), 0);
    mem.Release();
    ASSERT_TRUE(WaitDone());
    // The file is complete by the time the done byte is set.
    const WaveInfo w = ReadWave(wav);
    EXPECT_EQ(api.GetPlayerMode(), 2);
    EXPECT_EQ(w.channels, 2u);
    EXPECT_EQ(w.rate, 44100u);
    EXPECT_EQ(w.byteRate, 44100u * 4);
    EXPECT_EQ(w.blockAlign, 4u);
    EXPECT_EQ(w.dataBytes, static_cast<uint32_t>(frames) * kFrameSamples * 4);
    EXPECT_EQ(w.riffSize, w.fileSize - 8);
    EXPECT_EQ(w.fileSize, 46u + w.dataBytes);
    EXPECT_EQ(api.LastError(), 0);  // the end of the stream is no error

    api.ResetPlayerMode();
    EXPECT_EQ(api.GetPlayerMode(), 1);
    EXPECT_EQ(done, 0);
    EXPECT_TRUE(api.Close());
    EXPECT_EQ(mem.closes, 1);
}

TEST_F(PlayerTest, MonoStreamGivesAMonoWaveFile)
{
    MemoryStream mono;
    mono.data = ReadFileBytes(StreamPath("mono48.mp2"));
    ASSERT_TRUE(mono.OpenWith(api));
    EXPECT_EQ(api.GetFrequency(), 48000);
    EXPECT_EQ(api.Play(0, 0, &done), 0);
    ASSERT_TRUE(WaitDone());
    const WaveInfo w = ReadWave(wav);
    EXPECT_EQ(w.channels, 1u);
    EXPECT_EQ(w.blockAlign, 2u);
    EXPECT_EQ(w.byteRate, 96000u);
    EXPECT_EQ(w.dataBytes, static_cast<uint32_t>(CountFrames(mono.data)) * kFrameSamples * 2);

    // 24 ms frames at 48 kHz: frames 20 to 40, each decoded once.
    ASSERT_EQ(api.Play(480, 960, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(ReadWave(wav).dataBytes, 21u * kFrameSamples * 2);
}

TEST_F(PlayerTest, LayerChangeMidStreamStartsTheLayerThreeDecoder)
{
    auto decodedBytes = [&](const char* name) {
        MemoryStream s;
        s.data = ReadFileBytes(StreamPath(name));
        EXPECT_TRUE(s.OpenWith(api));
        EXPECT_EQ(api.Play(0, 100000, &done), 0);
        EXPECT_TRUE(WaitDone());
        EXPECT_EQ(api.LastError(), 0);
        EXPECT_TRUE(api.Close());
        return ReadWave(wav).dataBytes;
    };
    const uint32_t layer2 = decodedBytes("stereo44.mp2");
    const uint32_t layer3 = decodedBytes("l3part.mp3");
    ASSERT_GT(layer3, 0u);
    EXPECT_EQ(decodedBytes("mixed44.mpa"), layer2 + layer3);
}

TEST_F(PlayerTest, ChecksumsAreCheckedFrameByFrame)
{
    MemoryStream crc;
    crc.data = ReadFileBytes(StreamPath("crc44.mp2"));
    const int n = CountFrames(crc.data);
    ASSERT_GT(n, 60);
    ASSERT_EQ(crc.data[1] & 1, 0) << "not a protected stream";
    ASSERT_TRUE(crc.OpenWith(api));
    ASSERT_EQ(api.Play(0, 0, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(WavFrames(), n);  // every frame passes, the first ones included

    // After a jump the checksum of the frame reached and of those that follow still matches.
    crc.gate.store(10 * 418 + 100);
    ASSERT_TRUE(api.Restart());
    ASSERT_TRUE(WaitFor([&] { return crc.waiting.load(); }));
    EXPECT_TRUE(api.Seek(1000));
    crc.Release();
    ASSERT_TRUE(WaitDone());
    const int before = WavFrames() - (n - FrameOf(1000));
    EXPECT_GE(before, 8);
    EXPECT_LE(before, 11);
    EXPECT_TRUE(api.Close());

    // A damaged allocation field in one frame drops that frame only.
    MemoryStream damaged;
    damaged.data = crc.data;
    std::size_t pos = 0;
    for (int i = 0; i < 20; ++i)
        pos += 417 + ((damaged.data[pos + 2] >> 1) & 1);
    damaged.data[pos + 6] ^= 0x80;
    ASSERT_TRUE(damaged.OpenWith(api));
    ASSERT_EQ(api.Play(0, 0, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(WavFrames(), n - 1);
}

TEST_F(PlayerTest, RangesInMilliseconds)
{
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_EQ(api.Play(1000, 2000, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(WavFrames(), FrameOf(2000) - FrameOf(1000) + 1);  // the end frame is played

    // FromMs not below ToMs: the start frame stays where it was; the end is the frame of 3000 ms.
    ASSERT_EQ(api.Play(5000, 3000, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(WavFrames(), FrameOf(3000) - FrameOf(1000) + 1);

    // ToMs beyond the length plays to the end of the stream.
    ASSERT_EQ(api.Play(2000, 100000, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(WavFrames(), frames - FrameOf(2000));
    EXPECT_EQ(api.LastError(), 0);
}

TEST_F(PlayerTest, PlayWhilePlayingIsRefusedAndStopEndsPlayback)
{
    mem.endless = true;  // however late Stop comes, playback is still running
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_NO_FATAL_FAILURE(PlayToGate(10));
    EXPECT_EQ(api.GetPlayerMode(), 3);
    EXPECT_EQ(api.GetLayer(), 2);
    EXPECT_EQ(api.GetFrequency(), 44100);
    EXPECT_EQ(api.GetBitrate(), 192000);
    EXPECT_EQ(api.Play(0, 0, &done), 0);
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_FALSE(api.Restart());
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_FALSE(api.Open(nullptr, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(api.LastError(), 2);
    EXPECT_TRUE(api.SetPriority(2));  // applied to the running thread
    // The stop request is seen at the next frame boundary, once the held read returns.
    EXPECT_TRUE(CallWhileHeld(api.Stop));
    EXPECT_EQ(api.GetPlayerMode(), 1);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(api.LastError(), 0);
    EXPECT_EQ(ReadWave(wav).riffSize, ReadWave(wav).fileSize - 8);  // the file is still complete
}

TEST_F(PlayerTest, PauseHoldsPlaybackUntilResumed)
{
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_NO_FATAL_FAILURE(PlayToGate(10));
    EXPECT_TRUE(api.Pause(1));  // resume while playing changes nothing
    ASSERT_NO_FATAL_FAILURE(PauseHeldPlayback());
    const int32_t pos = api.GetCurrentPos();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(api.GetCurrentPos(), pos);
    EXPECT_EQ(done, 0);
    EXPECT_TRUE(api.Pause(0));  // pausing while paused changes nothing
    EXPECT_TRUE(api.Pause(1));
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(api.GetPlayerMode(), 2);
    EXPECT_EQ(WavFrames(), frames);
}

TEST_F(PlayerTest, SeekWhilePausedHappensAtOnceAndStopEndsThePause)
{
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_NO_FATAL_FAILURE(PlayToGate(10));
    ASSERT_NO_FATAL_FAILURE(PauseHeldPlayback());
    EXPECT_TRUE(api.Seek(2000));
    const auto expected = static_cast<int32_t>(kMs44 * static_cast<float>(FrameOf(2000)));
    EXPECT_TRUE(WaitFor([&] { return api.GetCurrentPos() == expected; }));
    EXPECT_EQ(api.GetPlayerMode(), 4);
    EXPECT_TRUE(api.Stop());
    EXPECT_EQ(api.GetPlayerMode(), 1);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(api.LastError(), 0);
}

TEST_F(PlayerTest, SeekWhilePlaying)
{
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_NO_FATAL_FAILURE(PlayToGate(20));
    EXPECT_TRUE(api.Seek(3000));
    mem.Release();
    ASSERT_TRUE(WaitDone());
    // Frames 0..19 were decoded before the jump took effect, then the jump target to the end.
    EXPECT_EQ(WavFrames(), 20 + frames - FrameOf(3000));
}

TEST_F(PlayerTest, SeekLimits)
{
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_NO_FATAL_FAILURE(PlayToGate(5));
    const int32_t length = api.GetLength();
    EXPECT_FALSE(api.Seek(static_cast<uint32_t>(length) + 1));
    EXPECT_EQ(api.LastError(), 0);
    EXPECT_TRUE(api.Seek(static_cast<uint32_t>(length)));
    mem.Release();
    ASSERT_TRUE(WaitDone());  // a jump to the length lands at the end
    EXPECT_EQ(api.GetPlayerMode(), 2);
    EXPECT_TRUE(api.Stop());  // in mode 2: mode 1, done byte untouched
    EXPECT_EQ(api.GetPlayerMode(), 1);
    EXPECT_EQ(done, 1);
}

TEST_F(PlayerTest, StreamThatCannotSeek)
{
    mem.notSeekable = true;
    ASSERT_TRUE(mem.OpenWith(api));
    EXPECT_FALSE(api.Seekable());
    EXPECT_FALSE(api.Seek(0));  // error 4 comes before the mode test
    EXPECT_EQ(api.LastError(), 4);
    ASSERT_EQ(api.Play(1000, 0, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(WavFrames(), frames);  // playback begins with the frame that Open read
    EXPECT_EQ(mem.seeks, 0);
    EXPECT_TRUE(api.Close());
    EXPECT_FALSE(api.Seek(0));  // Close leaves the flag
    EXPECT_EQ(api.LastError(), 4);
}

TEST_F(PlayerTest, FailingReadEndsPlaybackQuietly)
{
    mem.failReadsFrom = 50 * kBytes44 + 10;
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_EQ(api.Play(0, 0, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(api.GetPlayerMode(), 2);
    EXPECT_EQ(WavFrames(), 50);
    EXPECT_EQ(api.LastError(), 0);
}

TEST_F(PlayerTest, RestartPlaysTheSameRangeAgain)
{
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_EQ(api.Play(1000, 2000, &done), 0);
    ASSERT_TRUE(WaitDone());
    const std::vector<int16_t> first = ReadWave(wav).samples;
    EXPECT_TRUE(api.Restart());
    EXPECT_EQ(mem.rewinds, 1);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(ReadWave(wav).samples, first);  // same frames, same audio
    EXPECT_EQ(WavFrames(), FrameOf(2000) - FrameOf(1000) + 1);

    api.ResetPlayerMode();
    mem.failRewind = true;
    EXPECT_FALSE(api.Restart());
    EXPECT_EQ(api.LastError(), 3);
    EXPECT_EQ(api.GetPlayerMode(), 1);
}

TEST_F(PlayerTest, ScaleFactorTakesEffectAtTheNextPlay)
{
    ASSERT_TRUE(mem.OpenWith(api));
    EXPECT_TRUE(api.UseScaleFactor(1, 0.0f));
    ASSERT_EQ(api.Play(0, 500, &done), 0);
    ASSERT_TRUE(WaitDone());
    for (int16_t s : ReadWave(wav).samples)
        ASSERT_EQ(s, 0);
    EXPECT_TRUE(api.UseScaleFactor(0, 0.5f));  // the factor is kept only when used
    api.ResetPlayerMode();
    ASSERT_EQ(api.Play(0, 500, &done), 0);
    ASSERT_TRUE(WaitDone());
    int nonZero = 0;
    for (int16_t s : ReadWave(wav).samples)
        nonZero += s != 0;
    EXPECT_GT(nonZero, 1000);
}

TEST_F(PlayerTest, OutputFailures)
{
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_TRUE(api.SetOutputDevice(2, "/nonexistent/out.wav"));
    EXPECT_EQ(api.Play(0, 0, &done), 1);
    EXPECT_EQ(api.LastError(), 5);
    EXPECT_EQ(api.GetPlayerMode(), 1);

    if (std::filesystem::exists("/dev/full")) {
        ASSERT_TRUE(api.SetOutputDevice(2, "/dev/full"));
        ASSERT_EQ(api.Play(0, 0, &done), 0);
        ASSERT_TRUE(WaitDone());
        EXPECT_EQ(api.LastError(), 5);
        EXPECT_EQ(api.GetPlayerMode(), 2);
        EXPECT_TRUE(api.Restart());  // the player is usable again
        ASSERT_TRUE(WaitDone());
    }
}

TEST_F(PlayerTest, UnknownDeviceTypeKeepsTheOutput)
{
    ASSERT_TRUE(mem.OpenWith(api));
    EXPECT_TRUE(api.SetOutputDevice(3, "/nonexistent/other.wav"));
    ASSERT_EQ(api.Play(0, 200, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(WavFrames(), FrameOf(200) + 1);
}

TEST_F(PlayerTest, SoundDeviceOutput)
{
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_TRUE(api.SetOutputDevice(0, nullptr));
    EXPECT_TRUE(api.SetPriority(-1));  // below normal: a nice value of 5
    ASSERT_EQ(api.Play(0, 0, &done), 0);
    EXPECT_EQ(api.LastError(), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(api.GetPlayerMode(), 2);
    EXPECT_EQ(api.LastError(), 0);
    EXPECT_FALSE(std::filesystem::exists(wav));
}

TEST_F(PlayerTest, CloseWhilePlayingStopsFirst)
{
    mem.endless = true;
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_NO_FATAL_FAILURE(PlayToGate(10));
    EXPECT_TRUE(CallWhileHeld(api.Close));
    EXPECT_EQ(api.GetPlayerMode(), 0);
    EXPECT_EQ(mem.closes, 1);
    EXPECT_EQ(done, 0);
}

TEST_F(PlayerTest, DeinitWhilePausedClosesTheStream)
{
    ASSERT_TRUE(mem.OpenWith(api));
    ASSERT_NO_FATAL_FAILURE(PlayToGate(10));
    ASSERT_NO_FATAL_FAILURE(PauseHeldPlayback());
    EXPECT_TRUE(api.deinit());
    EXPECT_EQ(mem.closes, 1);
    EXPECT_EQ(api.GetPlayerMode(), -1);
    EXPECT_EQ(api.LastError(), 2);
    ASSERT_TRUE(api.init());  // for TearDown
}

}  // namespace
