// Seeds for the Layer I/II fuzz target: short generated Layer I streams (MPEG-1 and the lower
// sampling frequencies, every channel mode, with and without checksum).
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "tests/decoder/layer1gen/Layer1Writer.h"

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::mt19937 rng(99);
    int n = 0;
    for (int version = 0; version < 2; ++version) {
        for (int mode = 0; mode < 4; ++mode) {
            layer1gen::Layer1Options o;
            o.version = version;
            o.sampleRateIndex = mode % 3;
            o.bitrateIndex = 4 + 3 * mode;
            o.mode = mode;
            o.protect = mode % 2 == 0;
            o.randomPadding = true;
            std::ofstream out(std::string(argv[1]) + "/layer1-" + std::to_string(n++), std::ios::binary);
            for (int i = 0; i < 4; ++i) {
                const auto frame = layer1gen::MakeLayer1Frame(o, rng);
                out.write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
            }
        }
    }
    return 0;
}
