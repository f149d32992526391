// Reconstruction of a Layer III granule: requantisation, stereo processing, reordering of short
// blocks, alias reduction, and the IMDCT with overlap and frequency inversion. Arrays hold the
// 576 lines in frequency order (line = 18 * subband + index).
#pragma once

#include <cstdint>

#include "decoder/Layer3MainData.h"
#include "decoder/Layer3SideInfo.h"
#include "decoder/Layer3Tables.h"

namespace sonarel {

// Long bands below line 36 (the long part of a mixed block): 8 for MPEG-1, 6 for the lower
// sampling frequencies.
inline int MixedLongBands(int version)
{
    return version == 1 ? 8 : 6;
}

// Requantises is[0..limit) into ro; lines from limit on become 0.
void Requantize(const int32_t is[576], int limit, const Layer3GranuleInfo& g, const Layer3ScaleFactors& sf,
                const ScaleFactorBandTable& bands, int version, float ro[576]);

struct Layer3StereoMode {
    int version = 1;         // 1 MPEG-1, 0 lower sampling frequencies
    bool midSide = false;    // joint stereo with mode extension bit 1
    bool intensity = false;  // joint stereo with mode extension bit 0
};

// Stereo processing of one granule from ro into lr; g0 gives the block kind, g1 and sf1 (the
// second channel) the intensity positions. Limit (the lines that may be non-zero in either
// channel) is raised as needed.
void ProcessStereo(const float ro[2][576], float lr[2][576], const Layer3GranuleInfo& g0, const Layer3GranuleInfo& g1,
                   const Layer3ScaleFactors& sf1, const ScaleFactorBandTable& bands, const Layer3StereoMode& mode,
                   int& limit);

// Reorders short blocks from lr into work (long blocks are copied).
void Reorder(const float lr[576], const Layer3GranuleInfo& g, const ScaleFactorBandTable& bands, float work[576]);

// Alias reduction between subbands below sbLimit (+1).
void ReduceAliases(float work[576], const Layer3GranuleInfo& g, int sbLimit);

// IMDCT of every subband with windowing, overlap with prevblock (updated), and frequency
// inversion. Subbands at and above sbLimit carry zeros in work. PrevLimit is the number of
// subbands whose overlap may be non-zero, updated.
void HybridSynthesis(float work[576], float prevblock[576], const Layer3GranuleInfo& g, int sbLimit, int& prevLimit);

// The 36 windowed IMDCT outputs of one subband (block type 0, 1 or 3 long, 2 short).
void ImdctLong(const float in[18], int blockType, float out[36]);
void ImdctShort(const float in[18], float out[36]);

}  // namespace sonarel
