// Tables of Layer III: the standard's stored tables and those computed once on first use.
#pragma once

#include <cstdint>

namespace sonarel {

// Scale-factor band boundaries by sample-rate table index (0..2: 22.05, 24, 16 kHz;
// 3..5: 44.1, 48, 32 kHz): 23 long-block and 14 short-block boundaries.
struct ScaleFactorBandTable {
    int16_t Long[23];
    int16_t Short[14];
};
extern const ScaleFactorBandTable ScaleFactorBands[6];

// slen1 and slen2 of MPEG-1 by scalefac_compress.
extern const uint8_t Slen1[16];
extern const uint8_t Slen2[16];

// Number of scale-factor bands per slen group of the lower sampling frequencies:
// [table][block kind: 0 long, 1 short, 2 mixed][group].
extern const uint8_t LsfBandCounts[6][3][4];

// pretab (ISO/IEC 11172-3 Table 3-B.6), 23 entries (the last two 0).
extern const uint8_t Pretab[23];

// Intensity ratios tan(i * pi / 12); entry 6 stands for infinity.
extern const float IntensityRatios[16];

// Tables computed from a formula, filled once per process on first use.
struct Layer3ComputedTables {
    // Every magnitude that the Huffman codes give: 15 plus 13 linbits.
    static constexpr int PowerEntries = 15 + (1 << 13);
    float Power[PowerEntries];  // i^(4/3)
    float Gain[64];             // 2^(-i/2)
    float GlobalGain[256];      // 2^((i - 210) / 4)
    float LsfIntensity[2][32];  // 0.840896415256^i and 0.707106781188^i
    float Cs[8];                // antialias butterflies
    float Ca[8];
    float Window[4][36];                  // long windows (types 0, 1, 3; type 2 unused), with the IMDCT scale
    float ShortWindow[12];                // sin(pi/12 (i + 0.5))
    alignas(16) float ImdctLong[18][20];  // 18 independent outputs of the 36-point IMDCT per
                                          // input (2 columns of padding for whole vectors)
    float ImdctShort[6][6];               // 6 independent outputs of the 12-point IMDCT per input
};
const Layer3ComputedTables& Layer3Computed();

// |v|^(4/3) for any Huffman value (table below 512, direct above).
float PowerFourThirds(int32_t v);

}  // namespace sonarel
