// Helpers of the Layer III unit tests: a bit writer and a Huffman encoder over the decoder's
// own code tables.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "decoder/BitReservoir.h"
#include "decoder/HuffmanTables.h"

namespace l3test {

struct BitWriter {
    std::vector<uint8_t> Bytes;
    int64_t Bits = 0;
    void Put(uint32_t value, int n)
    {
        for (int i = n - 1; i >= 0; --i) {
            if ((Bits & 7) == 0)
                Bytes.push_back(0);
            if ((value >> i) & 1)
                Bytes.back() |= static_cast<uint8_t>(0x80 >> (Bits & 7));
            ++Bits;
        }
    }
    void Fill(sonarel::BitReservoir& r) const
    {
        for (uint8_t b : Bytes)
            r.PutByte(b);
    }
};

// Writes the pair (x, y) with table t, its linbits and signs.
inline void PutPair(BitWriter& w, int t, int x, int y)
{
    const sonarel::HuffmanDescriptor& d = sonarel::HuffmanDescriptors[t];
    if (d.TreeLength == 0)
        return;
    const int ax = std::abs(x), ay = std::abs(y);
    const int cx = d.LinBits ? std::min(ax, 15) : ax;
    const int cy = d.LinBits ? std::min(ay, 15) : ay;
    const int index = cx * d.YLen + cy;
    w.Put(d.Codes[index], d.Lengths[index]);
    if (d.LinBits && cx == 15)
        w.Put(static_cast<uint32_t>(ax - 15), d.LinBits);
    if (ax)
        w.Put(x < 0, 1);
    if (d.LinBits && cy == 15)
        w.Put(static_cast<uint32_t>(ay - 15), d.LinBits);
    if (ay)
        w.Put(y < 0, 1);
}

// Writes a quadruple of values -1..1 with table 32 or 33.
inline void PutQuad(BitWriter& w, int t, const int q[4])
{
    const sonarel::HuffmanDescriptor& d = sonarel::HuffmanDescriptors[t];
    const int index = (q[0] != 0) * 8 + (q[1] != 0) * 4 + (q[2] != 0) * 2 + (q[3] != 0);
    w.Put(d.Codes[index], d.Lengths[index]);
    for (int k = 0; k < 4; ++k)
        if (q[k])
            w.Put(q[k] < 0, 1);
}

}  // namespace l3test
