// Builds legal MPEG Layer I frames (MPEG-1 and the lower sampling frequencies) with random
// allocations, scale factors and samples within the ranges the standard allows.
#pragma once

#include "BitWriter.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace layer1gen {

struct Layer1Options {
    int version = 1;          // 1 MPEG-1, 0 lower sampling frequencies
    int sampleRateIndex = 0;  // 0..2
    int bitrateIndex = 12;    // 1..14
    int mode = 0;             // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
    bool protect = false;     // 16-bit checksum after the header
    bool randomPadding = false;
    int lowestScaleFactor = 6;  // smallest scale-factor index used (largest amplitude)
};

// Frame bytes without padding.
inline int Layer1FrameBytes(const Layer1Options& o, int padding)
{
    static const int kRates[2][3] = {{22050, 24000, 16000}, {44100, 48000, 32000}};
    static const int kBitrates[2][15] = {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
                                         {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}};
    const int b = kBitrates[o.version][o.bitrateIndex] * 1000;
    const int f = kRates[o.version][o.sampleRateIndex];
    return (12 * b / f + padding) * 4;
}

// One frame. Allocations (0..14) are drawn until the frame's bits are used up; an allocation of
// forbiddenAt's subband is forced to 15 when forbiddenAt >= 0 (for tests of refused frames).
inline std::vector<uint8_t> MakeLayer1Frame(const Layer1Options& o, std::mt19937& rng, int forbiddenAt = -1)
{
    const int padding = o.randomPadding ? static_cast<int>(rng() & 1u) : 0;
    const int frameBytes = Layer1FrameBytes(o, padding);
    const int modeExtension = o.mode == 1 ? static_cast<int>(rng() % 4) : 0;
    const int channels = o.mode == 3 ? 1 : 2;
    const int bound = o.mode == 1 ? 4 * modeExtension + 4 : 32;

    const uint32_t header = 0xFFF00000u | (uint32_t(o.version) << 19) | (3u << 17) | (o.protect ? 0u : 1u << 16)
        | (uint32_t(o.bitrateIndex) << 12) | (uint32_t(o.sampleRateIndex) << 10) | (uint32_t(padding) << 9)
        | (uint32_t(o.mode) << 6) | (uint32_t(modeExtension) << 4);

    // Budget: everything after header, checksum and the allocation fields.
    int allocationBits = 0;
    for (int sb = 0; sb < 32; ++sb)
        allocationBits += (sb < bound ? channels : 1) * 4;
    int budget = frameBytes * 8 - 32 - (o.protect ? 16 : 0) - allocationBits;

    int allocation[32][2] = {};
    // Cost of raising one allocation: 12 samples of one more bit, plus 6 scale-factor bits per
    // channel the first time.
    for (int attempt = 0; attempt < 400; ++attempt) {
        const int sb = static_cast<int>(rng() % 32);
        const int ch = sb < bound ? static_cast<int>(rng() % channels) : 0;
        int& a = allocation[sb][ch];
        if (a >= 14)
            continue;
        const int shared = sb < bound ? 1 : channels;  // intensity: samples shared, factors not
        const int cost = (a == 0 ? 6 * shared + 12 * 2 : 12);
        if (cost > budget)
            continue;
        budget -= cost;
        ++a;
    }
    if (forbiddenAt >= 0)
        allocation[forbiddenAt][0] = 15;

    BitWriter w;
    CrcWriter crc;
    w.Put(header, 32);
    crc.Add(header, 16);
    BitWriter body;
    for (int sb = 0; sb < 32; ++sb) {
        const int n = sb < bound ? channels : 1;
        for (int ch = 0; ch < n; ++ch) {
            body.Put(static_cast<uint32_t>(allocation[sb][ch]), 4);
            crc.Add(static_cast<uint32_t>(allocation[sb][ch]), 4);
        }
    }
    if (o.protect)
        w.Put(crc.Value(), 16);
    for (int sb = 0; sb < 32; ++sb) {
        for (int ch = 0; ch < channels; ++ch) {
            const int a = allocation[sb][sb < bound ? ch : 0];
            if (a > 0) {
                const int span = 62 - o.lowestScaleFactor + 1;
                const int low = o.lowestScaleFactor + sb / 2;  // less energy in high subbands
                body.Put(static_cast<uint32_t>(std::min(62, low + static_cast<int>(rng() % span))), 6);
            }
        }
    }
    for (int s = 0; s < 12; ++s) {
        for (int sb = 0; sb < 32; ++sb) {
            const int n = sb < bound ? channels : 1;
            for (int ch = 0; ch < n; ++ch) {
                const int a = allocation[sb][ch];
                if (a > 0 && a < 15) {
                    const uint32_t levels = (1u << (a + 1)) - 1u;  // the all-ones code is forbidden
                    body.Put(rng() % levels, a + 1);
                }
            }
        }
    }
    std::vector<uint8_t> out = w.Bytes();
    std::vector<uint8_t>& b = body.Bytes();
    out.insert(out.end(), b.begin(), b.end());
    out.resize(static_cast<size_t>(frameBytes), 0);  // ancillary bits are zero
    return out;
}

}  // namespace layer1gen
