// Tables of Layer I and II requantisation (ISO/IEC 11172-3 Tables 3-B.1, 3-B.2, 3-B.4 and
// ISO/IEC 13818-3 Table B.1), built once.
#pragma once

#include "decoder/Subband.h"

#include <cstdint>

namespace sonarel {

struct SubbandTables {
    float scaleFactors[64];   // 2 * 2^(-i/3); entry 63 is 0
    float layer1Factor[15];   // by allocation: 2 / (2^n - 1), n = allocation + 1
    float layer1Offset[15];   // (2 - 2^n) / (2^n - 1)
    float grouping3[27 * 3];  // triples by group code: (2 d - (L - 1)) / L
    float grouping5[125 * 3];
    float grouping9[729 * 3];
    QuantClass classes[17];  // 3, 5, 7, 9, 15, 31, ... 65535 steps

    static const SubbandTables& Get();

private:
    SubbandTables();
};

// Layer II allocation field width of subband sb (version and bit rate of the header).
int32_t Layer2AllocationWidth(const Header& header, int32_t sb);
// Layer II quantisation class of an allocation value; nullptr for allocation 0.
const QuantClass* Layer2Class(const Header& header, int32_t sb, int32_t allocation);

}  // namespace sonarel
