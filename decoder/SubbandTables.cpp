#include "decoder/SubbandTables.h"

#include <cmath>

namespace sonarel {
namespace {

// Class index (into SubbandTables::classes) by number of quantisation steps.
enum : uint8_t {
    Q3,
    Q5,
    Q7,
    Q9,
    Q15,
    Q31,
    Q63,
    Q127,
    Q255,
    Q511,
    Q1023,
    Q2047,
    Q4095,
    Q8191,
    Q16383,
    Q32767,
    Q65535,
    QNone = 0xFF
};

// ISO/IEC 11172-3 Table 3-B.2 a/b (27 or 30 subbands), rows by subband range.
constexpr uint8_t kAbLow[16] = {QNone, Q3,    Q7,    Q15,   Q31,   Q63,    Q127,   Q255,
                                Q511,  Q1023, Q2047, Q4095, Q8191, Q16383, Q32767, Q65535};  // subbands 0..2
constexpr uint8_t kAbMid[16] = {QNone, Q3,   Q5,   Q7,    Q9,    Q15,   Q31,   Q63,
                                Q127,  Q255, Q511, Q1023, Q2047, Q4095, Q8191, Q65535};  // 3..10
constexpr uint8_t kAbHigh[8] = {QNone, Q3, Q5, Q7, Q9, Q15, Q31, Q65535};                // 11..22
constexpr uint8_t kAbTop[4] = {QNone, Q3, Q5, Q65535};                                   // 23..29
// Table 3-B.2 c/d (8 or 12 subbands).
constexpr uint8_t kCdLow[16] = {QNone, Q3,   Q5,    Q9,    Q15,   Q31,   Q63,    Q127,
                                Q255,  Q511, Q1023, Q2047, Q4095, Q8191, Q16383, Q32767};  // subbands 0..1
constexpr uint8_t kCdHigh[8] = {QNone, Q3, Q5, Q9, Q15, Q31, Q63, Q127};
// ISO/IEC 13818-3 Table B.1 (lower sampling frequencies, 30 subbands).
constexpr uint8_t kLsfLow[16] = {QNone, Q3,   Q5,   Q7,    Q9,    Q15,   Q31,   Q63,
                                 Q127,  Q255, Q511, Q1023, Q2047, Q4095, Q8191, Q16383};  // subbands 0..3
constexpr uint8_t kLsfMid[8] = {QNone, Q3, Q5, Q9, Q15, Q31, Q63, Q127};                  // 4..10
constexpr uint8_t kLsfHigh[4] = {QNone, Q3, Q5, Q9};                                      // 11..29

void FillGrouping(float* table, int steps)
{
    const int codes = steps * steps * steps;
    for (int g = 0; g < codes; ++g) {
        int rest = g;
        for (int k = 0; k < 3; ++k) {
            const int digit = rest % steps;
            rest /= steps;
            table[3 * g + k] = static_cast<float>((2.0 * digit - (steps - 1)) / steps);
        }
    }
}

// Bit rate per channel as an index of the MPEG-1 Layer II table (1 = 32 kbit/s ...).
int32_t PerChannelIndex(const Header& header)
{
    int32_t r = header.BitrateIndex();
    if (header.Mode() != Header::SingleChannel)
        r = r == 4 ? 1 : r - 4;
    return r;
}

}  // namespace

SubbandTables::SubbandTables()
{
    for (int i = 0; i < 63; ++i)
        scaleFactors[i] = static_cast<float>(2.0 * std::pow(2.0, -i / 3.0));
    scaleFactors[63] = 0.0f;
    layer1Factor[0] = layer1Offset[0] = 0.0f;
    for (int a = 1; a < 15; ++a) {
        const double levels = std::ldexp(1.0, a + 1);
        layer1Factor[a] = static_cast<float>(2.0 / (levels - 1.0));
        layer1Offset[a] = static_cast<float>((2.0 - levels) / (levels - 1.0));
    }
    FillGrouping(grouping3, 3);
    FillGrouping(grouping5, 5);
    FillGrouping(grouping9, 9);

    classes[Q3] = {5, grouping3, 27, 0.0f, static_cast<float>(4.0 / 3.0), 0.5f};
    classes[Q5] = {7, grouping5, 125, 0.0f, 1.6f, 0.5f};
    classes[Q9] = {10, grouping9, 729, 0.0f, static_cast<float>(16.0 / 9.0), 0.5f};
    const int plain[] = {Q7, Q15, Q31, Q63, Q127, Q255, Q511, Q1023, Q2047, Q4095, Q8191, Q16383, Q32767, Q65535};
    int bits = 3;
    for (int q : plain) {
        const double steps = std::ldexp(1.0, bits) - 1.0;
        const float d = static_cast<float>(std::ldexp(1.0, -(bits - 1)));
        classes[q] = {bits, nullptr, 0, d, static_cast<float>((steps + 1.0) / steps), d};
        ++bits;
    }
}

const SubbandTables& SubbandTables::Get()
{
    static const SubbandTables tables;  // thread-safe initialisation
    return tables;
}

int32_t Layer2AllocationWidth(const Header& header, int32_t sb)
{
    if (header.Version() == 0)
        return sb <= 3 ? 4 : sb <= 10 ? 3 : 2;
    const int32_t r = PerChannelIndex(header);
    if (r == 1 || r == 2)
        return sb <= 1 ? 4 : 3;
    return sb <= 10 ? 4 : sb <= 22 ? 3 : 2;
}

const QuantClass* Layer2Class(const Header& header, int32_t sb, int32_t allocation)
{
    if (allocation <= 0)
        return nullptr;
    const uint8_t* row;
    int32_t size;
    if (header.Version() == 0) {
        if (sb <= 3)
            row = kLsfLow, size = 16;
        else if (sb <= 10)
            row = kLsfMid, size = 8;
        else
            row = kLsfHigh, size = 4;
    } else {
        const int32_t r = PerChannelIndex(header);
        if (r == 1 || r == 2) {
            if (sb <= 1)
                row = kCdLow, size = 16;
            else
                row = kCdHigh, size = 8;
        } else if (sb <= 2) {
            row = kAbLow, size = 16;
        } else if (sb <= 10) {
            row = kAbMid, size = 16;
        } else if (sb <= 22) {
            row = kAbHigh, size = 8;
        } else {
            row = kAbTop, size = 4;
        }
    }
    if (allocation >= size || row[allocation] == QNone)
        return nullptr;
    return &SubbandTables::Get().classes[row[allocation]];
}

}  // namespace sonarel
