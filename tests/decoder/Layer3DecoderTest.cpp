// The frame flow of the Layer III decoder (reservoir, discard, jump) and the scale factors.
#include <gtest/gtest.h>

#include <thread>

#include "Layer3Harness.h"
#include "Layer3TestSupport.h"
#include "decoder/AudioOutput.h"
#include "decoder/FrameReader.h"
#include "decoder/Header.h"
#include "decoder/Layer3Decoder.h"
#include "decoder/Layer3MainData.h"
#include "decoder/SynthesisFilter.h"

using namespace sonarel;
using l3test::BitWriter;

namespace {

class FrameCapture : public AudioOutput {
public:
    FrameCapture(uint32_t channels, uint32_t samples)
        : AudioOutput(channels),
          frame(samples * channels_)
    {
        Attach(frame.data(), frame.size());
    }
    void EndFrame() override
    {
        frames.push_back(frame);
        ResetPositions();
    }
    void DropQueued() override {}
    void MarkStopped() override {}
    std::vector<int16_t> frame;
    std::vector<std::vector<int16_t>> frames;
};

struct Playback {
    std::unique_ptr<FrameReader> reader;
    Header header;
    Crc16* crc = nullptr;
    SynthesisFilter filter1{0, 32768.0f}, filter2{1, 32768.0f};
    std::unique_ptr<FrameCapture> output;
    std::unique_ptr<Layer3Decoder> decoder;

    ChannelSelection selection;

    explicit Playback(const std::string& path, ChannelSelection channels = kBothChannels)
        : reader(FrameReader::OpenFile(path.c_str())),
          selection(channels)
    {
        EXPECT_TRUE(header.ReadNext(*reader, crc));
        output = std::make_unique<FrameCapture>(channels == kBothChannels ? 2 : 1, 1152);
    }
    void Start()
    {
        decoder = Layer3Decoder::Create(*reader, header, &filter1, selection == kBothChannels ? &filter2 : nullptr,
                                        *output, selection);
    }
    // Decodes every frame; the interleaved samples.
    std::vector<int16_t> All()
    {
        Start();
        do
            decoder->DecodeFrame();
        while (Next());
        std::vector<int16_t> pcm;
        for (const auto& f : output->frames)
            pcm.insert(pcm.end(), f.begin(), f.end());
        return pcm;
    }
    bool Next() { return header.ReadNext(*reader, crc); }
};

}  // namespace

TEST(Layer3Decoder, AJumpForgetsReservoirAndOverlap)
{
    const std::string path = l3test::TestDataDir() + "m44_js128_sweep.mp3";
    const int jumpAt = 20;

    // Played from the start; after frame jumpAt - 1 a jump to the frame that follows.
    Playback a(path);
    a.Start();
    EXPECT_TRUE(a.decoder->DecodeFrame());  // the first frame's main data begins in the frame
    for (int i = 1; i < jumpAt; ++i) {
        ASSERT_TRUE(a.Next());
        a.decoder->DecodeFrame();
    }
    a.decoder->SeekNotify();
    a.filter1.Reset();
    a.filter2.Reset();
    const size_t before = a.output->frames.size();
    ASSERT_TRUE(a.Next());
    EXPECT_FALSE(a.decoder->DecodeFrame());  // its main data lay in the frames before the jump
    EXPECT_EQ(a.output->frames.size(), before);
    for (int i = 0; i < 30 && a.Next(); ++i)
        a.decoder->DecodeFrame();

    // A decoder created fresh at the same frame gives the same samples.
    Playback b(path);
    for (int i = 0; i < jumpAt; ++i)
        ASSERT_TRUE(b.Next());
    b.Start();
    b.decoder->DecodeFrame();
    for (int i = 0; i < 30 && b.Next(); ++i)
        b.decoder->DecodeFrame();
    ASSERT_GT(b.output->frames.size(), 10u);
    ASSERT_EQ(a.output->frames.size() - before, b.output->frames.size());
    for (size_t i = 0; i < b.output->frames.size(); ++i)
        ASSERT_EQ(a.output->frames[before + i], b.output->frames[i]) << i;
}

TEST(Layer3Decoder, SecondChannelOnlyAndDownmix)
{
    // Stereo with differing channels (a sweep and a square wave).
    const std::string path = l3test::TestDataDir() + "m48_st192_clicks.mp3";
    const std::vector<int16_t> stereo = Playback(path).All();
    const std::vector<int16_t> second = Playback(path, kSecondChannel).All();
    const std::vector<int16_t> mixed = Playback(path, kDownmix).All();
    ASSERT_EQ(second.size() * 2, stereo.size());
    ASSERT_EQ(mixed.size() * 2, stereo.size());
    int differ = 0;
    for (size_t i = 0; i < second.size(); ++i) {
        ASSERT_EQ(second[i], stereo[2 * i + 1]) << i;
        // The synthesis is linear up to its truncation: the mix is the channels' mean within 1.
        const double mean = (stereo[2 * i] + stereo[2 * i + 1]) / 2.0;
        ASSERT_LE(std::abs(mixed[i] - mean), 1.0) << i;
        differ += stereo[2 * i] != stereo[2 * i + 1];
    }
    EXPECT_GT(differ, static_cast<int>(second.size() / 2));
}

