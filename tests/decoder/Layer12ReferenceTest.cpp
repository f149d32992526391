// Layer I and II decoding against mpg123 (float) and madplay (24-bit) on the streams made at
// build time, the same streams through the callbacks, and damaged copies of each.
#include "Layer12Harness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

using namespace layer12test;

namespace {

struct StreamEntry {
    std::string stream;
    std::string floatReference;
    std::string rawReference;  // empty: no madplay reference
};

std::vector<StreamEntry> Manifest()
{
    std::vector<StreamEntry> entries;
    std::ifstream in(DataDir() + "/layer12_streams.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        StreamEntry e;
        fields >> e.stream >> e.floatReference >> e.rawReference;
        if (!e.stream.empty())
            entries.push_back(e);
    }
    return entries;
}

void ExpectMatches(const std::string& what, const std::vector<int16_t>& ours, const std::vector<int16_t>& reference)
{
    const Comparison c = Compare(ours, reference);
    std::printf("  %-34s %8zu samples, %.4f%% bit-exact, max difference %d\n", what.c_str(), ours.size(),
                100.0 * c.ExactShare(), c.maxDifference);
    EXPECT_EQ(ours.size(), reference.size()) << what;
    EXPECT_GE(c.ExactShare(), 0.995) << what;
    EXPECT_LE(c.maxDifference, 1) << what;
}

TEST(Layer12Reference, EveryStreamMatchesTheReferenceDecoders)
{
    const std::vector<StreamEntry> entries = Manifest();
    ASSERT_GE(entries.size(), 18u) << "test streams missing (twolame, mpg123, madplay, sox?)";
    int layer1 = 0, layer2 = 0, withMadplay = 0;
    for (const StreamEntry& e : entries) {
        const Decoded d = DecodeFile(DataDir() + "/" + e.stream);
        ASSERT_TRUE(d.opened) << e.stream;
        EXPECT_EQ(d.framesDecoded, d.framesRead) << e.stream;
        (d.layer == 1 ? layer1 : layer2)++;
        ExpectMatches(e.stream + " / mpg123", d.samples, LoadFloatReference(DataDir() + "/" + e.floatReference));
        if (!e.rawReference.empty()) {
            ++withMadplay;
            ExpectMatches(e.stream + " / madplay", d.samples, Load24BitReference(DataDir() + "/" + e.rawReference));
        }
    }
    EXPECT_GE(layer1, 6);
    EXPECT_GE(layer2, 10);
    EXPECT_GE(withMadplay, 3);
}

TEST(Layer12Reference, ChannelsStayApart)
{
    // The signal's channels differ (sweep and noise): a swap would show as a large difference.
    const Decoded d = DecodeFile(DataDir() + "/l2_44k_j192_p.mp2");
    ASSERT_EQ(d.channels, 2);
    std::vector<int16_t> swapped = d.samples;
    for (size_t i = 0; i + 1 < swapped.size(); i += 2)
        std::swap(swapped[i], swapped[i + 1]);
    const auto reference = LoadFloatReference(DataDir() + "/l2_44k_j192_p.f32");
    EXPECT_LT(Compare(swapped, reference).ExactShare(), 0.2);
}

TEST(Layer12Reference, CallbackStreamsDecodeAsFiles)
{
    for (const char* name : {"l2_22k_s64_d.mp2", "l1_44k_s384_p.mp1"}) {
        const std::string path = DataDir() + "/" + name;
        const Decoded fromFile = DecodeFile(path);
        const Decoded fromCallbacks = DecodeBytes(ReadFileBytes(path));
        EXPECT_EQ(fromFile.samples, fromCallbacks.samples) << name;
        EXPECT_GT(fromFile.samples.size(), 0u);
    }
}

// Flipped bytes, truncation mid-frame and junk between frames: no crash, no hang, nothing read
// or written outside a buffer (the sanitized build checks that), and never more audio than the
// frames could hold.
TEST(Layer12Reference, DamagedCopiesDecodeSafely)
{
    // Streams that end at once, inside the first header, or inside the first body.
    const std::vector<uint8_t> first = ReadFileBytes(DataDir() + "/l2_48k_s384.mp2");
    ASSERT_GT(first.size(), 2000u);
    for (size_t cut : {0, 1, 3, 4, 5, 600, 1151, 1152, 1153}) {
        const Decoded d = DecodeBytes(std::vector<uint8_t>(first.begin(), first.begin() + static_cast<long>(cut)));
        EXPECT_EQ(d.samples.size(), cut >= 1152 ? 2304u : 0u) << cut;  // frames of 1152 bytes
    }

    std::mt19937 rng(1234);
    for (const StreamEntry& e : Manifest()) {
        const std::vector<uint8_t> original = ReadFileBytes(DataDir() + "/" + e.stream);
        ASSERT_GT(original.size(), 1000u) << e.stream;
        std::vector<std::vector<uint8_t>> copies;

        std::vector<uint8_t> flipped = original;
        for (int i = 0; i < 60; ++i)
            flipped[rng() % flipped.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
        copies.push_back(flipped);

        copies.emplace_back(original.begin(), original.begin() + static_cast<long>(original.size() * 2 / 3 + 7));

        std::vector<uint8_t> junk = original;
        for (int i = 0; i < 8; ++i) {
            const size_t at = rng() % junk.size();
            std::vector<uint8_t> noise(1 + rng() % 300);
            for (uint8_t& b : noise)
                b = static_cast<uint8_t>(rng() % 3 == 0 ? 0xFF : rng());
            junk.insert(junk.begin() + static_cast<long>(at), noise.begin(), noise.end());
        }
        copies.push_back(junk);

        std::vector<uint8_t> headers = original;  // bytes flipped inside frame headers only
        for (size_t i = 0; i + 4 < headers.size(); ++i)
            if (headers[i] == 0xFF && (headers[i + 1] & 0xF0) == 0xF0 && rng() % 4 == 0)
                headers[i + 2 + rng() % 2] ^= static_cast<uint8_t>(rng());
        copies.push_back(headers);

        for (const auto& copy : copies) {
            const Decoded d = DecodeBytes(copy);
            if (!d.opened)
                continue;
            // A frame is at least 24 bytes and gives at most 1152 samples per channel.
            EXPECT_LE(d.samples.size(), (copy.size() / 24 + 1) * 1152 * 2) << e.stream;
            EXPECT_EQ(d.samples.size() % (384u * static_cast<size_t>(d.channels)), 0u) << e.stream;
        }
    }
}

}  // namespace
