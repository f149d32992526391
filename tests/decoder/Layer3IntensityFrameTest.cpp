// Whole hand-built frames with intensity stereo (lame never codes it). A joint-stereo frame whose
// second channel is all intensity with a ratio that splits the first channel evenly must sound
// exactly like the stereo frame that carries that split in both channels:
// - MPEG-1, position 3 (tan 45 deg = 1): each channel gets half of the first, which the stereo
//   frame codes with a global gain 4 steps lower (exactly half);
// - lower sampling frequencies, position 0 (factors 1 and 1): each channel gets the first.
#include <gtest/gtest.h>

#include <random>

#include "Layer3Harness.h"
#include "Layer3TestSupport.h"

using l3test::BitWriter;

namespace {

struct Part {
    BitWriter bits;  // scale factors and Huffman data of one granule and channel
    int bigValues = 0;
};

// Huffman data of 2 x pairs values with table 7 (|v| <= 5), the same for every call with one seed.
void PutValues(Part& p, unsigned seed, int pairs)
{
    std::mt19937 rng(seed);
    for (int i = 0; i < pairs; ++i) {
        const int x = static_cast<int>(rng() % 11) - 5, y = static_cast<int>(rng() % 11) - 5;
        l3test::PutPair(p.bits, 7, x, y);
    }
    p.bigValues = pairs;
}

void PutGranuleInfo(BitWriter& w, bool lsf, const Part& p, int gain, int compress)
{
    w.Put(static_cast<uint32_t>(p.bits.Bits), 12);
    w.Put(static_cast<uint32_t>(p.bigValues), 9);
    w.Put(static_cast<uint32_t>(gain), 8);
    w.Put(static_cast<uint32_t>(compress), lsf ? 9 : 4);
    w.Put(0, 1);                            // long blocks
    w.Put(7, 5), w.Put(7, 5), w.Put(7, 5);  // table_select
    w.Put(5, 4), w.Put(3, 3);               // region counts
    if (!lsf)
        w.Put(0, 1);           // preflag
    w.Put(0, 1), w.Put(0, 1);  // scalefac_scale, count1table_select
}

std::vector<uint8_t> MakeStream(bool lsf, bool intensity)
{
    // MPEG-1 44.1 kHz 128 kbit/s: 417 bytes, 32 of side information; LSF 22.05 kHz 64 kbit/s:
    // 208 bytes, 17 of side information. Joint stereo with intensity only, or stereo.
    const size_t size = lsf ? 208 : 417;
    const uint8_t mode = intensity ? 0x50 : 0x00;
    const uint8_t h[4] = {0xFF, static_cast<uint8_t>(lsf ? 0xF3 : 0xFB), static_cast<uint8_t>(lsf ? 0x80 : 0x90), mode};
    const int granules = lsf ? 1 : 2;
    const int gain = 170;
    std::vector<uint8_t> stream;
    for (int frame = 0; frame < 12; ++frame) {
        Part parts[2][2];
        int compress[2] = {0, 0};
        for (int gr = 0; gr < granules; ++gr) {
            const unsigned seed = static_cast<unsigned>(frame * 2 + gr + 1);
            PutValues(parts[gr][0], seed, 40);
            if (!intensity) {
                PutValues(parts[gr][1], seed, 40);
            } else if (!lsf) {
                compress[1] = 13;  // slen1 3, slen2 3: position 3 in all 21 bands
                for (int band = 0; band < 21; ++band)
                    parts[gr][1].bits.Put(3, 3);
            } else {
                compress[1] = 2 * 43;  // h = 43: lengths 1, 1, 1 over 7 + 7 + 7 bands; position 0
                for (int band = 0; band < 21; ++band)
                    parts[gr][1].bits.Put(0, 1);
            }
        }
        BitWriter side;
        side.Put(0, lsf ? 8 : 9);  // main_data_begin: every frame carries its own data
        side.Put(0, lsf ? 2 : 3);
        if (!lsf)
            side.Put(0, 8);  // scfsi
        for (int gr = 0; gr < granules; ++gr)
            for (int ch = 0; ch < 2; ++ch) {
                const int g = (!lsf && !intensity) ? gain - 4 : gain;
                PutGranuleInfo(side, lsf, parts[gr][ch], ch == 1 && intensity ? gain : g, compress[ch]);
            }
        std::vector<uint8_t> bytes(h, h + 4);
        bytes.insert(bytes.end(), side.Bytes.begin(), side.Bytes.end());
        BitWriter main;
        for (int gr = 0; gr < granules; ++gr)
            for (int ch = 0; ch < 2; ++ch)
                for (int64_t i = 0; i < parts[gr][ch].bits.Bits; ++i)
                    main.Put((parts[gr][ch].bits.Bytes[static_cast<size_t>(i / 8)] >> (7 - i % 8)) & 1, 1);
        bytes.insert(bytes.end(), main.Bytes.begin(), main.Bytes.end());
        EXPECT_LE(bytes.size(), size);
        bytes.resize(size, 0);
        stream.insert(stream.end(), bytes.begin(), bytes.end());
    }
    return stream;
}

}  // namespace

TEST(Layer3IntensityFrames, Mpeg1EvenSplitEqualsStereoAtHalfGain)
{
    const l3test::DecodedStream i = l3test::DecodeLayer3Bytes(MakeStream(false, true));
    const l3test::DecodedStream s = l3test::DecodeLayer3Bytes(MakeStream(false, false));
    ASSERT_EQ(i.Frames, 12);
    ASSERT_EQ(i.Pcm.size(), 12u * 1152 * 2);
    int loud = 0;
    for (int16_t v : i.Pcm)
        loud += std::abs(v) > 100;
    EXPECT_GT(loud, 1000);
    EXPECT_EQ(i.Pcm, s.Pcm);
}

TEST(Layer3IntensityFrames, LowerFrequencyPositionZeroEqualsStereo)
{
    const l3test::DecodedStream i = l3test::DecodeLayer3Bytes(MakeStream(true, true));
    const l3test::DecodedStream s = l3test::DecodeLayer3Bytes(MakeStream(true, false));
    ASSERT_EQ(i.Frames, 12);
    ASSERT_EQ(i.Pcm.size(), 12u * 576 * 2);
    EXPECT_EQ(i.Pcm, s.Pcm);
    int loud = 0;
    for (int16_t v : i.Pcm)
        loud += std::abs(v) > 100;
    EXPECT_GT(loud, 500);
}
