// The synthesis filter bank against a direct double-precision model of the standard's
// algorithm (matrixing into a 1024-value V buffer, the U vector, window D and the sums), its
// window, and its 16-bit output rules: scale, clipping and truncation toward zero.
#include "decoder/SynthesisFilter.h"
#include "decoder/WideVectors.h"
#include "Layer12Harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <thread>

using namespace sonarel;

namespace {

class StandardModel {
public:
    // The 32 unscaled output samples of one set of subband samples.
    void Set(const float* s, double out[32])
    {
        for (int i = 1023; i >= 64; --i)
            v_[i] = v_[i - 64];
        for (int i = 0; i < 64; ++i) {
            double sum = 0;
            for (int k = 0; k < 32; ++k)
                sum += std::cos((16 + i) * (2 * k + 1) * M_PI / 64) * s[k];
            v_[i] = sum;
        }
        double u[512];
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 32; ++j) {
                u[i * 64 + j] = v_[i * 128 + j];
                u[i * 64 + 32 + j] = v_[i * 128 + 96 + j];
            }
        for (int j = 0; j < 32; ++j) {
            double sum = 0;
            for (int i = 0; i < 16; ++i)
                sum += u[j + 32 * i] * SynthesisFilter::WindowCoefficient(j + 32 * i);
            out[j] = sum;
        }
    }

private:
    double v_[1024] = {};
};

int16_t Expected(double y)
{
    if (y > 32767.0)
        return 32767;
    if (y < -32768.0)
        return -32768;
    return static_cast<int16_t>(y);
}

void RandomSet(std::mt19937& rng, float* s)
{
    std::uniform_real_distribution<float> d(-0.9f, 0.9f);
    for (int k = 0; k < 32; ++k)
        s[k] = d(rng) / (1 + k / 4);
}

TEST(Synthesis, ClearedFilterGivesSilence)
{
    SynthesisFilter f(0, 32768.0f);
    int16_t pcm[32];
    for (int set = 0; set < 20; ++set) {
        f.ProduceSamples(pcm);
        for (int16_t s : pcm)
            ASSERT_EQ(s, 0);
    }
}

TEST(Synthesis, MatchesTheStandardAlgorithmOverManySets)
{
    // 40 sets: the history wraps more than twice (16 sets), both stores take turns.
    std::mt19937 rng(77);
    SynthesisFilter f(1, 16384.0f);
    StandardModel model;
    int exact = 0, total = 0;
    for (int set = 0; set < 40; ++set) {
        float s[32];
        RandomSet(rng, s);
        for (int k = 0; k < 32; ++k)
            f.SetInput(k, s[k]);
        double want[32];
        model.Set(s, want);
        int16_t pcm[32];
        f.ProduceSamples(pcm);
        for (int j = 0; j < 32; ++j) {
            const int16_t e = Expected(want[j] * 16384.0);
            EXPECT_LE(std::abs(pcm[j] - e), 1) << "set " << set << " sample " << j;
            exact += pcm[j] == e;
            ++total;
        }
    }
    EXPECT_GE(exact, total * 99 / 100);
}

TEST(Synthesis, WindowIsTheSymmetricPrototypeLowPass)
{
    // Prototype tap n = D[n] (-1)^(n / 64): symmetric about 256, peak 1.144989014, pass band up
    // to pi/64 (-3 dB there) and more than 90 dB of attenuation from 2 pi/64 on.
    auto tap = [](int n) { return SynthesisFilter::WindowCoefficient(n) * (((n / 64) & 1) ? -1.0 : 1.0); };
    EXPECT_NEAR(tap(256), 1.144989014, 1e-7);
    EXPECT_EQ(tap(0), 0.0);
    for (int n = 1; n < 256; ++n)
        EXPECT_EQ(tap(n), tap(512 - n)) << n;
    auto gain = [&](double w) {
        double re = 0, im = 0;
        for (int n = 0; n < 512; ++n) {
            re += tap(n) * std::cos(w * n);
            im += tap(n) * std::sin(w * n);
        }
        return std::hypot(re, im);
    };
    const double dc = gain(0);
    EXPECT_NEAR(20 * std::log10(gain(M_PI / 64) / dc), -3.0, 0.1);
    for (int i = 64; i <= 1024; ++i)
        ASSERT_LT(20 * std::log10(gain(M_PI * i / 1024) / dc + 1e-300), -90.0) << i;
}

TEST(Synthesis, ScalesClipsAndTruncatesTowardZero)
{
    // Nine sets of the same inputs; the last set's largest sample is steered by the scale.
    float s[32] = {};
    s[0] = 0.5f;
    s[3] = -0.25f;
    StandardModel model;
    double want[32];
    for (int set = 0; set < 9; ++set)
        model.Set(s, want);
    int j = 0;
    for (int i = 1; i < 32; ++i)
        if (std::fabs(want[i]) > std::fabs(want[j]))
            j = i;
    ASSERT_GT(std::fabs(want[j]), 0.01);
    struct Case {
        double target;
        int16_t expected;
    } cases[] = {{32767.9, 32767}, {40000.0, 32767}, {-40000.0, -32768}, {-32768.4, -32768},
                 {-0.9, 0},        {0.9, 0},         {-1.5, -1},         {2.5, 2}};
    for (const Case& c : cases) {
        SynthesisFilter f(0, static_cast<float>(c.target / want[j]));
        int16_t pcm[32];
        for (int set = 0; set < 9; ++set) {
            for (int k = 0; k < 32; ++k)
                f.SetInput(k, s[k]);
            f.ProduceSamples(pcm);
        }
        EXPECT_EQ(pcm[j], c.expected) << c.target;
    }
}

