// Requantisation, stereo processing, reordering, alias reduction and the IMDCT of Layer III,
// checked against the formulas of ISO/IEC 11172-3 on hand-built granules.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "decoder/Layer3Reconstruct.h"
#include "decoder/WideVectors.h"

#include <cstring>

using namespace sonarel;

namespace {

const double Pi = 3.14159265358979323846;

double LongWindow(int type, int i)
{
    const double s = std::sin(Pi / 36 * (i + 0.5));
    switch (type) {
    case 1:
        return i < 18 ? s : i < 24 ? 1.0 : i < 30 ? std::sin(Pi / 12 * (i - 18 + 0.5)) : 0.0;
    case 3:
        return i < 6 ? 0.0 : i < 12 ? std::sin(Pi / 12 * (i - 6 + 0.5)) : i < 18 ? 1.0 : s;
    default:
        return s;
    }
}

Layer3GranuleInfo ShortGranule(bool mixed)
{
    Layer3GranuleInfo g;
    g.window_switching_flag = 1;
    g.block_type = 2;
    g.mixed_block_flag = mixed ? 1 : 0;
    return g;
}

}  // namespace

TEST(Layer3Imdct, LongAndShortBlocksMatchTheDefinition)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    float in[18], out[36];
    for (float& v : in)
        v = dist(rng);
    for (int type : {0, 1, 3}) {
        ImdctLong(in, type, out);
        for (int i = 0; i < 36; ++i) {
            double sum = 0;
            for (int k = 0; k < 18; ++k)
                sum += in[k] * std::cos(Pi / 72 * (2 * i + 1 + 18) * (2 * k + 1));
            ASSERT_NEAR(out[i], sum * LongWindow(type, i), 2e-5) << type << " " << i;
        }
    }
    ImdctShort(in, out);
    for (int i = 0; i < 36; ++i) {
        double expected = 0;
        for (int j = 0; j < 3; ++j) {
            const int n = i - 6 - 6 * j;
            if (n < 0 || n >= 12)
                continue;
            double y = 0;
            for (int m = 0; m < 6; ++m)
                y += in[3 * m + j] * std::cos(Pi / 24 * (2 * n + 1 + 6) * (2 * m + 1));
            expected += y * std::sin(Pi / 12 * (n + 0.5));
        }
        ASSERT_NEAR(out[i], expected, 2e-5) << i;
    }
}

TEST(Layer3Imdct, WideAndBaselineVectorsGiveTheSameBits)
{
    // Every block type, mixed blocks too, over granules that carry their overlap on.
    std::mt19937 rng(23);
    std::uniform_real_distribution<float> dist(-3000.0f, 3000.0f);
    float prev[2][576] = {};
    int prevLimit[2] = {0, 0};
    for (int granule = 0; granule < 12; ++granule) {
        Layer3GranuleInfo g;
        g.window_switching_flag = granule % 4 != 0 ? 1 : 0;
        g.block_type = granule % 4;
        g.mixed_block_flag = granule == 6 ? 1 : 0;
        float work[2][576];
        for (float& v : work[0])
            v = dist(rng);
        std::memcpy(work[1], work[0], sizeof work[0]);
        const int sbLimit = 20 + granule;
        PreferWideVectors(false);
        HybridSynthesis(work[0], prev[0], g, sbLimit, prevLimit[0]);
        PreferWideVectors(true);
        HybridSynthesis(work[1], prev[1], g, sbLimit, prevLimit[1]);
        ASSERT_EQ(std::memcmp(work[0], work[1], sizeof work[0]), 0) << granule;
        ASSERT_EQ(std::memcmp(prev[0], prev[1], sizeof prev[0]), 0) << granule;
    }
}

TEST(Layer3Imdct, OverlapCarriesAndFrequencyInversionFlipsOddLines)
{
    Layer3GranuleInfo g;  // long blocks
    float work[576] = {}, prev[576] = {};
    work[18 * 1 + 0] = 1.0f;  // subband 1
    int prevLimit = 0;
    HybridSynthesis(work, prev, g, 2, prevLimit);
    float out[36], in[18] = {1.0f};
    ImdctLong(in, 0, out);
    for (int i = 0; i < 18; ++i) {
        EXPECT_FLOAT_EQ(work[18 + i], (i & 1) ? -out[i] : out[i]);
        EXPECT_FLOAT_EQ(prev[18 + i], out[18 + i]);
    }
    EXPECT_EQ(prevLimit, 2);
    // Next granule silent: the output is the overlap, and the overlap empties.
    float silent[576] = {};
    HybridSynthesis(silent, prev, g, 0, prevLimit);
    for (int i = 0; i < 18; ++i)
        EXPECT_FLOAT_EQ(silent[18 + i], (i & 1) ? -out[18 + i] : out[18 + i]);
    for (float v : prev)
        ASSERT_EQ(v, 0.0f);
    EXPECT_EQ(prevLimit, 0);
}

