// Damaged Layer III streams: flipped bytes, truncation inside a frame, frames removed (so that
// main_data_begin points at lost data), junk between frames, and hand-made frames with
// out-of-range side information. Each must decode to the end without a fault (the sanitized
// build checks every access) and stay within the frame count it was given.
#include <gtest/gtest.h>

#include <random>

#include "Layer3Harness.h"

using namespace l3test;

namespace {

const char* const Streams[] = {"m44_js128_sweep",  "m44_v0_bursts",     "m48_st192_clicks", "m32_mono64_clicks",
                               "l22_js_v5_bursts", "l22_mono32_speech", "l16_mono8_noise"};

// Byte ranges of the frames of a well-formed Layer III stream.
std::vector<std::pair<size_t, size_t>> SplitFrames(const std::vector<uint8_t>& s)
{
    static const int Rates[2][3] = {{22050, 24000, 16000}, {44100, 48000, 32000}};
    static const int Kbit[2][16] = {{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
                                    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}};
    std::vector<std::pair<size_t, size_t>> frames;
    size_t pos = 0;
    while (pos + 4 <= s.size() && s[pos] == 0xFF && (s[pos + 1] & 0xF0) == 0xF0) {
        const int version = (s[pos + 1] >> 3) & 1;
        const int rate = Rates[version][(s[pos + 2] >> 2) & 3];
        const int kbit = Kbit[version][s[pos + 2] >> 4];
        const int padding = (s[pos + 2] >> 1) & 1;
        const size_t size = static_cast<size_t>((version ? 144 : 72) * kbit * 1000 / rate + padding);
        if (size < 4)
            break;
        frames.emplace_back(pos, size);
        pos += size;
    }
    return frames;
}

void DecodesQuietly(const std::vector<uint8_t>& bytes, size_t maxFrames, const std::string& what)
{
    const DecodedStream d = DecodeLayer3Bytes(bytes);
    EXPECT_LE(static_cast<size_t>(d.Frames), maxFrames) << what;
    if (d.Channels > 0) {
        EXPECT_EQ(d.Pcm.size() % static_cast<size_t>(d.Channels), 0u) << what;
    }
}

}  // namespace

class Layer3Corruption : public testing::TestWithParam<const char*> {};

TEST_P(Layer3Corruption, DamagedCopiesDecodeWithoutFault)
{
    const std::string name = GetParam();
    const std::vector<uint8_t> original = ReadFileBytes(TestDataDir() + name + ".mp3");
    const auto frames = SplitFrames(original);
    ASSERT_GT(frames.size(), 20u) << name;
    std::mt19937 rng(static_cast<unsigned>(std::hash<std::string>{}(name)));
    const size_t n = original.size();

    // Flipped bytes, a few densities.
    for (int density : {50, 400, 3000}) {
        std::vector<uint8_t> s = original;
        for (size_t i = 0; i < n / static_cast<size_t>(density) + 1; ++i)
            s[rng() % n] ^= static_cast<uint8_t>(1 + rng() % 255);
        DecodesQuietly(s, n, name + " flipped");
    }
    // Truncated inside a frame.
    for (int k = 0; k < 3; ++k) {
        const auto& f = frames[rng() % frames.size()];
        std::vector<uint8_t> s(original.begin(),
                               original.begin() + static_cast<long>(f.first + 1 + rng() % (f.second - 1)));
        DecodesQuietly(s, frames.size(), name + " truncated");
    }
    // Every third frame removed: later frames' main data partly lost.
    {
        std::vector<uint8_t> s;
        for (size_t i = 0; i < frames.size(); ++i)
            if (i % 3 != 1)
                s.insert(s.end(), original.begin() + static_cast<long>(frames[i].first),
                         original.begin() + static_cast<long>(frames[i].first + frames[i].second));
        const DecodedStream d = DecodeLayer3Bytes(s);
        EXPECT_GT(d.Frames, 0) << name;
        EXPECT_LE(static_cast<size_t>(d.Frames), frames.size()) << name;
    }
    // Junk (random bytes, runs of 0xFF, header-like bytes) between frames.
    {
        std::vector<uint8_t> s;
        for (size_t i = 0; i < frames.size(); ++i) {
            s.insert(s.end(), original.begin() + static_cast<long>(frames[i].first),
                     original.begin() + static_cast<long>(frames[i].first + frames[i].second));
            if (i % 4 == 2) {
                const size_t junk = 1 + rng() % 300;
                for (size_t j = 0; j < junk; ++j)
                    s.push_back(i % 8 == 2 ? 0xFF : static_cast<uint8_t>(rng()));
                // A header copied from the stream with no body behind it.
                s.insert(s.end(), original.begin(), original.begin() + 4);
            }
        }
        DecodesQuietly(s, s.size(), name + " junk");
    }
}

INSTANTIATE_TEST_SUITE_P(Streams, Layer3Corruption, testing::ValuesIn(Streams));

// Frames whose side information takes every field to its limit: big_values 511, region counts
// beyond the band table, part2_3_length 4095, main_data_begin 511, all table selections, block
// types with mixing, and LSF scale-factor codes at the top of their range.
TEST(Layer3Corruption, SideInformationAtItsLimits)
{
    std::mt19937 rng(99);
    for (int variant = 0; variant < 4; ++variant) {
        // 44.1 kHz joint stereo 128 kbit/s (MPEG-1), or 22.05 kHz joint stereo 64 kbit/s (LSF).
        const bool lsf = variant & 1;
        const std::vector<uint8_t> header =
            lsf ? std::vector<uint8_t>{0xFF, 0xF3, 0x80, 0x74} : std::vector<uint8_t>{0xFF, 0xFB, 0x90, 0x74};
        const size_t size = lsf ? 208 : 417;
        std::vector<uint8_t> s;
        for (int f = 0; f < 40; ++f) {
            s.insert(s.end(), header.begin(), header.end());
            for (size_t i = 4; i < size; ++i)
                s.push_back(static_cast<uint8_t>(variant >= 2 ? 0xFF : rng()));
            if (f % 2)
                s[s.size() - size + 4] = 0;  // main_data_begin 0 now and then
        }
        DecodesQuietly(s, 40, lsf ? "lsf limits" : "mpeg-1 limits");
    }
}
