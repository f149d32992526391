// Layer III streams made by lame, decoded through the frame reader, the Layer III decoder and
// the synthesis filters, against mpg123 (and madplay for a few).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "Layer3Harness.h"

using namespace l3test;

namespace {

const char* const Streams[] = {
    "m44_js128_sweep", "m44_st320_loud",    "m44_v0_bursts",    "m48_st192_clicks",  "m48_mono56_noise",
    "m32_js96_tones",  "m32_mono64_clicks", "l22_js_v5_bursts", "l22_mono32_speech", "l24_st64_clicks",
    "l24_js_v9_tones", "l16_mono8_noise",   "l16_js160_clicks",
};
const char* const MadplayStreams[] = {"m44_js128_sweep", "l22_js_v5_bursts", "m32_mono64_clicks"};

void ExpectMatches(const std::string& name, const DecodedStream& d, const Comparison& c, const char* ref)
{
    std::printf("[layer3] %-18s %-7s %2d ch %5d Hz %4d frames %8zu samples: %.3f%% exact, max %d LSB\n", name.c_str(),
                ref, d.Channels, d.SampleRate, d.Frames, c.Samples, 100.0 * c.ExactShare(), c.MaxDifference);
    EXPECT_EQ(c.Samples, c.ReferenceSamples) << name;
    EXPECT_GE(c.ExactShare(), 0.995) << name;
    EXPECT_LE(c.MaxDifference, 1) << name;
}

}  // namespace

class Layer3Reference : public testing::TestWithParam<const char*> {};

TEST_P(Layer3Reference, MatchesMpg123)
{
    const std::string name = GetParam();
    const DecodedStream d = DecodeLayer3(TestDataDir() + name + ".mp3");
    ASSERT_TRUE(d.Opened);
    ExpectMatches(name, d, CompareWithFloat(d.Pcm, TestDataDir() + name + ".f32"), "mpg123");
}

INSTANTIATE_TEST_SUITE_P(Streams, Layer3Reference, testing::ValuesIn(Streams));

TEST(Layer3Reference, MatchesMadplay)
{
    for (const char* name : MadplayStreams) {
        const DecodedStream d = DecodeLayer3(TestDataDir() + name + ".mp3");
        ASSERT_TRUE(d.Opened);
        ExpectMatches(name, d, CompareWithS24(d.Pcm, TestDataDir() + std::string(name) + ".s24"), "madplay");
    }
}
