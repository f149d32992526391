// Layer I and II through the exported interface, as the program plays a sound: into a WAVE
// file whose samples match the reference decoder, from a file and from the stream callbacks.
#include "Layer12Harness.h"
#include "PlayerTestSupport.h"

#include <gtest/gtest.h>

using namespace layer12test;

namespace {

class Layer12Exports : public player_test::ExportsFixture<::testing::TestWithParam<const char*>> {
protected:
    void PlayAndCompare(const std::string& stream)
    {
        ASSERT_EQ(api.Play(0, 0, &done), 0);
        ASSERT_TRUE(WaitDone());
        EXPECT_EQ(api.GetPlayerMode(), 2);
        EXPECT_EQ(api.LastError(), 0);
        ASSERT_TRUE(api.Close());
        const player_test::WaveInfo w = player_test::ReadWave(wav);
        const Decoded d = DecodeFile(DataDir() + "/" + stream);
        EXPECT_EQ(w.channels, static_cast<uint32_t>(d.channels));
        EXPECT_EQ(w.rate, static_cast<uint32_t>(d.sampleRate));
        EXPECT_EQ(w.dataBytes, w.samples.size() * 2);
        const std::string base = stream.substr(0, stream.find('.'));
        const auto reference = LoadFloatReference(DataDir() + "/" + base + ".f32");
        const Comparison c = Compare(w.samples, reference);
        std::printf("  %-20s exports: %zu samples, %.4f%% bit-exact, max difference %d\n", stream.c_str(),
                    w.samples.size(), 100.0 * c.ExactShare(), c.maxDifference);
        EXPECT_EQ(w.samples.size(), reference.size());
        EXPECT_GE(c.ExactShare(), 0.995);
        EXPECT_LE(c.maxDifference, 1);
    }
};

TEST_P(Layer12Exports, WaveFileFromAFileMatchesTheReference)
{
    const std::string path = DataDir() + "/" + GetParam();
    ASSERT_TRUE(api.Open(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(api.GetLayer(), GetParam()[1] == '1' ? 1 : 2);
    PlayAndCompare(GetParam());
}

TEST_P(Layer12Exports, WaveFileFromCallbacksMatchesTheReference)
{
    MemorySource source;
    source.bytes = ReadFileBytes(DataDir() + "/" + GetParam());
    const sonarel::StreamCallbacks c = source.Callbacks();
    ASSERT_TRUE(api.Open(nullptr, 1, c.open, c.close, c.rewind, c.read, c.seek, c.size, c.user));
    PlayAndCompare(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Streams, Layer12Exports,
                         ::testing::Values("l2_44k_j192_p.mp2", "l2_22k_s64_d.mp2", "l2_16k_m8.mp2",
                                           "l1_44k_s384_p.mp1", "l1_24k_d192.mp1"));

}  // namespace