TEST(Synthesis, ResetForgetsTheHistory)
{
    std::mt19937 rng(5);
    SynthesisFilter used(0, 32768.0f);
    SynthesisFilter fresh(0, 32768.0f);
    float s[32];
    for (int set = 0; set < 7; ++set) {
        RandomSet(rng, s);
        for (int k = 0; k < 32; ++k)
            used.SetInput(k, s[k]);
        int16_t pcm[32];
        used.ProduceSamples(pcm);
    }
    used.SetInput(3, 0.7f);  // pending inputs are cleared too
    used.Reset();
    for (int set = 0; set < 20; ++set) {
        RandomSet(rng, s);
        for (int k = 0; k < 32; ++k) {
            used.SetInput(k, s[k]);
            fresh.SetInput(k, s[k]);
        }
        int16_t a[32], b[32];
        used.ProduceSamples(a);
        fresh.ProduceSamples(b);
        ASSERT_EQ(std::vector<int16_t>(a, a + 32), std::vector<int16_t>(b, b + 32)) << set;
    }
}

TEST(Synthesis, WideAndBaselineVectorsGiveTheSameBits)
{
    // Loud sets clip; a scale of 2^20 brings the float sums' low bits into the 16-bit results.
    for (const float scale : {32768.0f, 1048576.0f}) {
        PreferWideVectors(false);
        SynthesisFilter baseline(0, scale);
        PreferWideVectors(true);
        SynthesisFilter wide(0, scale);
        std::mt19937 rng(5);
        for (int set = 0; set < 200; ++set) {
            float s[32];
            RandomSet(rng, s);
            for (int k = 0; k < 32; ++k) {
                const float v = set % 7 == 0 ? s[k] * 40.0f : s[k] / 32.0f;
                baseline.SetInput(k, v);
                wide.SetInput(k, v);
            }
            int16_t a[32], b[32];
            baseline.ProduceSamples(a);
            wide.ProduceSamples(b);
            for (int j = 0; j < 32; ++j)
                ASSERT_EQ(a[j], b[j]) << "scale " << scale << " set " << set << " sample " << j;
        }
    }
}

TEST(Synthesis, TwoFiltersAtOnceMatchEachAlone)
{
    // Two channels' sets through both filters at once, baseline and wide, against each filter
    // on its own: the same samples, each channel in its place.
    std::vector<int16_t> alone;
    {
        PreferWideVectors(false);
        SynthesisFilter left(0, 32768.0f), right(1, 32768.0f);
        std::mt19937 rng(9);
        for (int set = 0; set < 60; ++set) {
            float s[2][32];
            RandomSet(rng, s[0]);
            RandomSet(rng, s[1]);
            int16_t a[32], b[32];
            for (int k = 0; k < 32; ++k) {
                left.SetInput(k, s[0][k]);
                right.SetInput(k, s[1][k] * 0.5f);
            }
            left.ProduceSamples(a);
            right.ProduceSamples(b);
            for (int j = 0; j < 32; ++j) {
                alone.push_back(a[j]);
                alone.push_back(b[j]);
            }
        }
    }
    for (const bool wide : {false, true}) {
        PreferWideVectors(wide);
        SynthesisFilter left(0, 32768.0f), right(1, 32768.0f);
        layer12test::MemoryOutput output(2);
        std::mt19937 rng(9);
        for (int set = 0; set < 60; ++set) {
            float s[2][32];
            RandomSet(rng, s[0]);
            RandomSet(rng, s[1]);
            for (float& v : s[1])
                v *= 0.5f;
            SynthesisFilter::ProduceSamplesFrom(left, s[0], right, s[1], output);
            output.EndFrame();
        }
        EXPECT_EQ(output.samples, alone) << "wide " << wide;
    }
    PreferWideVectors(true);
}

TEST(Synthesis, FiltersMadeOnSeveralThreadsAgree)
{
    auto run = [] {
        std::mt19937 rng(11);
        SynthesisFilter f(0, 32768.0f);
        std::vector<int16_t> out;
        for (int set = 0; set < 50; ++set) {
            float s[32];
            RandomSet(rng, s);
            for (int k = 0; k < 32; ++k)
                f.SetInput(k, s[k]);
            int16_t pcm[32];
            f.ProduceSamples(pcm);
            out.insert(out.end(), pcm, pcm + 32);
        }
        return out;
    };
    std::vector<std::vector<int16_t>> results(4);
    std::vector<std::thread> threads;
    for (auto& r : results)
        threads.emplace_back([&r, &run] { r = run(); });
    for (auto& t : threads)
        t.join();
    for (const auto& r : results)
        EXPECT_EQ(r, results[0]);
}

}  // namespace
