// Layer I and II frames built by hand or by the generator: refused frames (forbidden
// allocation, group code beyond its table, checksum mismatch) give no audio and leave the next
// frame decodable; channel selection routes each channel to the right filter.
#include "Layer12Harness.h"
#include "layer1gen/Layer1Writer.h"

#include <gtest/gtest.h>

#include <random>

using namespace sonarel;
using namespace layer12test;

namespace {

// MPEG-1 Layer II, 48 kHz, 32 kbit/s, single channel (Table 3-B.2c, 8 subbands): subband 0
// has 3 quantisation steps (grouped 5-bit codes), the rest nothing.
std::vector<uint8_t> Layer2Frame(uint32_t groupCode, int badGroup)
{
    layer1gen::BitWriter w;
    w.Put(0xFFFD14C0u, 32);  // sync, MPEG-1, Layer II, no checksum, index 1, 48 kHz, mono
    w.Put(1, 4);             // subband 0: allocation 1 (3 steps)
    w.Put(0, 4);
    for (int sb = 2; sb < 8; ++sb)
        w.Put(0, 3);
    w.Put(2, 2);   // one scale factor for the three parts
    w.Put(10, 6);  // scale factor index
    for (int g = 0; g < 12; ++g)
        w.Put(g == badGroup ? groupCode : 13u + g, 5);
    w.PadTo(96);  // 144 * 32000 / 48000
    return w.Bytes();
}

struct FrameRun {
    int decoded = 0;
    std::vector<int16_t> samples;
};

FrameRun DecodeAll(const std::vector<uint8_t>& bytes, ChannelSelection channels = kBothChannels)
{
    MemorySource source;
    source.bytes = bytes;
    auto reader = source.Open();
    Header header;
    Crc16* crc = nullptr;
    FrameRun run;
    if (!header.ReadNext(*reader, crc))
        return run;
    const bool stereo = header.Mode() != Header::SingleChannel;
    SynthesisFilter filter1(0, 32768.0f), filter2(1, 32768.0f);
    MemoryOutput output(stereo && channels == kBothChannels ? 2 : 1);
    SubbandFrameDecoder decoder;
    do {
        run.decoded += decoder.DecodeFrame(*reader, header, crc, channels, filter1,
                                           stereo && channels == kBothChannels ? &filter2 : nullptr, output);
    } while (header.ReadNext(*reader, crc));
    run.samples = output.samples;
    return run;
}

TEST(Layer2Frames, GroupCodeBeyondItsTableDropsTheFrame)
{
    std::vector<uint8_t> stream = Layer2Frame(0, -1);
    const std::vector<uint8_t> bad = Layer2Frame(31, 7);  // 31 > 26, the last code of 3 steps
    stream.insert(stream.end(), bad.begin(), bad.end());
    const std::vector<uint8_t> good = Layer2Frame(26, 7);
    stream.insert(stream.end(), good.begin(), good.end());
    const FrameRun run = DecodeAll(stream);
    EXPECT_EQ(run.decoded, 2);
    EXPECT_EQ(run.samples.size(), 2u * 1152u);
    bool sound = false;
    for (int16_t s : run.samples)
        sound |= s != 0;
    EXPECT_TRUE(sound);
}

TEST(Layer2Frames, SamplesPastTheBodyDropTheFrame)
{
    // Subbands 0 and 1 at 32767 steps (15-bit codes): 1,080 bits of samples in a 96-byte frame
    // that has 694 left for them. The frame gives no audio; the next one decodes.
    layer1gen::BitWriter w;
    w.Put(0xFFFD14C0u, 32);
    w.Put(15, 4);
    w.Put(15, 4);
    for (int sb = 2; sb < 8; ++sb)
        w.Put(0, 3);
    w.Put(2, 2);
    w.Put(2, 2);
    w.Put(10, 6);
    w.Put(10, 6);
    while (w.BitCount() < 96 * 8)
        w.Put(0x5A5A, 16);
    w.PadTo(96);
    std::vector<uint8_t> stream = w.Bytes();
    const std::vector<uint8_t> good = Layer2Frame(26, 7);
    stream.insert(stream.end(), good.begin(), good.end());
    const FrameRun run = DecodeAll(stream);
    EXPECT_EQ(run.decoded, 1);
    EXPECT_EQ(run.samples.size(), 1152u);
}

TEST(Layer1Frames, ForbiddenAllocationDropsTheFrame)
{
    layer1gen::Layer1Options options;
    options.mode = 3;
    std::mt19937 rng(21);
    std::vector<uint8_t> stream;
    for (int i = 0; i < 4; ++i) {
        const auto frame = layer1gen::MakeLayer1Frame(options, rng, i == 1 ? 5 : -1);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    const FrameRun run = DecodeAll(stream);
    EXPECT_EQ(run.decoded, 3);
    EXPECT_EQ(run.samples.size(), 3u * 384u);
}

TEST(Layer1Frames, ChecksumMismatchDropsOnlyThatFrame)
{
    layer1gen::Layer1Options options;
    options.protect = true;
    options.mode = 1;  // joint stereo: intensity subbands take part in the checksum too
    std::mt19937 rng(8);
    std::vector<uint8_t> stream;
    for (int i = 0; i < 5; ++i) {
        auto frame = layer1gen::MakeLayer1Frame(options, rng);
        if (i == 2)
            frame[5] ^= 0x10;  // the stored checksum
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    const FrameRun run = DecodeAll(stream);
    EXPECT_EQ(run.decoded, 4);
    EXPECT_EQ(run.samples.size(), 4u * 384u * 2u);

    // A damaged allocation field (instead of the checksum) is caught the same way.
    std::vector<uint8_t> damaged = stream;
    const size_t second = damaged.size() / 5;  // frames of one size (no padding)
    damaged[second + 6] ^= 0x01;
    EXPECT_LE(DecodeAll(damaged).decoded, 3);
}

TEST(Layer1Frames, ChecksumStartsAfreshAfterFramesNotChecked)
{
    // Frames read but not decoded (passed over by a jump, or of another layer) must not leave
    // their bits in the checksum register.
    layer1gen::Layer1Options options;
    options.protect = true;
    std::mt19937 rng(4);
    MemorySource source;
    for (int i = 0; i < 4; ++i) {
        const auto frame = layer1gen::MakeLayer1Frame(options, rng);
        source.bytes.insert(source.bytes.end(), frame.begin(), frame.end());
    }
    auto reader = source.Open();
    Header header;
    Crc16* crc = nullptr;
    SynthesisFilter filter1(0, 32768.0f), filter2(1, 32768.0f);
    MemoryOutput output(2);
    SubbandFrameDecoder decoder;
    ASSERT_TRUE(header.ReadNext(*reader, crc));
    ASSERT_TRUE(header.ReadNext(*reader, crc));  // frame 0 not decoded
    ASSERT_NE(crc, nullptr);
    EXPECT_TRUE(decoder.DecodeFrame(*reader, header, crc, kBothChannels, filter1, &filter2, output));
    ASSERT_TRUE(header.SeekToFrame(*reader, 3));  // frame 2 read on the way
    EXPECT_TRUE(decoder.DecodeFrame(*reader, header, crc, kBothChannels, filter1, &filter2, output));
    EXPECT_EQ(output.samples.size(), 2u * 384u * 2u);
}

TEST(ChannelSelection, EachChannelReachesItsOwnFilter)
{
    for (const char* name : {"l2_44k_j192_p.mp2", "l1_48k_j448.mp1", "l2_32k_d96.mp2"}) {
        const std::vector<uint8_t> bytes = ReadFileBytes(DataDir() + "/" + name);
        const FrameRun both = DecodeAll(bytes);
        const FrameRun first = DecodeAll(bytes, kFirstChannel);
        const FrameRun second = DecodeAll(bytes, kSecondChannel);
        ASSERT_EQ(first.samples.size() * 2, both.samples.size()) << name;
        ASSERT_EQ(second.samples.size() * 2, both.samples.size()) << name;
        size_t differ = 0;
        for (size_t i = 0; i < first.samples.size(); ++i) {
            EXPECT_EQ(first.samples[i], both.samples[2 * i]) << name << " " << i;
            EXPECT_EQ(second.samples[i], both.samples[2 * i + 1]) << name << " " << i;
            differ += first.samples[i] != second.samples[i];
            if (::testing::Test::HasFailure())
                return;
        }
        EXPECT_GT(differ, first.samples.size() / 2) << name;
    }
}

}  // namespace
