// Side information of a Layer III frame (MPEG-1: two granules; lower sampling frequencies: one).
#pragma once

#include <cstdint>

namespace sonarel {

struct Layer3GranuleInfo {
    int32_t part2_3_length = 0;
    int32_t big_values = 0;
    int32_t global_gain = 0;
    int32_t scalefac_compress = 0;
    int32_t window_switching_flag = 0;
    int32_t block_type = 0;
    int32_t mixed_block_flag = 0;
    int32_t table_select[3] = {0, 0, 0};
    int32_t subblock_gain[3] = {0, 0, 0};
    int32_t region0_count = 0;
    int32_t region1_count = 0;
    int32_t preflag = 0;
    int32_t scalefac_scale = 0;
    int32_t count1table_select = 0;

    // Short blocks: window switching with block type 2.
    bool ShortBlocks() const { return window_switching_flag != 0 && block_type == 2; }
    bool Mixed() const { return ShortBlocks() && mixed_block_flag != 0; }
};

struct Layer3ChannelInfo {
    int32_t scfsi[4] = {0, 0, 0, 0};
    Layer3GranuleInfo gr[2];
};

// The record persists from frame to frame: fields a frame does not read keep earlier values.
struct Layer3SideInfo {
    int32_t main_data_begin = 0;
    int32_t private_bits = 0;
    Layer3ChannelInfo ch[2];
};

// Reads the side information with Read(n) (n <= 16 bits each). Version 1 is MPEG-1, 0 the lower
// sampling frequencies. Returns false when a window-switching granule has block type 0: the
// reading stops there and the fields not read keep their values.
template <class ReadBitsFn> bool ReadLayer3SideInfo(Layer3SideInfo& si, ReadBitsFn&& read, int version, int channels)
{
    const bool mpeg1 = version == 1;
    si.main_data_begin = static_cast<int32_t>(read(mpeg1 ? 9 : 8));
    if (mpeg1)
        si.private_bits = static_cast<int32_t>(read(channels == 1 ? 5 : 3));
    else
        si.private_bits = static_cast<int32_t>(read(channels == 1 ? 1 : 2));
    if (mpeg1)
        for (int ch = 0; ch < channels; ++ch)
            for (int band = 0; band < 4; ++band)
                si.ch[ch].scfsi[band] = static_cast<int32_t>(read(1));
    const int granules = mpeg1 ? 2 : 1;
    for (int gr = 0; gr < granules; ++gr)
        for (int ch = 0; ch < channels; ++ch) {
            Layer3GranuleInfo& g = si.ch[ch].gr[gr];
            g.part2_3_length = static_cast<int32_t>(read(12));
            g.big_values = static_cast<int32_t>(read(9));
            g.global_gain = static_cast<int32_t>(read(8));
            g.scalefac_compress = static_cast<int32_t>(read(mpeg1 ? 4 : 9));
            g.window_switching_flag = static_cast<int32_t>(read(1));
            if (g.window_switching_flag) {
                g.block_type = static_cast<int32_t>(read(2));
                g.mixed_block_flag = static_cast<int32_t>(read(1));
                g.table_select[0] = static_cast<int32_t>(read(5));
                g.table_select[1] = static_cast<int32_t>(read(5));
                for (int w = 0; w < 3; ++w)
                    g.subblock_gain[w] = static_cast<int32_t>(read(3));
                if (g.block_type == 0)
                    return false;
                g.region0_count = (g.block_type == 2 && !g.mixed_block_flag) ? 8 : 7;
                g.region1_count = 20 - g.region0_count;
            } else {
                for (int r = 0; r < 3; ++r)
                    g.table_select[r] = static_cast<int32_t>(read(5));
                g.region0_count = static_cast<int32_t>(read(4));
                g.region1_count = static_cast<int32_t>(read(3));
                g.block_type = 0;
            }
            if (mpeg1)
                g.preflag = static_cast<int32_t>(read(1));
            g.scalefac_scale = static_cast<int32_t>(read(1));
            g.count1table_select = static_cast<int32_t>(read(1));
        }
    return true;
}

}  // namespace sonarel
