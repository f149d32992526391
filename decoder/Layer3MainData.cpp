#include "decoder/Layer3MainData.h"

#include <algorithm>

#include "decoder/HuffmanTables.h"

namespace sonarel {

void ReadScaleFactorsMpeg1(BitReservoir& r, const Layer3GranuleInfo& g, const int32_t scfsi[4], int gr,
                           Layer3ScaleFactors& sf)
{
    const int compress = g.scalefac_compress & 15;
    const int slen1 = Slen1[compress];
    const int slen2 = Slen2[compress];
    if (g.ShortBlocks()) {
        int firstShort = 0;
        if (g.mixed_block_flag) {
            for (int band = 0; band < 8; ++band)
                sf.l[band] = static_cast<int32_t>(r.ReadBits(slen1));
            firstShort = 3;
        }
        for (int band = firstShort; band < 12; ++band) {
            const int len = band < 6 ? slen1 : slen2;
            for (int w = 0; w < 3; ++w)
                sf.s[w][band] = static_cast<int32_t>(r.ReadBits(len));
        }
        for (int w = 0; w < 3; ++w)
            sf.s[w][12] = 0;
        return;
    }
    static const int GroupStart[5] = {0, 6, 11, 16, 21};
    for (int group = 0; group < 4; ++group) {
        if (gr != 0 && scfsi[group] != 0)
            continue;  // the granule-0 values of this group stay
        const int len = group < 2 ? slen1 : slen2;
        for (int band = GroupStart[group]; band < GroupStart[group + 1]; ++band)
            sf.l[band] = static_cast<int32_t>(r.ReadBits(len));
    }
    sf.l[21] = 0;
    sf.l[22] = 0;
}

void ReadScaleFactorsLsf(BitReservoir& r, Layer3GranuleInfo& g, bool intensityChannel, Layer3ScaleFactors& sf)
{
    const int c = g.scalefac_compress & 511;
    int slen[4] = {0, 0, 0, 0};
    int table = 0;
    g.preflag = 0;
    if (intensityChannel) {
        const int h = c >> 1;
        if (h < 180) {
            slen[0] = h / 36;
            slen[1] = (h % 36) / 6;
            slen[2] = (h % 36) % 6;
            table = 3;
        } else if (h < 244) {
            slen[0] = ((h - 180) % 64) / 16;
            slen[1] = ((h - 180) % 16) / 4;
            slen[2] = (h - 180) % 4;
            table = 4;
        } else if (h < 255) {
            slen[0] = (h - 244) / 3;
            slen[1] = (h - 244) % 3;
            table = 5;
        }
    } else if (c < 400) {
        slen[0] = (c >> 4) / 5;
        slen[1] = (c >> 4) % 5;
        slen[2] = (c % 16) >> 2;
        slen[3] = c % 4;
    } else if (c < 500) {
        const int e = (c - 400) >> 2;
        slen[0] = e / 5;
        slen[1] = e % 5;
        slen[2] = (c - 400) % 4;
        table = 1;
    } else {
        slen[0] = (c - 500) / 3;
        slen[1] = (c - 500) % 3;
        table = 2;
        g.preflag = 1;
    }
    const int kind = g.ShortBlocks() ? (g.mixed_block_flag ? 2 : 1) : 0;
    int32_t values[45] = {};
    int32_t illegal[45] = {};
    int n = 0;
    for (int group = 0; group < 4; ++group) {
        const int count = LsfBandCounts[table][kind][group];
        for (int i = 0; i < count && n < 45; ++i, ++n) {
            values[n] = static_cast<int32_t>(r.ReadBits(slen[group]));
            illegal[n] = (1 << slen[group]) - 1;
        }
    }
    n = 0;
    if (kind == 0) {
        for (int band = 0; band < 21; ++band, ++n) {
            sf.l[band] = values[n];
            sf.IllegalLong[band] = illegal[n];
        }
        sf.l[21] = sf.l[22] = 0;
        sf.IllegalLong[21] = sf.IllegalLong[20];
        sf.IllegalLong[22] = sf.IllegalLong[20];
        return;
    }
    int firstShort = 0;
    if (kind == 2) {
        // The long part of a mixed block covers lines 0..35: six long bands at these rates.
        for (int band = 0; band < 6; ++band, ++n) {
            sf.l[band] = values[n];
            sf.IllegalLong[band] = illegal[n];
        }
        firstShort = 3;
    }
    for (int band = firstShort; band < 12; ++band) {
        for (int w = 0; w < 3; ++w, ++n)
            sf.s[w][band] = values[n];
        sf.IllegalShort[band] = illegal[n - 1];
    }
    for (int w = 0; w < 3; ++w)
        sf.s[w][12] = 0;
    sf.IllegalShort[12] = sf.IllegalShort[11];
}

namespace {

// Puts the sign on a value other than 0 from the next bit of the window; without a branch on the
// data, as the signs are random.
[[gnu::always_inline]] inline int32_t Signed(int32_t value, uint64_t& window, int64_t& pos)
{
    const uint32_t present = value != 0 ? 1u : 0u;
    const int32_t negative = -static_cast<int32_t>(static_cast<uint32_t>(window >> 63) & present);
    window <<= present;
    pos += present;
    return (value ^ negative) - negative;
}

// Count values (pairs) of one big-values region from bit position `pos`, through a 64-bit window
// of the stream that stays in a register for the pair; returns the position after them.
template <bool Linbits>
int64_t DecodePairs(const BitReservoir& r, const HuffmanLookupTable& lookup, int linbits, int64_t pos, int32_t* out,
                    int count)
{
    const uint32_t* entries = lookup.Entries.data();
    const int root = lookup.RootBits;
    for (int k = 0; k < count; k += 2) {
        // One window covers the longest pair: a 19-bit code, two 13-bit linbits, two signs.
        uint64_t w = r.PeekAt(pos);
        int used;
        const uint32_t v = HuffmanDecode(entries, root, static_cast<uint32_t>(w >> 32), used);
        w <<= used;
        pos += used;
        // A value of 15 is extended by the linbits; a value other than 0 is followed by its sign.
        int32_t x = static_cast<int32_t>(v >> 4);
        if (Linbits && x == 15) {
            x += static_cast<int32_t>(w >> (64 - linbits));
            w <<= linbits;
            pos += linbits;
        }
        out[k] = Signed(x, w, pos);
        int32_t y = static_cast<int32_t>(v & 15);
        if (Linbits && y == 15) {
            y += static_cast<int32_t>(w >> (64 - linbits));
            w <<= linbits;
            pos += linbits;
        }
        out[k + 1] = Signed(y, w, pos);
    }
    return pos;
}

}  // namespace

int DecodeHuffmanValues(BitReservoir& r, const Layer3GranuleInfo& g, const ScaleFactorBandTable& bands,
                        int64_t part2Start, int64_t limit, int32_t is[576])
{
    const int64_t end = std::min<int64_t>(part2Start + g.part2_3_length, limit);
    const int bigEnd = std::min(g.big_values, 288) * 2;

    int regionEnd[3];
    if (g.ShortBlocks()) {
        regionEnd[0] = 36;
        regionEnd[1] = 576;
    } else {
        regionEnd[0] = bands.Long[std::min(g.region0_count + 1, 22)];
        regionEnd[1] = bands.Long[std::min(g.region0_count + g.region1_count + 2, 22)];
    }
    regionEnd[2] = 576;

    int i = 0;
    for (int region = 0; region < 3; ++region) {
        const int stop = std::min(regionEnd[region], bigEnd);
        if (i >= stop)
            continue;
        const int table = g.table_select[region] & 31;
        const HuffmanDescriptor& d = HuffmanDescriptors[table];
        if (d.TreeLength == 0) {
            std::fill(is + i, is + stop, 0);
            i = stop;
            continue;
        }
        const HuffmanLookupTable& lookup = HuffmanLookup(table);
        const int64_t pos = r.BitsRead();
        r.SetBitsRead(d.LinBits > 0 ? DecodePairs<true>(r, lookup, d.LinBits, pos, is + i, stop - i)
                                    : DecodePairs<false>(r, lookup, 0, pos, is + i, stop - i));
        i += (stop - i + 1) & ~1;  // whole pairs
    }

    // Count-1 region: quadruples of values -1..1 until the granule's bits are used up.
    const HuffmanLookupTable& quad = HuffmanLookup(g.count1table_select ? 33 : 32);
    const uint32_t* quadEntries = quad.Entries.data();
    const int quadRoot = quad.RootBits;
    int lastQuad = -1;
    int64_t pos = r.BitsRead();
    while (pos < end && i < 576) {
        lastQuad = i;
        uint64_t w = r.PeekAt(pos);
        int used;
        const uint32_t v = HuffmanDecode(quadEntries, quadRoot, static_cast<uint32_t>(w >> 32), used);
        w <<= used;
        pos += used;
        // Four values in registers, stored one by one: gathered in an array first, they would
        // be read back in a wider piece than they were written in, which stalls.
        const int32_t q0 = Signed(static_cast<int32_t>((v >> 3) & 1), w, pos);
        const int32_t q1 = Signed(static_cast<int32_t>((v >> 2) & 1), w, pos);
        const int32_t q2 = Signed(static_cast<int32_t>((v >> 1) & 1), w, pos);
        const int32_t q3 = Signed(static_cast<int32_t>(v & 1), w, pos);
        if (i + 4 <= 576) {
            is[i] = q0;
            is[i + 1] = q1;
            is[i + 2] = q2;
            is[i + 3] = q3;
            i += 4;
        } else {
            const int32_t q[4] = {q0, q1, q2, q3};
            for (int k = 0; i < 576; ++k)
                is[i++] = q[k];
        }
    }
    r.SetBitsRead(pos);
    const int64_t at = r.BitsRead();
    if (at > end) {
        // The last quadruple ran past the granule's data: it is not part of the signal.
        r.RewindBits(at - end);
        if (lastQuad >= 0)
            i = lastQuad;
    } else if (at < end) {
        r.SkipBits(end - at);
    }
    std::fill(is + i, is + 576, 0);
    return i;
}

}  // namespace sonarel