TEST(Layer3Requantize, LongAndShortBandsFollowTheFormula)
{
    const ScaleFactorBandTable& bands = ScaleFactorBands[3];
    int32_t is[576] = {};
    is[0] = 1;
    is[5] = -3;
    is[13] = 700;    // above the power table
    is[50] = -8206;  // largest value with 13 linbits
    Layer3GranuleInfo g;
    g.global_gain = 150;
    g.scalefac_scale = 1;
    g.preflag = 1;
    Layer3ScaleFactors sf;
    for (int b = 0; b < 22; ++b)
        sf.l[b] = b % 4;
    float ro[576];
    Requantize(is, 52, g, sf, bands, 1, ro);
    auto expectLong = [&](int line, int band) {
        const double v = is[line];
        const double expected = (v < 0 ? -1 : 1) * std::pow(std::fabs(v), 4.0 / 3.0)
            * std::pow(2.0, 0.25 * (g.global_gain - 210)) * std::pow(2.0, -1.0 * (sf.l[band] + Pretab[band]));
        EXPECT_NEAR(ro[line], expected, std::fabs(expected) * 1e-6) << line;
    };
    expectLong(0, 0);
    expectLong(5, 1);
    expectLong(13, 3);
    expectLong(50, 9);
    EXPECT_EQ(ro[1], 0.0f);

    // Short blocks: window w of band b lies at 3 * s[b] + w * width.
    Layer3GranuleInfo s = ShortGranule(false);
    s.global_gain = 200;
    s.subblock_gain[0] = 0;
    s.subblock_gain[1] = 2;
    s.subblock_gain[2] = 7;
    Layer3ScaleFactors ssf;
    ssf.s[0][4] = 1;
    ssf.s[1][4] = 5;
    ssf.s[2][4] = 15;
    int32_t sis[576] = {};
    const int base = 3 * bands.Short[4], width = bands.Short[5] - bands.Short[4];
    for (int w = 0; w < 3; ++w)
        sis[base + w * width + 1] = 2;
    Requantize(sis, 576, s, ssf, bands, 1, ro);
    for (int w = 0; w < 3; ++w) {
        const double expected = std::pow(2.0, 4.0 / 3.0) * std::pow(2.0, 0.25 * (200 - 210 - 8 * s.subblock_gain[w]))
            * std::pow(2.0, -0.5 * ssf.s[w][4]);
        EXPECT_NEAR(ro[base + w * width + 1], expected, expected * 1e-6) << w;
    }
}

TEST(Layer3Requantize, WideAndBaselineVectorsGiveTheSameBits)
{
    // Small and large values of both signs (some beyond the power table, in many runs of eight
    // lines), long and short blocks, limits that end inside a band.
    const ScaleFactorBandTable& bands = ScaleFactorBands[3];
    std::mt19937 rng(3);
    std::uniform_int_distribution<int32_t> small(-15, 15), large(-20000, 20000);
    for (int run = 0; run < 6; ++run) {
        int32_t is[576];
        for (int i = 0; i < 576; ++i)
            is[i] = (i + run) % 29 == 0 ? large(rng) : small(rng);
        Layer3GranuleInfo g = run % 2 == 0 ? Layer3GranuleInfo{} : ShortGranule(run == 3);
        g.global_gain = 150 + 10 * run;
        g.preflag = run % 3 == 0 ? 1 : 0;
        g.scalefac_scale = run % 2;
        Layer3ScaleFactors sf;
        for (int b = 0; b < 21; ++b)
            sf.l[b] = (b + run) % 9;
        for (int w = 0; w < 3; ++w)
            for (int b = 0; b < 12; ++b)
                sf.s[w][b] = (b + w + run) % 6;
        const int limit = 576 - 37 * run;
        float ro[2][576];
        PreferWideVectors(false);
        Requantize(is, limit, g, sf, bands, 1, ro[0]);
        PreferWideVectors(true);
        Requantize(is, limit, g, sf, bands, 1, ro[1]);
        ASSERT_EQ(std::memcmp(ro[0], ro[1], sizeof ro[0]), 0) << run;
    }
}