TEST(Layer3ScaleFactors, Mpeg1ScfsiKeepsGranuleZeroGroups)
{
    Layer3GranuleInfo g;
    g.scalefac_compress = 11;  // slen1 3, slen2 1
    BitWriter w;
    for (int b = 0; b < 11; ++b)
        w.Put(static_cast<uint32_t>(b % 8), 3);
    for (int b = 11; b < 21; ++b)
        w.Put(b & 1, 1);
    // Granule 1 with scfsi 1, 0, 1, 0: only bands 6..10 (slen1) and 16..20 (slen2) are sent.
    for (int b = 6; b < 11; ++b)
        w.Put(7, 3);
    for (int b = 16; b < 21; ++b)
        w.Put(1, 1);
    BitReservoir r;
    w.Fill(r);
    Layer3ScaleFactors sf;
    const int32_t none[4] = {0, 0, 0, 0}, scfsi[4] = {1, 0, 1, 0};
    ReadScaleFactorsMpeg1(r, g, none, 0, sf);
    ReadScaleFactorsMpeg1(r, g, scfsi, 1, sf);
    EXPECT_EQ(r.BitsRead(), w.Bits);
    for (int b = 0; b < 21; ++b) {
        const int expected = b < 6 ? b % 8 : b < 11 ? 7 : b < 16 ? (b & 1) : 1;
        EXPECT_EQ(sf.l[b], expected) << b;
    }
    EXPECT_EQ(sf.l[21], 0);
    EXPECT_EQ(sf.l[22], 0);

    // Mixed short blocks: 8 long bands, then short bands 3..11 window by window.
    Layer3GranuleInfo m;
    m.window_switching_flag = 1;
    m.block_type = 2;
    m.mixed_block_flag = 1;
    m.scalefac_compress = 15;  // slen1 4, slen2 3
    BitWriter mw;
    for (int b = 0; b < 8; ++b)
        mw.Put(static_cast<uint32_t>(b + 1), 4);
    for (int b = 3; b < 12; ++b)
        for (int win = 0; win < 3; ++win)
            mw.Put(static_cast<uint32_t>((b + win) % (b < 6 ? 16 : 8)), b < 6 ? 4 : 3);
    BitReservoir mr;
    mw.Fill(mr);
    ReadScaleFactorsMpeg1(mr, m, none, 0, sf);
    EXPECT_EQ(mr.BitsRead(), mw.Bits);
    for (int b = 0; b < 8; ++b)
        EXPECT_EQ(sf.l[b], b + 1);
    for (int b = 3; b < 12; ++b)
        for (int win = 0; win < 3; ++win)
            EXPECT_EQ(sf.s[win][b], (b + win) % (b < 6 ? 16 : 8));
    for (int win = 0; win < 3; ++win)
        EXPECT_EQ(sf.s[win][12], 0);
}

TEST(Layer3ScaleFactors, LowerSamplingFrequencyGroupsAndPreflag)
{
    // c = 500 + 3 * 2 + 1: lengths 2, 1, 0, 0 over 11 and 10 long bands; preflag set.
    Layer3GranuleInfo g;
    g.scalefac_compress = 507;
    BitWriter w;
    for (int b = 0; b < 11; ++b)
        w.Put(static_cast<uint32_t>(b % 4), 2);
    for (int b = 11; b < 21; ++b)
        w.Put(1, 1);
    BitReservoir r;
    w.Fill(r);
    Layer3ScaleFactors sf;
    ReadScaleFactorsLsf(r, g, false, sf);
    EXPECT_EQ(g.preflag, 1);
    EXPECT_EQ(r.BitsRead(), w.Bits);
    for (int b = 0; b < 21; ++b)
        EXPECT_EQ(sf.l[b], b < 11 ? b % 4 : 1) << b;

    // Intensity channel, h = c / 2 = 200: table 4, lengths (20 % 64) / 16 = 1, (20 % 16) / 4 = 1,
    // 20 % 4 = 0; mixed blocks take 6, 12, 9, 6 values: 6 long bands, then short bands 3..11.
    Layer3GranuleInfo m;
    m.window_switching_flag = 1;
    m.block_type = 2;
    m.mixed_block_flag = 1;
    m.scalefac_compress = 401;
    BitWriter mw;
    for (int i = 0; i < 18; ++i)
        mw.Put(i & 1, 1);
    BitReservoir mr;
    mw.Fill(mr);
    ReadScaleFactorsLsf(mr, m, true, sf);
    EXPECT_EQ(m.preflag, 0);
    EXPECT_EQ(mr.BitsRead(), 18);
    for (int b = 0; b < 6; ++b) {
        EXPECT_EQ(sf.l[b], b & 1);
        EXPECT_EQ(sf.IllegalLong[b], 1);
    }
    // Values 6..17 fill short bands 3..6; the zero-length group leaves bands 7..11 at 0.
    for (int b = 3; b < 7; ++b)
        for (int win = 0; win < 3; ++win)
            EXPECT_EQ(sf.s[win][b], (6 + 3 * (b - 3) + win) & 1) << b;
    for (int b = 7; b < 12; ++b) {
        EXPECT_EQ(sf.s[0][b], 0);
        EXPECT_EQ(sf.IllegalShort[b], 0);  // a zero-length band is never intensity-coded
    }
}

// Each test runs in a process of its own, so the two threads here are the first users of the
// shared tables (Huffman lookups, powers, windows) and race to build them.
TEST(Layer3Decoder, TwoThreadsDecodeAtOnceFromFreshTables)
{
    const std::string path = l3test::TestDataDir() + "l22_js_v5_bursts.mp3";
    std::vector<int16_t> a, b;
    std::thread first([&] { a = Playback(path).All(); });
    std::thread second([&] { b = Playback(path).All(); });
    first.join();
    second.join();
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, Playback(path).All());
}
