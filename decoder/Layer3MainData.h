// Main data of a Layer III granule and channel: the scale factors and the Huffman-coded values,
// read from the bit reservoir.
#pragma once

#include <cstdint>

#include "decoder/BitReservoir.h"
#include "decoder/Layer3SideInfo.h"
#include "decoder/Layer3Tables.h"

namespace sonarel {

// Scale factors of one channel: long-block l[23], then short-block s[window][13]. For the
// intensity channel of the lower sampling frequencies, IllegalLong/IllegalShort hold the value
// that marks a band as not intensity-coded (all ones of the band's length).
struct Layer3ScaleFactors {
    int32_t l[23] = {};
    int32_t s[3][13] = {};
    int32_t IllegalLong[23] = {};
    int32_t IllegalShort[13] = {};
};

// MPEG-1 scale factors of granule gr; long-block groups with their scfsi bit set in granule 1
// keep the values of granule 0.
void ReadScaleFactorsMpeg1(BitReservoir& r, const Layer3GranuleInfo& g, const int32_t scfsi[4], int gr,
                           Layer3ScaleFactors& sf);

// Scale factors of the lower sampling frequencies; sets g.preflag. IntensityChannel is true for
// the second channel when the mode extension has intensity stereo.
void ReadScaleFactorsLsf(BitReservoir& r, Layer3GranuleInfo& g, bool intensityChannel, Layer3ScaleFactors& sf);

// Huffman-decodes the granule's 576 values into is (zeros beyond the coded ones). Part2Start is
// the reservoir bit count before the scale factors; reading stops at part2Start +
// part2_3_length, and never goes past Limit (the bits the reservoir holds). Returns the number of
// lines that may be non-zero (a multiple of 2, at most 576).
int DecodeHuffmanValues(BitReservoir& r, const Layer3GranuleInfo& g, const ScaleFactorBandTable& bands,
                        int64_t part2Start, int64_t limit, int32_t is[576]);

}  // namespace sonarel