TEST(Layer3Stereo, MidSideAndMpeg1IntensityOnLongBlocks)
{
    const ScaleFactorBandTable& bands = ScaleFactorBands[3];
    float ro[2][576] = {}, lr[2][576];
    for (int i = 0; i < 200; ++i)
        ro[0][i] = static_cast<float>(i % 7) - 3.0f;
    // The second channel has data up to line 40 (band 8: 36..43); intensity from band 9 on.
    for (int i = 0; i <= 40; ++i)
        ro[1][i] = 0.25f * static_cast<float>((i % 3) + 1);
    Layer3GranuleInfo g0, g1;
    Layer3ScaleFactors sf1;
    for (int b = 0; b < 21; ++b)
        sf1.l[b] = b % 8;  // band 15 has position 7: not intensity-coded
    Layer3StereoMode mode{1, true, true};
    int limit = 200;
    ProcessStereo(ro, lr, g0, g1, sf1, bands, mode, limit);
    for (int i = 0; i < 576; ++i) {
        int band = 0;
        while (bands.Long[band + 1] <= i)
            ++band;
        const float l = ro[0][i], r = ro[1][i];
        const int p = band >= 21 ? sf1.l[20] : sf1.l[band];
        if (band < 9 || p == 7) {
            ASSERT_NEAR(lr[0][i], (l + r) / std::sqrt(2.0), 1e-6) << i;
            ASSERT_NEAR(lr[1][i], (l - r) / std::sqrt(2.0), 1e-6) << i;
        } else {
            const double ratio = p == 6 ? 1e11 : std::tan(p * Pi / 12);
            ASSERT_NEAR(lr[0][i], l * ratio / (1 + ratio), 1e-5) << i;
            ASSERT_NEAR(lr[1][i], l / (1 + ratio), 1e-5) << i;
        }
    }

    // Position 6 leaves almost nothing in the second channel.
    std::fill(&ro[1][0], &ro[1][0] + 576, 0.0f);
    for (int b = 0; b < 21; ++b)
        sf1.l[b] = 6;
    ProcessStereo(ro, lr, g0, g1, sf1, bands, Layer3StereoMode{1, false, true}, limit);
    EXPECT_FLOAT_EQ(lr[0][1], ro[0][1]);
    EXPECT_NEAR(lr[1][1], ro[0][1] * 1e-11, 1e-15);
    // An all-zero second channel makes every band intensity-coded, band 0 included.
    EXPECT_NE(lr[0][0], 0.0f);
    EXPECT_NEAR(lr[1][0], ro[0][0] * 1e-11, 1e-15);
}

TEST(Layer3Stereo, IntensityOnShortBlocksPerWindow)
{
    const ScaleFactorBandTable& bands = ScaleFactorBands[4];
    float ro[2][576] = {}, lr[2][576];
    for (int i = 0; i < 576; ++i)
        ro[0][i] = 1.0f + static_cast<float>(i % 5);
    auto line = [&](int band, int w, int f) {
        const int width = bands.Short[band + 1] - bands.Short[band];
        return 3 * bands.Short[band] + w * width + f;
    };
    // Second channel: window 0 up to band 4, window 1 up to band 10, window 2 silent.
    ro[1][line(4, 0, 1)] = 0.5f;
    ro[1][line(10, 1, 0)] = 0.5f;
    Layer3GranuleInfo g = ShortGranule(false);
    Layer3ScaleFactors sf1;
    for (int w = 0; w < 3; ++w)
        for (int b = 0; b < 12; ++b)
            sf1.s[w][b] = (b + w) % 7;
    int limit = 576;
    ProcessStereo(ro, lr, g, g, sf1, bands, Layer3StereoMode{1, false, true}, limit);
    const int first[3] = {5, 11, 0};
    for (int w = 0; w < 3; ++w)
        for (int b = 0; b < 13; ++b) {
            const int width = bands.Short[b + 1] - bands.Short[b];
            for (int f = 0; f < width; ++f) {
                const int i = line(b, w, f);
                if (b < first[w]) {
                    ASSERT_EQ(lr[0][i], ro[0][i]);
                    ASSERT_EQ(lr[1][i], ro[1][i]);
                } else {
                    const int p = sf1.s[w][b < 12 ? b : 11];
                    const double ratio = std::tan(p * Pi / 12);
                    ASSERT_NEAR(lr[1][i], ro[0][i] / (1 + ratio), 1e-5) << w << " " << b;
                    ASSERT_NEAR(lr[0][i], ro[0][i] * ratio / (1 + ratio), 1e-5) << w << " " << b;
                }
            }
        }
}

