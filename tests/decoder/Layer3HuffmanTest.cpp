// Huffman tables and the decoding of the spectral values of a granule.
#include <gtest/gtest.h>

#include <random>

#include "Layer3TestSupport.h"
#include "decoder/Layer3MainData.h"

using namespace sonarel;
using l3test::BitWriter;

TEST(Layer3Huffman, EveryTableIsACompletePrefixCode)
{
    for (int t = 0; t < 34; ++t) {
        const HuffmanDescriptor& d = HuffmanDescriptors[t];
        SCOPED_TRACE(t);
        if (t == 0 || t == 4 || t == 14) {
            EXPECT_EQ(d.TreeLength, 0);
            EXPECT_EQ(HuffmanLookup(t).RootBits, 0);
            continue;
        }
        ASSERT_EQ(d.TreeLength, d.XLen * d.YLen);
        // Kraft sum exactly 1 (in units of 2^-32) and no code a prefix of another.
        uint64_t kraft = 0;
        for (int i = 0; i < d.TreeLength; ++i) {
            ASSERT_LT(d.Codes[i], 1u << d.Lengths[i]);
            kraft += uint64_t{1} << (32 - d.Lengths[i]);
            for (int j = 0; j < d.TreeLength; ++j)
                if (i != j && d.Lengths[j] >= d.Lengths[i]) {
                    ASSERT_NE(d.Codes[j] >> (d.Lengths[j] - d.Lengths[i]), d.Codes[i]) << i << " " << j;
                }
        }
        EXPECT_EQ(kraft, uint64_t{1} << 32);
    }
    EXPECT_EQ(HuffmanDescriptors[23].LinBits, 13);
    EXPECT_EQ(HuffmanDescriptors[23].TreeOf, 16);
    EXPECT_EQ(HuffmanDescriptors[30].LinBits, 11);
    EXPECT_EQ(HuffmanDescriptors[30].LinMax, 2047);
    EXPECT_EQ(HuffmanDescriptors[31].TreeOf, 24);
}

TEST(Layer3Huffman, LookupDecodesEveryCodeWhateverFollows)
{
    std::mt19937 rng(7);
    for (int t = 1; t < 34; ++t) {
        const HuffmanDescriptor& d = HuffmanDescriptors[t];
        if (d.TreeLength == 0 || d.TreeOf >= 0)
            continue;
        const HuffmanLookupTable& lookup = HuffmanLookup(t);
        for (int i = 0; i < d.TreeLength; ++i) {
            const int len = d.Lengths[i];
            const uint32_t tail = static_cast<uint32_t>(rng()) >> len;
            const uint32_t window = (static_cast<uint32_t>(d.Codes[i]) << (32 - len)) | tail;
            int used = 0;
            const uint32_t v = HuffmanDecode(lookup, window, used);
            ASSERT_EQ(used, len) << t << " " << i;
            const uint32_t expected =
                d.XLen == 1 ? static_cast<uint32_t>(i) : static_cast<uint32_t>(((i / d.YLen) << 4) | (i % d.YLen));
            ASSERT_EQ(v, expected) << t << " " << i;
        }
    }
}

TEST(Layer3Huffman, BitsThatStartNoCodeGiveZerosAndUseThirtyTwoBits)
{
    // An incomplete code of a 1 x 2 table: "1" is (0, 0), "01" is (0, 1); nothing starts with "00".
    static const uint16_t codes[2] = {1, 1};
    static const uint8_t lengths[2] = {1, 2};
    const HuffmanDescriptor d{{'t'}, 2, 2, 0, 0, -1, codes, lengths, 2};
    const HuffmanLookupTable t = BuildHuffmanLookup(d);
    int used = 0;
    EXPECT_EQ(HuffmanDecode(t, 0x80000000u, used), 0x00u);
    EXPECT_EQ(used, 1);
    EXPECT_EQ(HuffmanDecode(t, 0x40000000u, used), 0x01u);
    EXPECT_EQ(used, 2);
    EXPECT_EQ(HuffmanDecode(t, 0x3FFFFFFFu, used), 0u);
    EXPECT_EQ(used, 32);
}

namespace {

Layer3GranuleInfo LongGranule()
{
    Layer3GranuleInfo g;
    g.region0_count = 3;  // region 1 from long boundary 4 (line 16 at 44.1 kHz)
    g.region1_count = 2;  // region 2 from long boundary 7 (line 30)
    return g;
}

}  // namespace

