// Writes a small seed corpus of generated MPEG audio frames (Layers I, II and III, MPEG-1 and the
// lower sampling frequencies, with and without checksum, silent and noisy bodies) into argv[1].
// The first byte of each seed holds the fuzz target's flags.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

struct Frame {
    int version;  // 1 MPEG-1, 0 lower sampling frequencies
    int layer;    // 1 or 2
    bool crc;
    int bitrateIndex;
    int rateIndex;
    int mode;  // 0 stereo .. 3 single channel
};

const int kRates[2][3] = {{22050, 24000, 16000}, {44100, 48000, 32000}};
const int kBitrates[2][2][16] = {{{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
                                  {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
                                 {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
                                  {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0}}};

uint16_t Crc(uint16_t reg, uint32_t value, int bits)
{
    for (int i = bits - 1; i >= 0; --i) {
        const bool bit = (value >> i) & 1;
        const bool top = (reg >> 15) & 1;
        reg = static_cast<uint16_t>(reg << 1);
        if (top != bit)
            reg ^= 0x8005;
    }
    return reg;
}

// Bits of the allocation fields of a frame (the part of a silent body that the checksum covers):
// per subband up to the subband limit, two fields below the joint-stereo bound, one from it on.
int AllocationBits(const Frame& f)
{
    const int channels = f.mode == 3 ? 1 : 2;
    int limit = 32;
    int table = 0;  // Layer I: 4 bits in every subband
    if (f.layer == 2) {
        const int perChannel = kBitrates[f.version][1][f.bitrateIndex] / channels;
        if (f.version == 0) {
            limit = 30;
            table = 1;
        } else if (perChannel <= 48) {
            limit = f.rateIndex == 2 ? 12 : 8;
            table = 2;
        } else {
            limit = perChannel <= 80 || f.rateIndex == 1 ? 27 : 30;
            table = 3;
        }
    }
    const int bound = f.mode == 1 ? 4 : limit;  // joint stereo with mode extension 0
    int bits = 0;
    for (int sb = 0; sb < limit; ++sb) {
        const int width = table == 1 ? (sb <= 3        ? 4
                                            : sb <= 10 ? 3
                                                       : 2)
            : table == 2             ? (sb <= 1 ? 4 : 3)
            : table == 3             ? (sb <= 10       ? 4
                                            : sb <= 22 ? 3
                                                       : 2)
                                     : 4;
        bits += width * (sb < bound ? channels : 1);
    }
    return bits;
}

// One frame with a body of zeros (no allocations: silence) or of random bytes.
std::vector<uint8_t> MakeFrame(const Frame& f, bool noisy, std::mt19937& rng)
{
    const int rate = kRates[f.version][f.rateIndex];
    const int kbit = kBitrates[f.version][f.layer == 1 ? 0 : 1][f.bitrateIndex];
    // Layers I and II keep their samples per frame at the lower sampling frequencies, so the
    // frame size follows the same formula as at MPEG-1 rates.
    const int bytes = f.layer == 1 ? 12 * kbit * 1000 / rate * 4 : 144 * kbit * 1000 / rate;
    const uint32_t h = 0xFFF00000u | static_cast<uint32_t>(f.version) << 19 | static_cast<uint32_t>(4 - f.layer) << 17
        | (f.crc ? 0u : 1u) << 16 | static_cast<uint32_t>(f.bitrateIndex) << 12
        | static_cast<uint32_t>(f.rateIndex) << 10 | static_cast<uint32_t>(f.mode) << 6;
    std::vector<uint8_t> out(static_cast<std::size_t>(bytes), 0);
    for (int i = 0; i < 4; ++i)
        out[static_cast<std::size_t>(i)] = static_cast<uint8_t>(h >> (24 - 8 * i));
    const std::size_t body = f.crc ? 6 : 4;
    if (noisy)
        for (std::size_t i = body; i < out.size(); ++i)
            out[i] = static_cast<uint8_t>(rng());
    if (f.crc) {
        // Over the last 16 header bits and the zero allocation fields that follow (a silent body).
        uint16_t reg = Crc(0xFFFF, h & 0xFFFF, 16);
        for (int i = AllocationBits(f); i > 0; --i)
            reg = Crc(reg, 0, 1);
        out[4] = static_cast<uint8_t>(reg >> 8);
        out[5] = static_cast<uint8_t>(reg);
    }
    return out;
}

// Layer III: side information with plausible fields (block types, table selections, region
// counts, part2_3_length matching the main data) and random main data, so that the fuzzer starts
// from frames whose scale factors and Huffman codes are actually decoded.
struct BitPacker {
    std::vector<uint8_t>& out;
    std::size_t bit;
    void Put(uint32_t value, int n)
    {
        for (int i = n - 1; i >= 0; --i, ++bit)
            if ((value >> i) & 1)
                out[bit / 8] |= static_cast<uint8_t>(0x80 >> (bit % 8));
    }
};

std::vector<uint8_t> MakeLayer3Frame(int version, int rateIndex, int mode, int bitrateIndex, int mainDataBegin,
                                     std::mt19937& rng)
{
    static const int kL3Kbit[2][16] = {{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
                                       {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}};
    const int rate = kRates[version][rateIndex];
    int bytes = 144 * kL3Kbit[version][bitrateIndex] * 1000 / rate;
    if (version == 0)
        bytes /= 2;
    const int channels = mode == 3 ? 1 : 2;
    const int sideBytes = version == 1 ? (channels == 1 ? 17 : 32) : (channels == 1 ? 9 : 17);
    const uint32_t h = 0xFFF00000u | static_cast<uint32_t>(version) << 19 | 1u << 17 | 1u << 16
        | static_cast<uint32_t>(bitrateIndex) << 12 | static_cast<uint32_t>(rateIndex) << 10
        | static_cast<uint32_t>(mode) << 6 | (mode == 1 ? static_cast<uint32_t>(rng() % 4) << 4 : 0u);
    std::vector<uint8_t> out(static_cast<std::size_t>(bytes), 0);
    for (int i = 0; i < 4; ++i)
        out[static_cast<std::size_t>(i)] = static_cast<uint8_t>(h >> (24 - 8 * i));
    const int mainBytes = bytes - 4 - sideBytes;
    for (std::size_t i = static_cast<std::size_t>(4 + sideBytes); i < out.size(); ++i)
        out[i] = static_cast<uint8_t>(rng());
    BitPacker p{out, 32};
    const int granules = version == 1 ? 2 : 1;
    const int share = mainBytes * 8 / (granules * channels);
    p.Put(static_cast<uint32_t>(mainDataBegin), version == 1 ? 9 : 8);
    p.Put(0, version == 1 ? (channels == 1 ? 5 : 3) : (channels == 1 ? 1 : 2));
    if (version == 1)
        for (int ch = 0; ch < channels; ++ch)
            p.Put(rng() % 16, 4);
    for (int gr = 0; gr < granules; ++gr)
        for (int ch = 0; ch < channels; ++ch) {
            p.Put(static_cast<uint32_t>(std::min(share, 4095)), 12);
            p.Put(rng() % 200, 9);
            p.Put(120 + rng() % 60, 8);
            p.Put(rng() % (version == 1 ? 16 : 512), version == 1 ? 4 : 9);
            const bool switching = rng() % 2;
            p.Put(switching, 1);
            if (switching) {
                p.Put(1 + rng() % 3, 2);
                p.Put(rng() % 2, 1);
                for (int r = 0; r < 2; ++r)
                    p.Put(rng() % 32, 5);
                for (int w = 0; w < 3; ++w)
                    p.Put(rng() % 8, 3);
            } else {
                for (int r = 0; r < 3; ++r)
                    p.Put(rng() % 32, 5);
                p.Put(rng() % 16, 4);
                p.Put(rng() % 8, 3);
            }
            p.Put(rng() % 8, version == 1 ? 3 : 2);
        }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    std::mt19937 rng(1234);
    const Frame kinds[] = {
        {1, 2, false, 10, 0, 0}, {1, 2, true, 10, 1, 1},  {1, 2, false, 4, 2, 3}, {0, 2, false, 8, 0, 0},
        {0, 2, false, 6, 1, 3},  {1, 1, false, 12, 1, 0}, {1, 1, true, 8, 0, 3},  {0, 1, false, 8, 2, 2},
    };
    int n = 0;
    for (const Frame& f : kinds) {
        for (bool noisy : {false, true}) {
            std::vector<uint8_t> seed{static_cast<uint8_t>(n % 32)};
            for (int i = 0; i < 6; ++i) {
                auto frame = MakeFrame(f, noisy, rng);
                seed.insert(seed.end(), frame.begin(), frame.end());
            }
            std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(n++), std::ios::binary)
                .write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
        }
    }
    // Layer III: MPEG-1 44.1/48/32 kHz and the lower sampling frequencies, all channel modes;
    // the first frame's main data starts in the frame, later ones reach back into the reservoir.
    const int kLayer3[][4] = {{1, 0, 1, 9}, {1, 1, 0, 11}, {1, 2, 3, 5}, {0, 0, 1, 8}, {0, 1, 3, 4}, {0, 2, 2, 12}};
    for (const auto& k : kLayer3) {
        std::vector<uint8_t> seed{static_cast<uint8_t>(n % 32)};
        for (int i = 0; i < 8; ++i) {
            auto frame = MakeLayer3Frame(k[0], k[1], k[2], k[3], i == 0 ? 0 : static_cast<int>(rng() % 200), rng);
            seed.insert(seed.end(), frame.begin(), frame.end());
        }
        std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(n++), std::ios::binary)
            .write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
    }
    // Streams as encoders write them: an ID3v2 tag with a UTF-16 byte-order mark in front, a
    // Xing, Info or VBRI frame first (frame count, byte count, table of contents), an ID3v1 or
    // APE tag at the end; and MPEG 2.5 frames, which are refused.
    for (int kind = 0; kind < 4; ++kind) {
        std::vector<uint8_t> seed{static_cast<uint8_t>((n % 32) & ~1)};
        const std::vector<uint8_t> tag = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 12,   'T',
                                          'I', 'T', '2', 0, 0, 0, 2, 0, 0, 0xFF, 0xFE};
        seed.insert(seed.end(), tag.begin(), tag.end());
        auto info = MakeLayer3Frame(1, 0, 1, 9, 0, rng);
        std::fill(info.begin() + 4, info.end(), 0);
        constexpr size_t at = 36;  // after the side information of an MPEG-1 joint stereo frame
        const char* name = kind == 0 ? "Xing" : kind == 1 ? "Info" : kind == 2 ? "VBRI" : "Xing";
        std::copy(name, name + 4, info.begin() + static_cast<std::ptrdiff_t>(at));
        if (kind == 2) {
            const uint8_t vbri[] = {0, 1, 0, 0, 0, 50, 0, 0, 0x10, 0, 0, 0, 0, 8, 0, 4, 0, 1, 0, 2, 0, 2};
            std::copy(std::begin(vbri), std::end(vbri), info.begin() + 40);
            for (int e = 0; e < 4; ++e)
                info[62 + 2 * e + 1] = 0x80;
        } else {
            const uint8_t head[] = {0, 0, 0, 15, 0, 0, 0, 8, 0, 0, 0x10, 0};
            std::copy(std::begin(head), std::end(head), info.begin() + 40);
            for (int t = 0; t < 100; ++t)
                info[52 + static_cast<size_t>(t)] = static_cast<uint8_t>(t * 255 / 100);
        }
        seed.insert(seed.end(), info.begin(), info.end());
        for (int i = 0; i < 8; ++i) {
            auto frame = MakeLayer3Frame(1, 0, 1, 9, i == 0 ? 0 : static_cast<int>(rng() % 200), rng);
            seed.insert(seed.end(), frame.begin(), frame.end());
        }
        if (kind == 3) {
            std::vector<uint8_t> ape = {'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X', 0xD0, 0x07, 0, 0, 32, 0, 0, 0};
            ape.resize(32, 0);  // no items, no flags: the footer alone
            seed.insert(seed.end(), ape.begin(), ape.end());
        }
        std::vector<uint8_t> v1(128, 0xFF);  // an ID3v1 tag full of sync words
        v1[0] = 'T';
        v1[1] = 'A';
        v1[2] = 'G';
        seed.insert(seed.end(), v1.begin(), v1.end());
        std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(n++), std::ios::binary)
            .write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
    }
    {
        std::vector<uint8_t> seed{static_cast<uint8_t>(n % 32)};
        for (int i = 0; i < 6; ++i) {
            auto frame = MakeLayer3Frame(0, 2, 3, 2, 0, rng);  // then marked MPEG 2.5
            frame[1] &= 0xE7;
            seed.insert(seed.end(), frame.begin(), frame.end());
        }
        std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(n++), std::ios::binary)
            .write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
    }
    return 0;
}
