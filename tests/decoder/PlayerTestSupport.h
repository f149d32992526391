// Helpers of the player tests: a caller-side memory stream served through the six callbacks
// (with a gate that holds reads back so a test can catch playback at a known point), test
// streams, frame counting and WAVE file inspection.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "SonarelApi.h"
#include "TestFiles.h"

namespace player_test {

inline std::string StreamPath(const char* name)
{
    return decoder_test::DataDir() + "/player/" + name;
}

using decoder_test::ReadFileBytes;

// Number of MPEG-1/2 Layer II frames in a stream of well-formed frames.
inline int CountFrames(const std::vector<uint8_t>& s)
{
    static const int kRates[2][3] = {{22050, 24000, 16000}, {44100, 48000, 32000}};
    static const int kMpeg1L2[16] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0};
    int frames = 0;
    std::size_t pos = 0;
    while (pos + 4 <= s.size() && s[pos] == 0xFF && (s[pos + 1] & 0xF0) == 0xF0) {
        const int version = (s[pos + 1] >> 3) & 1;
        const int rate = kRates[version][(s[pos + 2] >> 2) & 3];
        const int kbit = kMpeg1L2[s[pos + 2] >> 4];
        const int padding = (s[pos + 2] >> 1) & 1;
        pos += static_cast<std::size_t>(144 * kbit * 1000 / rate + padding);
        ++frames;
    }
    return frames;
}

struct WaveInfo {
    uint32_t riffSize = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, dataBytes = 0;
    std::size_t fileSize = 0;
    std::vector<int16_t> samples;
};
inline WaveInfo ReadWave(const std::string& path)
{
    const auto b = ReadFileBytes(path);
    WaveInfo w;
    w.fileSize = b.size();
    if (b.size() < 46)
        return w;
    auto le32 = [&](std::size_t at) {
        return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
    };
    auto le16 = [&](std::size_t at) { return static_cast<uint32_t>(b[at] | b[at + 1] << 8); };
    w.riffSize = le32(4);
    w.channels = le16(22);
    w.rate = le32(24);
    w.byteRate = le32(28);
    w.blockAlign = le16(32);
    w.dataBytes = le32(42);
    for (std::size_t i = 46; i + 1 < b.size(); i += 2)
        w.samples.push_back(static_cast<int16_t>(b[i] | b[i + 1] << 8));
    return w;
}

// Waits until the condition holds; the generous limit only matters when something hangs
// (sanitized builds on a loaded machine are slow).
inline bool WaitFor(const std::function<bool()>& condition, int seconds = 30)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return condition();
}

// The library as a test of its exports drives it: initialised for each test with a WAVE file of
// the test's own as output (the sound device is ALSA's "null"), deinitialised after it.
template <typename Base = ::testing::Test> class ExportsFixture : public Base {
protected:
    const SonarelApi& api = SonarelApi::Get();
    std::string wav;
    uint8_t done = 0;

    void SetUp() override
    {
        ::setenv("SONAREL_ALSA_DEVICE", "null", 1);
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');  // parameterised tests
        wav = (std::filesystem::temp_directory_path() / ("sonarel-" + std::to_string(::getpid()) + "-" + name + ".wav"))
                  .string();
        ASSERT_TRUE(api.init());
        ASSERT_TRUE(api.SetOutputDevice(2, wav.c_str()));
    }
    void TearDown() override
    {
        EXPECT_TRUE(api.deinit());
        api.LastError();
        std::filesystem::remove(wav);
    }
    bool WaitDone()
    {
        return WaitFor([&] { return std::atomic_ref<uint8_t>(done).load() == 1; });
    }
};

// A stream in memory, served the way the program serves a word's sound.
struct MemoryStream {
    std::vector<uint8_t> data;
    int64_t position = 0;
    bool notSeekable = false;
    bool failOpen = false;
    bool failRewind = false;
    bool endless = false;                  // reads go on from the start once the data ends
    int64_t failReadsFrom = -1;            // reads touching this offset or later fail
    std::atomic<int64_t> gate{INT64_MAX};  // reads beyond this offset wait for the gate
    std::atomic<bool> waiting{false};      // a read is waiting at the gate
    std::atomic<int> opens{0}, closes{0}, rewinds{0}, seeks{0};

    void Release() { gate.store(INT64_MAX); }

    template <typename F> static F* Self(void* user) { return static_cast<F*>(user); }

    static void OpenProc(void* user, uint8_t* notSeekable, uint32_t* handle)
    {
        auto* s = Self<MemoryStream>(user);
        ++s->opens;
        *notSeekable = s->notSeekable ? 1 : 0;
        *handle = s->failOpen ? 0 : 7;
    }
    static void CloseProc(void* user, uint32_t handle)
    {
        EXPECT_EQ(handle, 7u);
        ++Self<MemoryStream>(user)->closes;
    }
    static void RewindProc(void* user, uint32_t, uint8_t* ok)
    {
        auto* s = Self<MemoryStream>(user);
        ++s->rewinds;
        if (s->failRewind) {
            *ok = 0;
            return;
        }
        s->position = 0;
        *ok = 1;
    }
    static void ReadProc(void* user, uint32_t, void* buffer, int32_t count, int32_t* read, uint8_t* ok)
    {
        auto* s = Self<MemoryStream>(user);
        while (s->position + count > s->gate.load()) {
            s->waiting.store(true);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        s->waiting.store(false);
        if (s->failReadsFrom >= 0 && s->position + count > s->failReadsFrom) {
            *read = 0;
            *ok = 0;
            return;
        }
        auto* out = static_cast<uint8_t*>(buffer);
        if (s->endless) {  // a stream that never ends: playback stops only when asked to
            for (int32_t i = 0; i < count; ++i)
                out[i] = s->data[static_cast<std::size_t>(s->position + i) % s->data.size()];
            s->position += count;
            *read = count;
            *ok = 1;
            return;
        }
        const int64_t left = static_cast<int64_t>(s->data.size()) - s->position;
        const int32_t n = static_cast<int32_t>(std::max<int64_t>(0, std::min<int64_t>(count, left)));
        std::copy_n(s->data.begin() + s->position, n, out);
        s->position += n;
        *read = n;
        *ok = 1;
    }
    static void SeekProc(void* user, uint32_t, int32_t distance, int32_t origin, int32_t* result)
    {
        auto* s = Self<MemoryStream>(user);
        ++s->seeks;
        const int64_t target = (origin == 0 ? 0 : s->position) + distance;
        if (s->notSeekable || target < 0 || target > static_cast<int64_t>(s->data.size())) {
            *result = -1;
            return;
        }
        s->position = target;
        *result = static_cast<int32_t>(target);
    }
    static void SizeProc(void* user, uint32_t, int32_t* size)
    {
        *size = static_cast<int32_t>(Self<MemoryStream>(user)->data.size());
    }

    bool OpenWith(const SonarelApi& api)
    {
        return api.Open(nullptr, 1, OpenProc, CloseProc, RewindProc, ReadProc, SeekProc, SizeProc, this);
    }
};

}  // namespace player_test