TEST(Layer3Stereo, LowerSamplingFrequencyIntensityFactors)
{
    const ScaleFactorBandTable& bands = ScaleFactorBands[0];
    float ro[2][576] = {}, lr[2][576];
    for (int i = 0; i < 576; ++i)
        ro[0][i] = 2.0f;
    ro[1][3] = 1.0f;  // band 0 stays stereo
    Layer3GranuleInfo g0, g1;
    g1.scalefac_compress = 1;  // intensity scale 1: factor 2^-0.5 per step
    Layer3ScaleFactors sf1;
    for (int b = 0; b < 21; ++b) {
        sf1.l[b] = b;
        sf1.IllegalLong[b] = 15;
    }
    int limit = 576;
    ProcessStereo(ro, lr, g0, g1, sf1, bands, Layer3StereoMode{0, true, true}, limit);
    auto expectBand = [&](int b, double k0, double k1) {
        const int i = bands.Long[b];
        EXPECT_NEAR(lr[0][i], 2.0 * k0, 1e-6) << b;
        EXPECT_NEAR(lr[1][i], 2.0 * k1, 1e-6) << b;
    };
    const double io = std::sqrt(0.5);
    EXPECT_NEAR(lr[0][3], 3.0 * io, 1e-6);  // middle/side below the intensity bands
    expectBand(1, io, 1.0);                 // odd position: the first channel attenuated
    expectBand(2, 1.0, io);                 // even position: the second
    expectBand(7, std::pow(io, 4), 1.0);
    expectBand(10, 1.0, std::pow(io, 5));
    // Position 15, all ones of its four bits, marks the band as not intensity-coded.
    EXPECT_NEAR(lr[0][bands.Long[15]], 2.0 * io, 1e-6);
    EXPECT_NEAR(lr[1][bands.Long[15]], 2.0 * io, 1e-6);
}

TEST(Layer3Reorder, ShortAndMixedBlocksInterleaveWindows)
{
    const ScaleFactorBandTable& bands = ScaleFactorBands[3];
    float lr[576], work[576];
    for (int i = 0; i < 576; ++i)
        lr[i] = static_cast<float>(i);
    for (bool mixed : {false, true}) {
        const Layer3GranuleInfo g = ShortGranule(mixed);
        Reorder(lr, g, bands, work);
        for (int i = 0; i < (mixed ? 36 : 0); ++i)
            ASSERT_EQ(work[i], lr[i]);
        for (int b = mixed ? 3 : 0; b < 13; ++b) {
            const int n = bands.Short[b + 1] - bands.Short[b];
            const int base = 3 * bands.Short[b];
            for (int w = 0; w < 3; ++w)
                for (int f = 0; f < n; ++f)
                    ASSERT_EQ(work[base + 3 * f + w], lr[base + w * n + f]);
        }
    }
    Layer3GranuleInfo longBlocks;
    Reorder(lr, longBlocks, bands, work);
    for (int i = 0; i < 576; ++i)
        ASSERT_EQ(work[i], lr[i]);
}

TEST(Layer3Alias, MixedBlocksOnlyAtTheFirstBoundary)
{
    const double c[8] = {-0.6, -0.535, -0.33, -0.185, -0.095, -0.041, -0.0142, -0.0037};
    float base[576];
    for (int i = 0; i < 576; ++i)
        base[i] = std::sin(0.37f * static_cast<float>(i));
    auto check = [&](const float* w, int boundaries) {
        for (int sb = 0; sb < 31; ++sb)
            for (int i = 0; i < 8; ++i) {
                const double a = base[18 * sb + 17 - i], b = base[18 * sb + 18 + i];
                const double cs = 1 / std::sqrt(1 + c[i] * c[i]), ca = c[i] * cs;
                if (sb < boundaries) {
                    // Neighbouring boundaries never share a line, so each pair is checked on its own.
                    ASSERT_NEAR(w[18 * sb + 17 - i], a * cs - b * ca, 1e-6);
                    ASSERT_NEAR(w[18 * sb + 18 + i], b * cs + a * ca, 1e-6);
                } else {
                    ASSERT_EQ(w[18 * sb + 18 + i], base[18 * sb + 18 + i]);
                }
            }
    };
    float work[576];
    std::copy(base, base + 576, work);
    ReduceAliases(work, ShortGranule(true), 32);
    check(work, 1);
    std::copy(base, base + 576, work);
    ReduceAliases(work, ShortGranule(false), 32);
    check(work, 0);
    std::copy(base, base + 576, work);
    ReduceAliases(work, Layer3GranuleInfo{}, 32);
    check(work, 31);

    // A mixed block takes the long window in subbands 0 and 1 and short blocks above.
    float mixedWork[576] = {}, prev[576] = {};
    for (int sb = 0; sb < 3; ++sb)
        mixedWork[18 * sb + 4] = 1.0f;
    int prevLimit = 0;
    HybridSynthesis(mixedWork, prev, ShortGranule(true), 3, prevLimit);
    float in[18] = {}, longOut[36], shortOut[36];
    in[4] = 1.0f;
    ImdctLong(in, 0, longOut);
    ImdctShort(in, shortOut);
    for (int i = 0; i < 18; ++i) {
        EXPECT_FLOAT_EQ(mixedWork[i], longOut[i]);
        EXPECT_FLOAT_EQ(prev[18 + i], longOut[18 + i]);
        EXPECT_FLOAT_EQ(mixedWork[36 + i], shortOut[i]);
        EXPECT_FLOAT_EQ(prev[36 + i], shortOut[18 + i]);
    }
}
