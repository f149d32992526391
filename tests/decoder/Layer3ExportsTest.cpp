// Layer III through the exported interface, as the program speaks a word: to a WAVE file that
// matches the reference, and to the ALSA "null" device.
#include <gtest/gtest.h>

#include "Layer3Harness.h"
#include "PlayerTestSupport.h"

using namespace l3test;

namespace {

class Layer3Exports : public player_test::ExportsFixture<::testing::TestWithParam<const char*>> {};

}  // namespace

TEST_P(Layer3Exports, WaveFileMatchesTheReference)
{
    const std::string name = GetParam();
    const std::string path = TestDataDir() + name + ".mp3";
    ASSERT_TRUE(api.SetOutputDevice(2, wav.c_str()));
    ASSERT_TRUE(api.Open(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(api.GetLayer(), 3);
    ASSERT_EQ(api.Play(0, 0, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(api.GetPlayerMode(), 2);
    EXPECT_EQ(api.LastError(), 0);
    const player_test::WaveInfo w = player_test::ReadWave(wav);
    const DecodedStream d = DecodeLayer3(path);
    EXPECT_EQ(w.channels, static_cast<uint32_t>(d.Channels));
    EXPECT_EQ(w.rate, static_cast<uint32_t>(d.SampleRate));
    EXPECT_EQ(w.samples, d.Pcm);  // the playback thread adds nothing to the decoder's samples
    const Comparison c = CompareWithFloat(w.samples, TestDataDir() + name + ".f32");
    std::printf("[layer3] %-18s exports %zu samples: %.3f%% exact, max %d LSB\n", name.c_str(), c.Samples,
                100.0 * c.ExactShare(), c.MaxDifference);
    EXPECT_EQ(c.Samples, c.ReferenceSamples);
    EXPECT_GE(c.ExactShare(), 0.995);
    EXPECT_LE(c.MaxDifference, 1);
    EXPECT_TRUE(api.Close());
}

INSTANTIATE_TEST_SUITE_P(Streams, Layer3Exports,
                         ::testing::Values("m44_js128_sweep", "m44_st320_loud", "m44_v0_bursts", "m48_st192_clicks",
                                           "m48_mono56_noise", "m32_js96_tones", "m32_mono64_clicks",
                                           "l22_js_v5_bursts", "l22_mono32_speech", "l24_st64_clicks",
                                           "l24_js_v9_tones", "l16_mono8_noise", "l16_js160_clicks"));

TEST_F(Layer3Exports, SpokenWordPlaysOnTheNullDevice)
{
    const std::string path = TestDataDir() + "l22_mono32_speech.mp3";
    ASSERT_TRUE(api.SetOutputDevice(0, nullptr));
    ASSERT_TRUE(api.Open(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(api.GetFrequency(), 22050);
    ASSERT_EQ(api.Play(0, 0, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(api.GetPlayerMode(), 2);
    EXPECT_EQ(api.LastError(), 0);
    EXPECT_TRUE(api.Close());
}

// A stream that changes from Layer II to Layer III: once the synthesis history has passed the
// change (one frame), the Layer III part is the same as that stream decoded on its own.
TEST_F(Layer3Exports, LayerChangeMidStreamDecodesTheLayerThreePart)
{
    const std::string player = decoder_test::DataDir() + "/player/";
    ASSERT_TRUE(api.SetOutputDevice(2, wav.c_str()));
    ASSERT_TRUE(
        api.Open((player + "mixed44.mpa").c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(api.GetLayer(), 2);
    ASSERT_EQ(api.Play(0, 0, &done), 0);
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(api.LastError(), 0);
    const player_test::WaveInfo w = player_test::ReadWave(wav);
    const DecodedStream alone = DecodeLayer3(player + "l3part.mp3");
    ASSERT_GT(alone.Pcm.size(), 4u * 1152);
    ASSERT_GT(w.samples.size(), alone.Pcm.size());
    const size_t layer2 = w.samples.size() - alone.Pcm.size();
    EXPECT_EQ(layer2 % (2 * 1152), 0u);
    for (size_t i = 2 * 1152; i < alone.Pcm.size(); ++i)
        ASSERT_EQ(w.samples[layer2 + i], alone.Pcm[i]) << i;
    EXPECT_TRUE(api.Close());
}
