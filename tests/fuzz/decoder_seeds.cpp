// Writes a small seed corpus of generated MPEG audio frames (Layers I to III, MPEG-1 and the
// lower sampling frequencies, with and without checksum, silent and noisy bodies) into argv[1].
// The first byte of each seed holds the fuzz target's flags.
#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

struct Frame {
  int version;   // 1 MPEG-1, 0 lower sampling frequencies
  int layer;     // 1 to 3
  bool crc;
  int bitrateIndex;
  int rateIndex;
  int mode;      // 0 stereo .. 3 single channel
};

const int kRates[2][3] = {{22050, 24000, 16000}, {44100, 48000, 32000}};
// By version, then Layer I, II, III.
const int kBitrates[2][3][16] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}}};

uint16_t Crc(uint16_t reg, uint32_t value, int bits) {
  for (int i = bits - 1; i >= 0; --i) {
    const bool bit = (value >> i) & 1;
    const bool top = (reg >> 15) & 1;
    reg = static_cast<uint16_t>(reg << 1);
    if (top != bit) reg ^= 0x8005;
  }
  return reg;
}

// One frame with a body of zeros (no allocations: silence) or of random bytes.
std::vector<uint8_t> MakeFrame(const Frame& f, bool noisy, std::mt19937& rng) {
  const int rate = kRates[f.version][f.rateIndex];
  const int kbit = kBitrates[f.version][f.layer - 1][f.bitrateIndex];
  int bytes = f.layer == 1 ? 12 * kbit * 1000 / rate * 4 : 144 * kbit * 1000 / rate;
  if (f.layer != 1 && f.version == 0) bytes /= 2;
  const uint32_t h = 0xFFE00000u | static_cast<uint32_t>(f.version) << 19 |
                     static_cast<uint32_t>(4 - f.layer) << 17 | (f.crc ? 0u : 1u) << 16 |
                     static_cast<uint32_t>(f.bitrateIndex) << 12 |
                     static_cast<uint32_t>(f.rateIndex) << 10 | static_cast<uint32_t>(f.mode) << 6;
  std::vector<uint8_t> out(static_cast<std::size_t>(bytes), 0);
  for (int i = 0; i < 4; ++i) out[static_cast<std::size_t>(i)] = static_cast<uint8_t>(h >> (24 - 8 * i));
  const std::size_t body = f.crc ? 6 : 4;
  if (noisy)
    for (std::size_t i = body; i < out.size(); ++i) out[i] = static_cast<uint8_t>(rng());
  if (f.crc) {
    // Over the last 16 header bits and the zero allocation fields that follow (a silent body).
    uint16_t reg = Crc(0xFFFF, h & 0xFFFF, 16);
    const int channels = f.mode == 3 ? 1 : 2;
    const int allocBits = f.layer == 1 ? 32 * 4 * channels : 0;  // Layer II: few enough to skip
    for (int i = 0; i < allocBits; ++i) reg = Crc(reg, 0, 1);
    out[4] = static_cast<uint8_t>(reg >> 8);
    out[5] = static_cast<uint8_t>(reg);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  std::mt19937 rng(1234);
  const Frame kinds[] = {
      {1, 2, false, 10, 0, 0}, {1, 2, true, 10, 1, 1},  {1, 2, false, 4, 2, 3},
      {0, 2, false, 8, 0, 0},  {0, 2, false, 6, 1, 3},  {1, 1, false, 12, 1, 0},
      {1, 1, true, 8, 0, 3},   {0, 1, false, 8, 2, 2},  {1, 3, false, 9, 0, 1},
      {1, 3, true, 5, 1, 3},   {0, 3, false, 8, 0, 0},
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
  return 0;
}
