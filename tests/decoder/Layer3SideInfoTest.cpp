// Side information of MPEG-1 and of the lower sampling frequencies.
#include <gtest/gtest.h>

#include "Layer3TestSupport.h"
#include "decoder/Layer3SideInfo.h"

using namespace sonarel;
using l3test::BitWriter;

namespace {

struct Reader {
    const BitWriter& w;
    int64_t pos = 0;
    uint32_t operator()(int n)
    {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i, ++pos)
            v = (v << 1) | ((w.Bytes[static_cast<size_t>(pos / 8)] >> (7 - pos % 8)) & 1);
        return v;
    }
};

void PutLongGranule(BitWriter& w, bool mpeg1, int gain)
{
    w.Put(1000, 12);  // part2_3_length
    w.Put(100, 9);    // big_values
    w.Put(static_cast<uint32_t>(gain), 8);
    w.Put(mpeg1 ? 9 : 300, mpeg1 ? 4 : 9);
    w.Put(0, 1);  // no window switching
    w.Put(1, 5), w.Put(2, 5), w.Put(3, 5);
    w.Put(11, 4), w.Put(5, 3);  // region counts
    if (mpeg1)
        w.Put(1, 1);           // preflag
    w.Put(1, 1), w.Put(0, 1);  // scalefac_scale, count1table_select
}

}  // namespace

TEST(Layer3SideInfo, Mpeg1StereoWithShortAndLongGranules)
{
    BitWriter w;
    w.Put(300, 9);  // main_data_begin
    w.Put(0, 3);    // private bits
    w.Put(0b1010, 4), w.Put(0b0101, 4);
    PutLongGranule(w, true, 150);
    // Granule 0, channel 1: short blocks, not mixed.
    w.Put(500, 12), w.Put(50, 9), w.Put(140, 8), w.Put(4, 4), w.Put(1, 1);
    w.Put(2, 2), w.Put(0, 1), w.Put(7, 5), w.Put(8, 5), w.Put(1, 3), w.Put(2, 3), w.Put(3, 3);
    w.Put(0, 1), w.Put(0, 1), w.Put(1, 1);
    PutLongGranule(w, true, 151);
    PutLongGranule(w, true, 152);
    EXPECT_EQ(w.Bits, 32 * 8);  // 32 bytes of side information for two channels
    Layer3SideInfo si;
    Reader r{w};
    EXPECT_TRUE(ReadLayer3SideInfo(si, r, 1, 2));
    EXPECT_EQ(r.pos, w.Bits);
    EXPECT_EQ(si.main_data_begin, 300);
    EXPECT_EQ(si.ch[0].scfsi[0], 1);
    EXPECT_EQ(si.ch[1].scfsi[3], 1);
    const Layer3GranuleInfo& l = si.ch[0].gr[0];
    EXPECT_EQ(l.part2_3_length, 1000);
    EXPECT_EQ(l.region0_count, 11);
    EXPECT_EQ(l.region1_count, 5);
    EXPECT_EQ(l.table_select[2], 3);
    EXPECT_EQ(l.preflag, 1);
    EXPECT_EQ(l.block_type, 0);
    const Layer3GranuleInfo& s = si.ch[1].gr[0];
    EXPECT_TRUE(s.ShortBlocks());
    EXPECT_EQ(s.region0_count, 8);  // short, not mixed
    EXPECT_EQ(s.region1_count, 12);
    EXPECT_EQ(s.subblock_gain[2], 3);
    EXPECT_EQ(s.count1table_select, 1);
    EXPECT_EQ(si.ch[1].gr[1].global_gain, 152);
}

TEST(Layer3SideInfo, LowerFrequencyMonoAndBlockTypeZeroStopsReading)
{
    BitWriter w;
    w.Put(200, 8);  // main_data_begin
    w.Put(1, 1);    // private bit
    PutLongGranule(w, false, 99);
    EXPECT_EQ(w.Bits, 9 * 8);
    Layer3SideInfo si;
    si.ch[0].gr[0].preflag = 1;  // set by the scale factors at these rates, never read here
    Reader r{w};
    EXPECT_TRUE(ReadLayer3SideInfo(si, r, 0, 1));
    EXPECT_EQ(r.pos, w.Bits);
    EXPECT_EQ(si.main_data_begin, 200);
    EXPECT_EQ(si.ch[0].gr[0].scalefac_compress, 300);
    EXPECT_EQ(si.ch[0].gr[0].preflag, 1);

    // Window switching with block type 0: reading stops after the subblock gains.
    BitWriter bad;
    bad.Put(0, 8), bad.Put(0, 1);
    bad.Put(10, 12), bad.Put(20, 9), bad.Put(30, 8), bad.Put(40, 9), bad.Put(1, 1);
    bad.Put(0, 2), bad.Put(1, 1), bad.Put(5, 5), bad.Put(6, 5), bad.Put(7, 3), bad.Put(7, 3), bad.Put(7, 3);
    bad.Put(0xFF, 8);
    Reader rb{bad};
    EXPECT_FALSE(ReadLayer3SideInfo(si, rb, 0, 1));
    EXPECT_EQ(rb.pos, bad.Bits - 8);
    EXPECT_EQ(si.ch[0].gr[0].region0_count, 11);  // kept from the frame before
    EXPECT_EQ(si.ch[0].gr[0].scalefac_scale, 1);
    EXPECT_FALSE(si.ch[0].gr[0].ShortBlocks());
}