TEST(Layer3Huffman, BigValuesWithLinbitsSignsAndRegions)
{
    const ScaleFactorBandTable& bands = ScaleFactorBands[3];
    Layer3GranuleInfo g = LongGranule();
    g.table_select[0] = 7;
    g.table_select[1] = 24 + 7;  // table 31: 13 linbits
    g.table_select[2] = 16 + 3;  // table 19: 4 linbits
    g.big_values = 20;
    std::vector<int> values;
    std::mt19937 rng(3);
    for (int i = 0; i < 40; ++i) {
        const int region = i < 16 ? 0 : (i < 30 ? 1 : 2);
        const int maxAbs = region == 0 ? 5 : (region == 1 ? 8000 : 30);
        int v = static_cast<int>(rng() % (maxAbs + 1));
        if (rng() & 1)
            v = -v;
        values.push_back(v);
    }
    BitWriter w;
    for (int i = 0; i < 40; i += 2) {
        const int region = i < 16 ? 0 : (i < 30 ? 1 : 2);
        l3test::PutPair(w, g.table_select[region], values[i], values[i + 1]);
    }
    // Count-1 values: two quadruples with table 33.
    const int q1[4] = {1, 0, -1, 1}, q2[4] = {0, -1, 0, 0};
    g.count1table_select = 1;
    l3test::PutQuad(w, 33, q1);
    l3test::PutQuad(w, 33, q2);
    g.part2_3_length = static_cast<int32_t>(w.Bits);
    w.Put(0x5A5A, 16);  // the next granule's data

    BitReservoir r;
    w.Fill(r);
    int32_t is[576];
    std::fill(is, is + 576, 99);
    const int limit = DecodeHuffmanValues(r, g, bands, 0, r.BytesWritten() * 8, is);
    EXPECT_EQ(limit, 48);
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(is[i], values[i]) << i;
    const int expected[8] = {1, 0, -1, 1, 0, -1, 0, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(is[40 + i], expected[i]);
    for (int i = 48; i < 576; ++i)
        ASSERT_EQ(is[i], 0);
    EXPECT_EQ(r.BitsRead(), g.part2_3_length);
}

TEST(Layer3Huffman, CountOneOverrunIsDroppedAndRewound)
{
    const ScaleFactorBandTable& bands = ScaleFactorBands[3];
    Layer3GranuleInfo g = LongGranule();
    g.table_select[0] = 1;
    g.big_values = 1;
    BitWriter w;
    l3test::PutPair(w, 1, 1, -1);
    const int q[4] = {1, 1, 1, 1};
    l3test::PutQuad(w, 32, q);  // 1 code bit + 4 signs; the granule ends inside it
    g.part2_3_length = static_cast<int32_t>(w.Bits - 2);
    BitReservoir r;
    w.Fill(r);
    int32_t is[576];
    const int limit = DecodeHuffmanValues(r, g, bands, 0, 1 << 20, is);
    EXPECT_EQ(limit, 2);
    EXPECT_EQ(is[0], 1);
    EXPECT_EQ(is[1], -1);
    for (int i = 2; i < 576; ++i)
        ASSERT_EQ(is[i], 0);
    EXPECT_EQ(r.BitsRead(), g.part2_3_length);
}

TEST(Layer3Huffman, EmptyTablesReadNothingAndOversizedFieldsStayInside)
{
    const ScaleFactorBandTable& bands = ScaleFactorBands[3];
    Layer3GranuleInfo g;
    g.table_select[0] = 0;
    g.table_select[1] = 4;
    g.table_select[2] = 14;
    g.region0_count = 15;
    g.region1_count = 7;  // boundary index 24, beyond the table
    g.big_values = 511;   // more pairs than the granule holds
    g.part2_3_length = 0;
    BitReservoir r;
    for (int i = 0; i < 100; ++i)
        r.PutByte(0xFF);
    int32_t is[576];
    const int limit = DecodeHuffmanValues(r, g, bands, 0, 800, is);
    EXPECT_EQ(limit, 576);
    EXPECT_EQ(r.BitsRead(), 0);
    for (int i = 0; i < 576; ++i)
        ASSERT_EQ(is[i], 0);

    // Big values with a real table beyond 288 pairs: the values past 576 are never stored, and
    // a part2_3_length beyond the data held stops at the data.
    g.table_select[0] = g.table_select[1] = g.table_select[2] = 15;
    g.part2_3_length = 4095;
    BitReservoir junk;
    std::mt19937 rng(5);
    for (int i = 0; i < 4096; ++i)
        junk.PutByte(rng() & 0xFF);
    DecodeHuffmanValues(junk, g, bands, 0, 1000, is);
    EXPECT_EQ(junk.BitsRead(), 1000);
}

TEST(Layer3BitReservoir, ReadsAcrossTheRingAndRewinds)
{
    BitReservoir r;
    for (int i = 0; i < 4096 + 10; ++i)
        r.PutByte(static_cast<uint32_t>(i * 7));
    // Bytes 0..9 were overwritten by bytes 4096..4105.
    r.SkipBits(8 * 4094);
    EXPECT_EQ(r.ReadBits(8), (4094u * 7) & 0xFF);
    EXPECT_EQ(r.ReadBits(16), (((4095u * 7) & 0xFF) << 8) | ((4096u * 7) & 0xFF));
    EXPECT_EQ(r.ReadBits(3), ((4097u * 7) & 0xFF) >> 5);
    r.RewindBits(3);
    EXPECT_EQ(r.ReadBits(32),
              (((4097u * 7) & 0xFF) << 24) | (((4098u * 7) & 0xFF) << 16) | (((4099u * 7) & 0xFF) << 8)
                  | ((4100u * 7) & 0xFF));
    r.RewindBytes(4);
    EXPECT_EQ(r.ReadBit(), ((4097u * 7) & 0xFF) >> 7);
    EXPECT_EQ(r.BitsRead(), 8 * 4097 + 1);
    EXPECT_EQ(r.BytesWritten(), 4106);
}

TEST(Layer3BitReservoir, BytesInBlocksReadAsBytesOneByOne)
{
    // Blocks of uneven sizes that wrap the ring several times, some ending within the bytes
    // that are mirrored after its end: every peek sees what byte-by-byte appending gives.
    BitReservoir byByte, byBlock;
    std::vector<uint8_t> block;
    uint32_t value = 1;
    for (int size : {5, 700, 3391, 2, 4093, 9, 1200, 4096, 3}) {
        block.clear();
        for (int i = 0; i < size; ++i) {
            value = value * 1103515245u + 12345u;
            block.push_back(static_cast<uint8_t>(value >> 16));
            byByte.PutByte(block.back());
        }
        byBlock.PutBytes(block.data(), size);
        ASSERT_EQ(byBlock.BytesWritten(), byByte.BytesWritten());
        const int64_t end = byByte.BytesWritten() * 8;
        for (int64_t at = std::max<int64_t>(0, end - 8 * 4096); at + 64 <= end; at += 7)
            ASSERT_EQ(byBlock.PeekAt(at), byByte.PeekAt(at)) << size << " " << at;
    }
}
