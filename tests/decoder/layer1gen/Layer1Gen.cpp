// Writes a legal MPEG Layer I stream of random content for the decoder tests:
//   layer1gen OUT VERSION RATE_INDEX BITRATE_INDEX MODE PROTECT FRAMES SEED [PADDING]
#include "Layer1Writer.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

int main(int argc, char** argv)
{
    if (argc < 9) {
        std::fprintf(stderr,
                     "usage: layer1gen OUT VERSION RATE_INDEX BITRATE_INDEX MODE PROTECT FRAMES SEED "
                     "[PADDING]\n");
        return 2;
    }
    layer1gen::Layer1Options o;
    o.version = std::atoi(argv[2]) != 0 ? 1 : 0;
    o.sampleRateIndex = std::atoi(argv[3]) % 3;
    o.bitrateIndex = std::atoi(argv[4]);
    o.mode = std::atoi(argv[5]) & 3;
    o.protect = std::atoi(argv[6]) != 0;
    const int frames = std::atoi(argv[7]);
    std::mt19937 rng(static_cast<uint32_t>(std::strtoul(argv[8], nullptr, 10)));
    o.randomPadding = argc > 9 && std::atoi(argv[9]) != 0;
    if (o.bitrateIndex < 1 || o.bitrateIndex > 14 || frames < 1) {
        std::fprintf(stderr, "layer1gen: bad arguments\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    for (int i = 0; i < frames; ++i) {
        const std::vector<uint8_t> frame = layer1gen::MakeLayer1Frame(o, rng);
        out.write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
    }
    return out ? 0 : 1;
}
