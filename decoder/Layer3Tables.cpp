#include "decoder/Layer3Tables.h"

#include <cmath>

namespace sonarel {

const ScaleFactorBandTable ScaleFactorBands[6] = {
    // 22.05 kHz
    {{0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
     {0, 4, 8, 12, 18, 24, 32, 42, 56, 74, 100, 132, 174, 192}},
    // 24 kHz
    {{0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 114, 136, 162, 194, 232, 278, 332, 394, 464, 540, 576},
     {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 136, 180, 192}},
    // 16 kHz
    {{0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
     {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192}},
    // 44.1 kHz
    {{0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 52, 62, 74, 90, 110, 134, 162, 196, 238, 288, 342, 418, 576},
     {0, 4, 8, 12, 16, 22, 30, 40, 52, 66, 84, 106, 136, 192}},
    // 48 kHz
    {{0, 4, 8, 12, 16, 20, 24, 30, 36, 42, 50, 60, 72, 88, 106, 128, 156, 190, 230, 276, 330, 384, 576},
     {0, 4, 8, 12, 16, 22, 28, 38, 50, 64, 80, 100, 126, 192}},
    // 32 kHz
    {{0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 54, 66, 82, 102, 126, 156, 194, 240, 296, 364, 448, 550, 576},
     {0, 4, 8, 12, 16, 22, 30, 42, 58, 78, 104, 138, 180, 192}},
};

const uint8_t Slen1[16] = {0, 0, 0, 0, 3, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4};
const uint8_t Slen2[16] = {0, 1, 2, 3, 0, 1, 2, 3, 1, 2, 3, 1, 2, 3, 2, 3};

const uint8_t LsfBandCounts[6][3][4] = {
    {{6, 5, 5, 5}, {9, 9, 9, 9}, {6, 9, 9, 9}},       {{6, 5, 7, 3}, {9, 9, 12, 6}, {6, 9, 12, 6}},
    {{11, 10, 0, 0}, {18, 18, 0, 0}, {15, 18, 0, 0}}, {{7, 7, 7, 0}, {12, 12, 12, 0}, {6, 15, 12, 0}},
    {{6, 6, 6, 3}, {12, 9, 9, 6}, {6, 12, 9, 6}},     {{8, 8, 5, 0}, {15, 12, 9, 0}, {6, 18, 9, 0}},
};

const uint8_t Pretab[23] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 3, 2, 0, 0};

const float IntensityRatios[16] = {
    0.0f,        0.26794919f, 0.57735027f,  1.0f,         1.7320508f, 3.7320508f,  1.0e11f,     -3.7320508f,
    -1.7320508f, -1.0f,       -0.57735027f, -0.26794919f, 0.0f,       0.26794919f, 0.57735027f, 1.0f,
};

namespace {

const double Pi = 3.14159265358979323846;

// Antialias coefficients Ci (ISO/IEC 11172-3 Table 3-B.9).
const double AliasCoefficients[8] = {-0.6, -0.535, -0.33, -0.185, -0.095, -0.041, -0.0142, -0.0037};

Layer3ComputedTables Compute()
{
    Layer3ComputedTables t{};
    for (int i = 0; i < Layer3ComputedTables::PowerEntries; ++i)
        t.Power[i] = static_cast<float>(std::pow(static_cast<double>(i), 4.0 / 3.0));
    for (int i = 0; i < 64; ++i)
        t.Gain[i] = static_cast<float>(std::pow(2.0, -0.5 * i));
    for (int i = 0; i < 256; ++i)
        t.GlobalGain[i] = static_cast<float>(std::pow(2.0, 0.25 * (i - 210)));
    for (int i = 0; i < 32; ++i) {
        t.LsfIntensity[0][i] = static_cast<float>(std::pow(0.840896415256, i));
        t.LsfIntensity[1][i] = static_cast<float>(std::pow(0.707106781188, i));
    }
    for (int i = 0; i < 8; ++i) {
        const double cs = 1.0 / std::sqrt(1.0 + AliasCoefficients[i] * AliasCoefficients[i]);
        t.Cs[i] = static_cast<float>(cs);
        t.Ca[i] = static_cast<float>(AliasCoefficients[i] * cs);
    }
    for (int i = 0; i < 36; ++i) {
        const double longSin = std::sin(Pi / 36 * (i + 0.5));
        t.Window[0][i] = static_cast<float>(longSin);
        double w1 = 0, w3 = 0;
        if (i < 18)
            w1 = longSin;
        else if (i < 24)
            w1 = 1.0;
        else if (i < 30)
            w1 = std::sin(Pi / 12 * (i + 0.5 - 18));
        if (i >= 18)
            w3 = longSin;
        else if (i >= 12)
            w3 = 1.0;
        else if (i >= 6)
            w3 = std::sin(Pi / 12 * (i + 0.5 - 6));
        t.Window[1][i] = static_cast<float>(w1);
        t.Window[3][i] = static_cast<float>(w3);
    }
    for (int i = 0; i < 12; ++i)
        t.ShortWindow[i] = static_cast<float>(std::sin(Pi / 12 * (i + 0.5)));
    // Outputs 0..8 and 18..26 of the long IMDCT; 9..17 and 27..35 follow by symmetry.
    for (int k = 0; k < 18; ++k)
        for (int m = 0; m < 18; ++m) {
            const int i = m < 9 ? m : m + 9;
            t.ImdctLong[k][m] = static_cast<float>(std::cos(Pi / 72 * (2 * i + 1 + 18) * (2 * k + 1)));
        }
    // Outputs 0..2 and 6..8 of the short IMDCT; the others follow by symmetry.
    for (int k = 0; k < 6; ++k)
        for (int m = 0; m < 6; ++m) {
            const int i = m < 3 ? m : m + 3;
            t.ImdctShort[k][m] = static_cast<float>(std::cos(Pi / 24 * (2 * i + 1 + 6) * (2 * k + 1)));
        }
    return t;
}

}  // namespace

const Layer3ComputedTables& Layer3Computed()
{
    static const Layer3ComputedTables tables = Compute();  // thread-safe one-time initialisation
    return tables;
}

float PowerFourThirds(int32_t v)
{
    const uint32_t a = v < 0 ? static_cast<uint32_t>(-static_cast<int64_t>(v)) : static_cast<uint32_t>(v);
    if (a < Layer3ComputedTables::PowerEntries)
        return Layer3Computed().Power[a];
    return static_cast<float>(std::pow(static_cast<double>(a), 4.0 / 3.0));
}

}  // namespace sonarel
